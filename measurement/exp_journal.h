// The journal of a measurement: ExpLog_yyyymmddhhmmss.csv beside the program, one line per
// capture whose recognition ran, in code page 932 with CR LF so that a spreadsheet on a
// Japanese system opens it as it is. Every line goes to the disk as it is made.
#pragma once

#include "measurement/exp_gain.h"
#include "services/debug_log.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// "ExpLog_yyyymmddhhmmss.csv", named with the time of the measurement's first reading.
std::wstring JournalFileName(const LocalTime& firstReading);

// The first line of the journal: the columns' headings, CR LF included.
std::wstring JournalHeader();

// One line of the journal, CR LF included.
std::wstring JournalLine(const EvaluatedReading& reading);

class ExpJournal : public ReadingListener {
  public:
    ExpJournal(std::filesystem::path folder, DebugLog& debugLog);

    // A first reading starts a new file; every capture appends its line. A failed write is
    // recorded in the debug log once per measurement and the measurement goes on.
    void OnReading(const EvaluatedReading& reading) override;

  private:
    void Append(std::wstring_view text);

    std::filesystem::path folder_;
    DebugLog& debugLog_;
    std::wstring fileName_;
    bool failureRecorded_ = false;
};

} // namespace qv
