#include "services/system_report.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using qv::OsVersionRecord;
using qv::ProcessorRecord;

class FakeQuery : public qv::SystemQuery {
  public:
    std::optional<OsVersionRecord> shortRecord;
    std::optional<OsVersionRecord> extendedRecord;
    ProcessorRecord processor;

    std::optional<OsVersionRecord> QueryVersion(bool extended) override {
        return extended ? extendedRecord : shortRecord;
    }
    ProcessorRecord QueryProcessor() override { return processor; }
};

OsVersionRecord Version(int platform, int major, int minor, std::wstring sp = L"", int suite = 0,
                        int productType = 0) {
    OsVersionRecord v;
    v.platform = platform;
    v.major = major;
    v.minor = minor;
    v.servicePack = std::move(sp);
    v.suiteMask = static_cast<std::int16_t>(suite);
    v.productType = static_cast<std::uint8_t>(productType);
    return v;
}

TEST(SystemDescription, WorkedExample) {
    FakeQuery q;
    OsVersionRecord v = Version(2, 5, 1, std::wstring(L"Service Pack 3\0junk", 19), 0x0100, 1);
    v.build = 2600;
    v.servicePackMajor = 3;
    q.shortRecord = v;
    v.servicePack = L"  Service Pack 3  ";
    q.extendedRecord = v;
    q.processor = {0, 1, 586, 6, 0x0F0B};
    EXPECT_EQ(qv::GetSystemDescription(q),
              L"OSInfo:5-1-2600-2-Service Pack 3-3-0-256-1-0\r\n"
              L"Windows XP Professional Edition\r\n"
              L"  Build 2600  ServicePack 3.0\r\n"
              L"    Only one Session Remote Desktop is supported\r\n"
              L"  Processor: Intel Itanium/PentiumPro/2/3/4/M/D/Celeron/M/D\r\n"
              L"    Model: 15  Stepping 11\r\n"
              L"    Processor数: 1\r\n");
}

TEST(SystemDescription, OlderFamilyUsesShortRecordAndTypeDecoding) {
    FakeQuery q;
    OsVersionRecord v = Version(1, 4, 10, L" A ");
    v.build = 0x040A08AE; // the high half carries version bytes on this family
    q.shortRecord = v;
    q.processor = {0, 2, 586, 5, 0};
    EXPECT_EQ(qv::GetSystemDescription(q), L"OSInfo:4-10-67766446-1-A\r\n"
                                           L"Windows 98 SE\r\n"
                                           L"  Build 67766446\r\n"
                                           L"  Processor: Intel Pentium Family\r\n"
                                           L"    Processor数: 2\r\n");
}

TEST(SystemDescription, EmptyServicePackKeepsSeparatorsAndNegativeSixteenBitFields) {
    FakeQuery q;
    q.shortRecord = q.extendedRecord = Version(2, 6, 2, L"", 0x8000 | 0x0010, 3);
    q.processor = {9, 4, 8664, 6, 0x5E03};
    EXPECT_EQ(qv::GetSystemDescription(q),
              L"OSInfo:6-2-0-2--0-0--32752-3-0\r\n"
              L"Windows Server Longhorn Later\r\n"
              L"  Build 0  ServicePack 0.0\r\n"
              L"    Installed Terminal Service\r\n"
              L"    The System is Running in Application server mode\r\n"
              L"  Processor: Unkown    9 - 6 - 24067\r\n"
              L"    Processor数: 4\r\n");
}

TEST(SystemDescription, NtFourUsesTheExtendedRecord) {
    FakeQuery q;
    OsVersionRecord v = Version(2, 4, 0, L"Service Pack 6", 0x0004, 1);
    v.build = 1381;
    v.servicePackMajor = 6;
    q.shortRecord = q.extendedRecord = v;
    q.processor = {0, 1, 586, 6, 0x0F0B};
    EXPECT_EQ(qv::GetSystemDescription(q),
              L"OSInfo:4-0-1381-2-Service Pack 6-6-0-4-1-0\r\n"
              L"Windows NT 4.0\r\n"
              L"  Build 1381  ServicePack 6.0\r\n"
              L"    Microsoft BackOffice components are installed\r\n"
              L"  Processor: Intel Itanium/PentiumPro/2/3/4/M/D/Celeron/M/D\r\n"
              L"    Model: 15  Stepping 11\r\n"
              L"    Processor数: 1\r\n");
}

