#include "services/system_report.h"

#include <array>
#include <cstdio>
#include <limits>

namespace qv {
namespace {

constexpr std::wstring_view kNewLine = L"\r\n";

std::wstring Num(std::int64_t value) {
    return std::to_wstring(value);
}

// Unsigned decimal with leading zeros up to `minDigits`.
std::wstring Padded(std::uint32_t value, int minDigits) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%0*u", minDigits, static_cast<unsigned>(value));
    return buffer;
}

bool HasSuite(const OsVersionRecord& v, unsigned bit) {
    return (static_cast<std::uint16_t>(v.suiteMask) & bit) != 0;
}

struct SuiteLine {
    unsigned bit;
    const wchar_t* text;
};

// In the order they are written.
constexpr std::array<SuiteLine, 6> kSuiteLines{{
    {0x0001, L"    at Least Once Installed Microsoft Small Business Server"},
    {0x0020, L"    Installed Small Business Server Restricted Client License"},
    {0x0004, L"    Microsoft BackOffice components are installed"},
    {0x0010, L"    Installed Terminal Service"},
    {0x0100, L"    Only one Session Remote Desktop is supported"},
    {0x1000, L"    Hardened OS as part of a security appliance"},
}};

std::wstring SuiteLines(const OsVersionRecord& v) {
    std::wstring text;
    for (const SuiteLine& line : kSuiteLines) {
        if (!HasSuite(v, line.bit)) {
            continue;
        }
        text += line.text;
        text += kNewLine;
        if (line.bit == 0x0010 && !HasSuite(v, 0x0100)) {
            text += L"    The System is Running in Application server mode";
            text += kNewLine;
        }
    }
    return text;
}

std::wstring VersionNumbers(const OsVersionRecord& v, const std::wstring& servicePack) {
    return L"OSInfo:" + Num(v.major) + L"-" + Num(v.minor) + L"-" + Num(v.build) + L"-" +
           Num(v.platform) + L"-" + servicePack;
}

std::wstring OlderFamilyDescription(const OsVersionRecord& v, SystemQuery& query) {
    std::wstring text = VersionNumbers(v, TrimmedServicePack(v));
    text += kNewLine;
    text += OlderFamilyProductName(v);
    text += kNewLine;
    text += L"  Build " + Num(v.build);
    text += kNewLine;
    return text + GetProcessorDescription(kOlderProcessorMode, query);
}

std::wstring NtFamilyDescription(const OsVersionRecord& v, SystemQuery& query) {
    std::wstring text = VersionNumbers(v, TrimmedServicePack(v)) + L"-" + Num(v.servicePackMajor) +
                        L"-" + Num(v.servicePackMinor) + L"-" + Num(v.suiteMask) + L"-" +
                        Num(v.productType) + L"-" + Num(v.reserved);
    text += kNewLine;
    text += NtFamilyProductName(v);
    text += kNewLine;
    text += L"  Build " + Num(v.build) + L"  ServicePack " + Num(v.servicePackMajor) + L"." +
            Num(v.servicePackMinor);
    text += kNewLine;
    text += SuiteLines(v);
    return text + GetProcessorDescription(kNtProcessorMode, query);
}

std::wstring LevelName(std::int16_t level,
                       std::initializer_list<std::pair<int, const wchar_t*>> names,
                       const wchar_t* family, std::int16_t revision) {
    for (const auto& [value, name] : names) {
        if (level == value) {
            return name;
        }
    }
    return std::wstring(L"  Processor: ") + family + L" Family CPU  " + Num(level) + L" - " +
           Num(revision);
}

std::wstring IntelLine(const ProcessorRecord& p) {
    std::wstring text;
    switch (p.level) {
    case 0:
        text = L"  Processor: Intel x86";
        break;
    case 3:
        text = L"  Processor: Intel 80386";
        break;
    case 4:
        text = L"  Processor: Intel i486";
        break;
    case 5:
        text = L"  Processor: Intel Pentium";
        break;
    case 6:
        text = L"  Processor: Intel Itanium/PentiumPro/2/3/4/M/D/Celeron/M/D";
        break;
    case 9:
        text = L"  Processor: x64 (AMD Or Intel)";
        break;
    case 10:
        text = L"  Processor: WOW64";
        break;
    default:
        text = L"  Processor: Intel Family CPU";
        break;
    }
    const auto revision = static_cast<std::uint16_t>(p.revision);
    text += kNewLine;
    text += L"    Model: " + Num(revision >> 8) + L"  Stepping " + Num(revision & 0xFF);
    return text;
}

std::wstring NtProcessorLine(const ProcessorRecord& p) {
    switch (p.architecture) {
    case 0:
        return IntelLine(p);
    case 1:
        return LevelName(p.level, {{4, L"  Processor: Mips R4000"}}, L"Mips", p.revision);
    case 2:
        return LevelName(p.level,
                         {{21064, L"  Processor: Alpha 21064"},
                          {21066, L"  Processor: Alpha 21066"},
                          {21164, L"  Processor: Alpha 21164"}},
                         L"Alpha", p.revision);
    case 3:
        return LevelName(p.level,
                         {{1, L"  Processor: PowerPC 601"},
                          {3, L"  Processor: PowerPC 603"},
                          {4, L"  Processor: PowerPC 604"},
                          {6, L"  Processor: PowerPC 603+"},
                          {9, L"  Processor: PowerPC 604+"},
                          {20, L"  Processor: PowerPC 620"}},
                         L"PowerPC", p.revision);
    case 4:
        return L"  Processor: HITACHI SH3/3E/4";
    case 5:
        return L"  Processor: Arm720/829/920/Arm7TDMI";
    case 6:
        return L"  Processor: IA64 Family CPU";
    case 7:
        return L"  Processor: ALPHA64 Family CPU";
    case 8:
        return L"  Processor: MSIL Family CPU";
    default:
        return L"  Processor: Unkown    " + Num(p.architecture) + L" - " + Num(p.level) + L" - " +
               Num(p.revision);
    }
}

std::wstring OlderProcessorLine(const ProcessorRecord& p) {
    switch (p.processorType) {
    case 386:
        return L"  Processor: Intel x386 Family";
    case 486:
        return L"  Processor: Intel x486 Family";
    case 586:
        return L"  Processor: Intel Pentium Family";
    case 4000:
        return L"  Processor: Mips R4000/R4101/R3901";
    case 21064:
        return L"  Processor: Alpha 21064";
    default:
        return L"  Processor: Unknown    " + Num(p.processorType);
    }
}

} // namespace

