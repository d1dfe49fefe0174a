// The description of the operating system and processor written at the head of each debug log:
// a raw line of version numbers, the product name, build and service pack, the notable suite
// flags and the processor lines. Works on plain records so every row can be tested anywhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// The version query's answer (the extended fields are zero in the short form).
struct OsVersionRecord {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;    // the whole 32-bit value, as the system reports it
    std::int32_t platform = 0; // 0 Win32s, 1 the 95/98/Me family, 2 the NT family, 3 CE
    std::wstring servicePack;  // the service-pack text as reported (up to its first NUL)
    std::int16_t servicePackMajor = 0;
    std::int16_t servicePackMinor = 0;
    std::int16_t suiteMask = 0;
    std::uint8_t productType = 0; // 1 = workstation
    std::uint8_t reserved = 0;
};

// The system information query's answer, the fields the description uses.
struct ProcessorRecord {
    std::int16_t architecture = 0;
    std::int32_t numberOfProcessors = 0;
    std::int32_t processorType = 0;
    std::int16_t level = 0;
    std::int16_t revision = 0;
};

// Where the records come from: the Win32 side asks the system, tests return fixed records.
class SystemQuery {
  public:
    virtual ~SystemQuery() = default;
    // The short (extended == false) or extended version record; nothing when the query fails.
    virtual std::optional<OsVersionRecord> QueryVersion(bool extended) = 0;
    virtual ProcessorRecord QueryProcessor() = 0;
};

// Mode of GetProcessorDescription for the NT family; any other value decodes the older way.
constexpr std::int32_t kNtProcessorMode = 2000;
constexpr std::int32_t kOlderProcessorMode = 99;

// Platform, major (at least two digits) and minor (at least four digits) read as one number:
// platform 2, version 5.1 gives 2050001.
std::int64_t VersionKey(const OsVersionRecord& version);

// The service-pack text up to its first NUL, without leading and trailing spaces.
std::wstring TrimmedServicePack(const OsVersionRecord& version);

// Product names from the version tables.
std::wstring OlderFamilyProductName(const OsVersionRecord& version);
std::wstring NtFamilyProductName(const OsVersionRecord& version);

// Every line ends in CR LF. Empty when a version query fails.
std::wstring GetSystemDescription(SystemQuery& query);

// The processor lines, ending with "    Processor数: " and the count, CR LF.
std::wstring GetProcessorDescription(std::int32_t mode, SystemQuery& query);
std::wstring DescribeProcessor(std::int32_t mode, const ProcessorRecord& processor);

} // namespace qv