TEST(SystemDescription, FailedQueriesGiveEmptyText) {
    FakeQuery q;
    EXPECT_EQ(qv::GetSystemDescription(q), L"");
    q.shortRecord = Version(2, 5, 1); // NT family, but the extended query fails
    EXPECT_EQ(qv::GetSystemDescription(q), L"");
}

TEST(VersionKey, DigitsArePadded) {
    EXPECT_EQ(qv::VersionKey(Version(2, 5, 1)), 2050001);
    EXPECT_EQ(qv::VersionKey(Version(1, 4, 10)), 1040010);
    EXPECT_EQ(qv::VersionKey(Version(2, 10, 0)), 2100000);
    EXPECT_EQ(qv::VersionKey(Version(0, 3, 10)), 30010);
}

struct NameCase {
    OsVersionRecord version;
    const wchar_t* name;
};

class OlderFamilyNames : public ::testing::TestWithParam<NameCase> {};
TEST_P(OlderFamilyNames, Table) {
    EXPECT_EQ(qv::OlderFamilyProductName(GetParam().version), GetParam().name);
}
INSTANTIATE_TEST_SUITE_P(Rows, OlderFamilyNames,
                         ::testing::Values(NameCase{Version(0, 3, 10), L"Windows 3.1"},
                                           NameCase{Version(1, 4, 0, L" a"), L"Windows 95 Sp1"},
                                           NameCase{Version(1, 4, 0, L"B"), L"Windows 95 OSR2"},
                                           NameCase{Version(1, 4, 0, L"C"), L"Windows 95 OSR2.5"},
                                           NameCase{Version(1, 4, 0, L"A"), L"Windows 95"},
                                           NameCase{Version(1, 4, 0, L""), L"Windows 95"},
                                           NameCase{Version(1, 4, 10, L"A"), L"Windows 98 SE"},
                                           NameCase{Version(1, 4, 10, L"a"), L"Windows 98"},
                                           NameCase{Version(1, 4, 90),
                                                    L"Windows Millennium Edition"},
                                           NameCase{Version(2, 3, 51), L"Windows NT 3.51"},
                                           NameCase{Version(2, 3, 50), L"Windows Me Later"},
                                           NameCase{Version(1, 4, 91), L"Windows Me Later"},
                                           NameCase{Version(1, 4, 5), L"Windows Unknown"}));

class NtFamilyNames : public ::testing::TestWithParam<NameCase> {};
TEST_P(NtFamilyNames, Table) {
    EXPECT_EQ(qv::NtFamilyProductName(GetParam().version), GetParam().name);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, NtFamilyNames,
    ::testing::Values(
        NameCase{Version(2, 4, 0, L"", 0x0002), L"Windows NT 4.0 Enterprise Edition"},
        NameCase{Version(2, 4, 0, L"", 0x0080, 1), L"Windows NT 4.0"},
        NameCase{Version(2, 5, 0, L"", 0x0002, 1), L"Windows 2000"},
        NameCase{Version(2, 5, 0, L"", 0x0082, 3), L"Windows 2000 Advanced Server"},
        NameCase{Version(2, 5, 0, L"", 0x0080, 3), L"Windows 2000 Datacenter Server"},
        NameCase{Version(2, 5, 0, L"", 0, 2), L"Windows 2000 Server"},
        NameCase{Version(2, 5, 1, L"", 0x0240, 1), L"Windows XP Home Edition"},
        NameCase{Version(2, 5, 1, L"", 0x0040, 1), L"Windows XP Embedded"},
        NameCase{Version(2, 5, 1, L"", 0, 1), L"Windows XP Professional Edition"},
        NameCase{Version(2, 5, 2, L"", 0x0002, 1), L"Windows XP Professional x64 Edition"},
        NameCase{Version(2, 5, 2, L"", 0x0082, 3), L"Windows Server 2003 Enterprise Edition"},
        NameCase{Version(2, 5, 2, L"", 0x0480, 3), L"Windows Server 2003 Datacenter Edition"},
        NameCase{Version(2, 5, 2, L"", 0x2400, 3), L"Windows Server 2003 Web Edition"},
        NameCase{Version(2, 5, 2, L"", 0x6000, 3), L"Windows Storage Server 2003 R2"},
        NameCase{Version(2, 5, 2, L"", 0x4000, 3), L"Windows Server 2003 Compute Cluster Edition"},
        NameCase{Version(2, 5, 2, L"", 0, 3), L"Windows Server 2003"},
        NameCase{Version(2, 6, 0, L"", 0x0002, 1), L"Windows Vista"},
        NameCase{Version(2, 6, 0, L"", 0x0082, 3), L"Windows Server Longhorn Enterprise Edition"},
        NameCase{Version(2, 6, 0, L"", 0x0080, 3), L"Windows Server Longhorn Datacenter Edition"},
        NameCase{Version(2, 6, 0, L"", 0, 3), L"Windows Server Longhorn"},
        NameCase{Version(3, 5, 0, L"", 0, 1), L"Windows CE"},
        NameCase{Version(2, 6, 2, L"", 0, 1), L"Windows Vista Later"},
        NameCase{Version(2, 10, 0, L"", 0, 1), L"Windows Vista Later"},
        NameCase{Version(2, 6, 1, L"", 0, 3), L"Windows Server Longhorn Later"},
        NameCase{Version(2, 5, 3, L"", 0, 1), L"Windows Unknown"},
        NameCase{Version(2, 4, 1, L"", 0, 1), L"Windows Unknown"}));

