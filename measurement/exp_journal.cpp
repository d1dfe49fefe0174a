#include "measurement/exp_journal.h"

#include "base/ansi_text.h"
#include "measurement/measurement_timing.h"
#include "measurement/status_panel.h"

#include <fstream>

namespace qv {

namespace {

std::wstring EventText(ReadingEvent event) {
    switch (event) {
    case ReadingEvent::Start:
        return L"開始";
    case ReadingEvent::Fall:
        return L"LvUP or Dead";
    case ReadingEvent::Unread:
        return L"認識NG";
    case ReadingEvent::Steady:
        break;
    }
    return {};
}

std::wstring ChangeText(const std::optional<double>& change) {
    if (!change) {
        return {};
    }
    return (*change > 0 ? L"+" : L"") + PlainNumberText(change);
}

} // namespace

std::wstring JournalFileName(const LocalTime& firstReading) {
    return L"ExpLog" + FormatFileStamp(firstReading) + L".csv";
}

std::wstring JournalLine(const EvaluatedReading& r) {
    std::wstring line = FormatTimestamp(r.time);
    line.append(L",").append(PlainNumberText(r.reading));
    line.append(L",").append(ChangeText(r.change));
    line.append(L",").append(PlainNumberText(r.increase));
    line.append(L",").append(PlainNumberText(r.expPerHour));
    line.append(L",").append(EventText(r.event));
    return line + L"\r\n";
}

ExpJournal::ExpJournal(std::filesystem::path folder, DebugLog& debugLog)
    : folder_(std::move(folder)), debugLog_(debugLog) {}

void ExpJournal::OnReading(const EvaluatedReading& reading) {
    if (reading.event == ReadingEvent::Start) {
        fileName_ = JournalFileName(reading.time);
        failureRecorded_ = false;
        Append(kJournalHeader + JournalLine(reading));
        return;
    }
    if (!fileName_.empty()) {
        Append(JournalLine(reading));
    }
}

// Open, append, close: a crash loses at most the line being written.
void ExpJournal::Append(std::wstring_view text) {
    const std::string bytes = ToAnsi(text);
    bool written = false;
    std::ofstream out(folder_ / fileName_, std::ios::binary | std::ios::out | std::ios::app);
    if (out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        written = !out.fail();
    }
    if (!written && !failureRecorded_) {
        failureRecorded_ = true;
        debugLog_.Write(L"Journal write failed: " + fileName_);
    }
}

} // namespace qv
