// The journal of a measurement: ExpLog_yyyymmddhhmmss.csv beside the program, one line per
// capture whose recognition ran, in code page 932 with CR LF so that a spreadsheet on a
// Japanese system opens it as it is. Every line goes to the disk as it is made; a line the
// file does not take (a spreadsheet holds it open) waits for the next write that succeeds.
#pragma once

#include "measurement/exp_gain.h"
#include "measurement/measurement_record.h"
#include "services/debug_log.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// Lines kept while the journal cannot be written; beyond this the oldest go. About 8 hours of
// captures a second apart, a week at the default interval, a few megabytes.
inline constexpr std::size_t kJournalBacklogLines = 30000;

// "ExpLog_yyyymmddhhmmss.csv", named with the time of the measurement's first reading; from
// `number` 2 on "ExpLog_yyyymmddhhmmss_2.csv" and so on.
std::wstring JournalFileName(const LocalTime& firstReading, int number = 1);

// The first line of the journal: the columns' headings, CR LF included.
std::wstring JournalHeader();

// One line of the journal, CR LF included.
std::wstring JournalLine(const EvaluatedReading& reading);

class ExpJournal : public RecordListener {
  public:
    ExpJournal(std::filesystem::path folder, DebugLog& debugLog);

    // A capture's line; at the end the held rise's line, then Finish.
    void OnRecord(const MeasurementRecord& record, RecordEvent event) override;
    // A first reading starts a new file, in the first free name: the journal never writes
    // into a file it did not create. Every capture appends its line. The debug log records
    // when writing fails and when it works again, and the measurement goes on meanwhile.
    void OnReading(const EvaluatedReading& reading);
    // The measurement ended: lines the file still does not take go to a new file of the next
    // free name, with its own header. With no line waiting nothing is written.
    void Finish();

  private:
    void Keep(std::wstring line);
    // Writes the kept lines; true when none is left.
    bool WriteKept();
    // Creates the first free name from number_ on and writes `text` into it.
    bool Create(std::wstring_view text);
    // The file written to, or the name tried last while none could be created.
    std::wstring CurrentName() const;

    std::filesystem::path folder_;
    DebugLog& debugLog_;
    LocalTime start_;
    bool running_ = false;  // a measurement's first reading started the journal
    int number_ = 1;        // the name tried last
    std::wstring fileName_; // the file this journal created, empty until then
    std::deque<std::wstring> kept_;
    bool failing_ = false;
    bool dropping_ = false;
};

} // namespace qv