struct SuiteCase {
    int suite;
    std::wstring lines;
};

class SuiteLines : public ::testing::TestWithParam<SuiteCase> {};
TEST_P(SuiteLines, WrittenInTableOrder) {
    FakeQuery q;
    q.shortRecord = q.extendedRecord = Version(2, 5, 1, L"", GetParam().suite, 1);
    const std::wstring text = qv::GetSystemDescription(q);
    const std::wstring head = L"  Build 0  ServicePack 0.0\r\n";
    const std::size_t begin = text.find(head) + head.size();
    EXPECT_EQ(text.substr(begin, text.find(L"  Processor:") - begin), GetParam().lines);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, SuiteLines,
    ::testing::Values(
        SuiteCase{0x0000, L""},
        SuiteCase{0x0001, L"    at Least Once Installed Microsoft Small Business Server\r\n"},
        SuiteCase{0x0020, L"    Installed Small Business Server Restricted Client License\r\n"},
        SuiteCase{0x0004, L"    Microsoft BackOffice components are installed\r\n"},
        SuiteCase{0x0010, L"    Installed Terminal Service\r\n"
                          L"    The System is Running in Application server mode\r\n"},
        SuiteCase{0x0110, L"    Installed Terminal Service\r\n"
                          L"    Only one Session Remote Desktop is supported\r\n"},
        SuiteCase{0x0100, L"    Only one Session Remote Desktop is supported\r\n"},
        SuiteCase{0x1000, L"    Hardened OS as part of a security appliance\r\n"},
        SuiteCase{0x1035, L"    at Least Once Installed Microsoft Small Business Server\r\n"
                          L"    Installed Small Business Server Restricted Client License\r\n"
                          L"    Microsoft BackOffice components are installed\r\n"
                          L"    Installed Terminal Service\r\n"
                          L"    The System is Running in Application server mode\r\n"
                          L"    Hardened OS as part of a security appliance\r\n"}));

struct ProcessorCase {
    int mode;
    ProcessorRecord processor;
    std::wstring firstLines;
};

class ProcessorLines : public ::testing::TestWithParam<ProcessorCase> {};
TEST_P(ProcessorLines, Table) {
    const ProcessorCase& c = GetParam();
    EXPECT_EQ(qv::DescribeProcessor(c.mode, c.processor),
              c.firstLines + L"\r\n    Processor数: " +
                  std::to_wstring(c.processor.numberOfProcessors) + L"\r\n");
}

ProcessorRecord Nt(int arch, int level, int revision = 0) {
    return {static_cast<std::int16_t>(arch), 1, 0, static_cast<std::int16_t>(level),
            static_cast<std::int16_t>(revision)};
}
ProcessorRecord Old(int type) {
    return {0, 2, type, 0, 0};
}