std::int64_t VersionKey(const OsVersionRecord& v) {
    const std::wstring digits = Padded(static_cast<std::uint32_t>(v.platform), 1) +
                                Padded(static_cast<std::uint32_t>(v.major), 2) +
                                Padded(static_cast<std::uint32_t>(v.minor), 4);
    // Absurd version numbers give an absurd key, not an overflow.
    if (digits.size() > 18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return std::stoll(digits);
}

std::wstring TrimmedServicePack(const OsVersionRecord& v) {
    std::wstring text = v.servicePack.substr(0, v.servicePack.find(L'\0'));
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring OlderFamilyProductName(const OsVersionRecord& v) {
    const std::int64_t key = VersionKey(v);
    const std::wstring sp = TrimmedServicePack(v);
    const wchar_t first = sp.empty() ? L'\0' : sp[0];
    if (key < 1040000) {
        return L"Windows 3.1";
    }
    if (key == 1040000) {
        if (first == L'a') {
            return L"Windows 95 Sp1";
        }
        if (first == L'B') {
            return L"Windows 95 OSR2";
        }
        if (first == L'C') {
            return L"Windows 95 OSR2.5";
        }
        return L"Windows 95";
    }
    if (key == 1040010) {
        return first == L'A' ? L"Windows 98 SE" : L"Windows 98";
    }
    if (key == 1040090) {
        return L"Windows Millennium Edition";
    }
    if (key == 2030051) {
        return L"Windows NT 3.51";
    }
    if (key > 1040090) {
        return L"Windows Me Later";
    }
    return L"Windows Unknown";
}

std::wstring NtFamilyProductName(const OsVersionRecord& v) {
    const std::int64_t key = VersionKey(v);
    const bool workstation = v.productType == 1;
    switch (key) {
    case 2040000:
        return HasSuite(v, 0x0002) ? L"Windows NT 4.0 Enterprise Edition" : L"Windows NT 4.0";
    case 2050000:
        if (workstation) {
            return L"Windows 2000";
        }
        if (HasSuite(v, 0x0002)) {
            return L"Windows 2000 Advanced Server";
        }
        if (HasSuite(v, 0x0080)) {
            return L"Windows 2000 Datacenter Server";
        }
        return L"Windows 2000 Server";
    case 2050001:
        if (HasSuite(v, 0x0200)) {
            return L"Windows XP Home Edition";
        }
        if (HasSuite(v, 0x0040)) {
            return L"Windows XP Embedded";
        }
        return L"Windows XP Professional Edition";
    case 2050002:
        if (workstation) {
            return L"Windows XP Professional x64 Edition";
        }
        if (HasSuite(v, 0x0002)) {
            return L"Windows Server 2003 Enterprise Edition";
        }
        if (HasSuite(v, 0x0080)) {
            return L"Windows Server 2003 Datacenter Edition";
        }
        if (HasSuite(v, 0x0400)) {
            return L"Windows Server 2003 Web Edition";
        }
        if (HasSuite(v, 0x2000)) {
            return L"Windows Storage Server 2003 R2";
        }
        if (HasSuite(v, 0x4000)) {
            return L"Windows Server 2003 Compute Cluster Edition";
        }
        return L"Windows Server 2003";
    case 2060000:
        if (workstation) {
            return L"Windows Vista";
        }
        if (HasSuite(v, 0x0002)) {
            return L"Windows Server Longhorn Enterprise Edition";
        }
        if (HasSuite(v, 0x0080)) {
            return L"Windows Server Longhorn Datacenter Edition";
        }
        return L"Windows Server Longhorn";
    default:
        break;
    }
    if (key > 3000000) {
        return L"Windows CE";
    }
    if (key > 2060000) {
        return workstation ? L"Windows Vista Later" : L"Windows Server Longhorn Later";
    }
    return L"Windows Unknown";
}

std::wstring GetSystemDescription(SystemQuery& query) {
    const std::optional<OsVersionRecord> version = query.QueryVersion(false);
    if (!version) {
        return {};
    }
    if (VersionKey(*version) < 2040000) {
        return OlderFamilyDescription(*version, query);
    }
    const std::optional<OsVersionRecord> extended = query.QueryVersion(true);
    if (!extended) {
        return {};
    }
    return NtFamilyDescription(*extended, query);
}

std::wstring DescribeProcessor(std::int32_t mode, const ProcessorRecord& processor) {
    std::wstring text =
        mode == kNtProcessorMode ? NtProcessorLine(processor) : OlderProcessorLine(processor);
    text += kNewLine;
    text += L"    Processor数: " + Num(processor.numberOfProcessors);
    text += kNewLine;
    return text;
}

std::wstring GetProcessorDescription(std::int32_t mode, SystemQuery& query) {
    return DescribeProcessor(mode, query.QueryProcessor());
}

} // namespace qv
