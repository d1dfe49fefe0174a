#include "measurement/exp_journal.h"

#include "base/ansi_text.h"
#include "measurement/measurement_timing.h"
#include "measurement/status_panel.h"
#include "recognition/exp_recognizer.h"

namespace qv {

namespace {

std::wstring EventText(const EvaluatedReading& r) {
    switch (r.event) {
    case ReadingEvent::Start:
        return L"開始";
    case ReadingEvent::Fall:
        return L"LvUP or Dead";
    case ReadingEvent::Unread:
        return std::wstring(kNotRecognized);
    case ReadingEvent::Steady:
        break;
    }
    return {};
}

std::wstring ChangeText(const EvaluatedReading& r) {
    if (!r.change) {
        return {};
    }
    return (*r.change > 0 ? L"+" : L"") + PlainNumberText(r.change);
}

// One column of the journal: its heading in the first line, and its text on the line of a
// capture.
struct JournalColumn {
    std::wstring_view heading;
    std::wstring (*text)(const EvaluatedReading& reading);
};

// The columns, left to right: a new column is one more row.
constexpr JournalColumn kColumns[] = {
    {L"時刻", [](const EvaluatedReading& r) { return FormatTimestamp(r.time); }},
    {L"Exp", [](const EvaluatedReading& r) { return PlainNumberText(r.reading); }},
    {L"増減", ChangeText},
    {L"増加量", [](const EvaluatedReading& r) { return PlainNumberText(r.increase); }},
    {L"時給", [](const EvaluatedReading& r) { return PlainNumberText(r.expPerHour); }},
    {L"出来事", EventText},
};

// The columns' texts, comma-separated, as one line.
template <typename TextOf> std::wstring JoinColumns(TextOf textOf) {
    std::wstring line;
    for (const JournalColumn& column : kColumns) {
        if (&column != kColumns) {
            line += L',';
        }
        line += textOf(column);
    }
    return line + L"\r\n";
}

} // namespace

std::wstring JournalFileName(const LocalTime& firstReading) {
    return L"ExpLog" + FormatFileStamp(firstReading) + L".csv";
}

std::wstring JournalHeader() {
    return JoinColumns([](const JournalColumn& column) { return std::wstring(column.heading); });
}

std::wstring JournalLine(const EvaluatedReading& reading) {
    return JoinColumns([&](const JournalColumn& column) { return column.text(reading); });
}

ExpJournal::ExpJournal(std::filesystem::path folder, DebugLog& debugLog)
    : folder_(std::move(folder)), debugLog_(debugLog) {}

void ExpJournal::OnReading(const EvaluatedReading& reading) {
    if (reading.event == ReadingEvent::Start) {
        fileName_ = JournalFileName(reading.time);
        failureRecorded_ = false;
        Append(JournalHeader() + JournalLine(reading));
        return;
    }
    if (!fileName_.empty()) {
        Append(JournalLine(reading));
    }
}

void ExpJournal::Append(std::wstring_view text) {
    if (!WriteAnsiFile(folder_ / fileName_, text) && !failureRecorded_) {
        failureRecorded_ = true;
        debugLog_.Write(L"Journal write failed: " + fileName_);
    }
}

} // namespace qv