std::wstring Intel(const wchar_t* name) {
    return std::wstring(L"  Processor: ") + name + L"\r\n    Model: 1  Stepping 2";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProcessorLines,
    ::testing::Values(
        ProcessorCase{2000, Nt(0, 0, 0x0102), Intel(L"Intel x86")},
        ProcessorCase{2000, Nt(0, 3, 0x0102), Intel(L"Intel 80386")},
        ProcessorCase{2000, Nt(0, 4, 0x0102), Intel(L"Intel i486")},
        ProcessorCase{2000, Nt(0, 5, 0x0102), Intel(L"Intel Pentium")},
        ProcessorCase{2000, Nt(0, 6, 0x0102),
                      Intel(L"Intel Itanium/PentiumPro/2/3/4/M/D/Celeron/M/D")},
        ProcessorCase{2000, Nt(0, 9, 0x0102), Intel(L"x64 (AMD Or Intel)")},
        ProcessorCase{2000, Nt(0, 10, 0x0102), Intel(L"WOW64")},
        ProcessorCase{2000, Nt(0, 15, 0x0102), Intel(L"Intel Family CPU")},
        ProcessorCase{2000, Nt(0, 6, 0xFF80),
                      L"  Processor: Intel Itanium/PentiumPro/2/3/4/M/D/Celeron/M/D\r\n"
                      L"    Model: 255  Stepping 128"},
        ProcessorCase{2000, Nt(1, 4), L"  Processor: Mips R4000"},
        ProcessorCase{2000, Nt(1, 5, 7), L"  Processor: Mips Family CPU  5 - 7"},
        ProcessorCase{2000, Nt(2, 21064), L"  Processor: Alpha 21064"},
        ProcessorCase{2000, Nt(2, 21066), L"  Processor: Alpha 21066"},
        ProcessorCase{2000, Nt(2, 21164), L"  Processor: Alpha 21164"},
        ProcessorCase{2000, Nt(2, 21264, 3), L"  Processor: Alpha Family CPU  21264 - 3"},
        ProcessorCase{2000, Nt(3, 1), L"  Processor: PowerPC 601"},
        ProcessorCase{2000, Nt(3, 3), L"  Processor: PowerPC 603"},
        ProcessorCase{2000, Nt(3, 4), L"  Processor: PowerPC 604"},
        ProcessorCase{2000, Nt(3, 6), L"  Processor: PowerPC 603+"},
        ProcessorCase{2000, Nt(3, 9), L"  Processor: PowerPC 604+"},
        ProcessorCase{2000, Nt(3, 20), L"  Processor: PowerPC 620"},
        ProcessorCase{2000, Nt(3, 2, 1), L"  Processor: PowerPC Family CPU  2 - 1"},
        ProcessorCase{2000, Nt(4, 0), L"  Processor: HITACHI SH3/3E/4"},
        ProcessorCase{2000, Nt(5, 0), L"  Processor: Arm720/829/920/Arm7TDMI"},
        ProcessorCase{2000, Nt(6, 0), L"  Processor: IA64 Family CPU"},
        ProcessorCase{2000, Nt(7, 0), L"  Processor: ALPHA64 Family CPU"},
        ProcessorCase{2000, Nt(8, 0), L"  Processor: MSIL Family CPU"},
        ProcessorCase{2000, Nt(9, 6, 0x5E03), L"  Processor: Unkown    9 - 6 - 24067"},
        ProcessorCase{2000, Nt(0xFFFF, 0, 0), L"  Processor: Unkown    -1 - 0 - 0"},
        ProcessorCase{99, Old(386), L"  Processor: Intel x386 Family"},
        ProcessorCase{99, Old(486), L"  Processor: Intel x486 Family"},
        ProcessorCase{99, Old(586), L"  Processor: Intel Pentium Family"},
        ProcessorCase{99, Old(4000), L"  Processor: Mips R4000/R4101/R3901"},
        ProcessorCase{99, Old(21064), L"  Processor: Alpha 21064"},
        ProcessorCase{99, Old(8664), L"  Processor: Unknown    8664"},
        ProcessorCase{0, Old(386), L"  Processor: Intel x386 Family"}));

} // namespace
