#include "measurement/exp_journal.h"

#include "base/ansi_text.h"
#include "measurement/measurement_timing.h"
#include "measurement/status_panel.h"
#include "recognition/exp_recognizer.h"

#include <utility>

namespace qv {

namespace {

std::wstring EventText(const EvaluatedReading& r) {
    if (r.correctsMisread) {
        return L"誤認識補正"; // also where the figure before it makes this reading look a fall
    }
    switch (r.event) {
    case ReadingEvent::Start:
        return L"開始";
    case ReadingEvent::Fall:
        return L"LvUP or Dead";
    case ReadingEvent::Unread:
        return std::wstring(kNotRecognized);
    case ReadingEvent::Misread:
        return L"誤認識";
    case ReadingEvent::Pause:
        return L"一時停止";
    case ReadingEvent::Resume:
        return L"再開";
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
    {L"%", [](const EvaluatedReading& r) { return PercentText(r.percent); }},
    {L"次のLvまで",
     [](const EvaluatedReading& r) { return TimeToNextLevelText(r.remainingExp, r.expPerHour); }},
    {L"直近10分", [](const EvaluatedReading& r) { return PlainNumberText(r.recentPerHour); }},
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

std::wstring JournalFileName(const LocalTime& firstReading, int number) {
    const std::wstring numbered = number > 1 ? L"_" + std::to_wstring(number) : L"";
    return L"ExpLog" + FormatFileStamp(firstReading) + numbered + L".csv";
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
        Finish();
        start_ = reading.time;
        running_ = true;
    }
    if (running_) {
        Keep(JournalLine(reading));
        WriteKept();
    }
}

void ExpJournal::OnRecord(const MeasurementRecord& record, RecordEvent event) {
    if (event != RecordEvent::Captured && event != RecordEvent::Ended &&
        event != RecordEvent::Paused && event != RecordEvent::Resumed) {
        return;
    }
    if (record.capture) {
        OnReading(*record.capture);
    }
    if (event == RecordEvent::Ended) {
        Finish();
    }
}

void ExpJournal::Finish() {
    if (running_ && !WriteKept()) {
        // Whoever holds the file may keep it for hours: the rest goes to a file of its own.
        fileName_.clear();
        ++number_;
        failing_ = false;
        if (WriteKept()) {
            debugLog_.Write(L"Journal continued in: " + fileName_);
        }
    }
    kept_.clear();
    fileName_.clear();
    running_ = failing_ = dropping_ = false;
    number_ = 1;
}

void ExpJournal::Keep(std::wstring line) {
    kept_.push_back(std::move(line));
    if (kept_.size() > kJournalBacklogLines) {
        kept_.pop_front();
        if (!std::exchange(dropping_, true)) {
            debugLog_.Write(L"Journal lines dropped: " + CurrentName());
        }
    }
}

bool ExpJournal::WriteKept() {
    if (kept_.empty()) {
        return true;
    }
    std::wstring text;
    for (const std::wstring& line : kept_) {
        text += line;
    }
    const bool written = fileName_.empty() ? Create(JournalHeader() + text)
                                           : WriteAnsiFile(folder_ / fileName_, text);
    if (written) {
        kept_.clear();
        if (std::exchange(failing_, false)) {
            debugLog_.Write(L"Journal write resumed: " + fileName_);
        }
    } else if (!std::exchange(failing_, true)) {
        debugLog_.Write(L"Journal write failed: " + CurrentName());
    }
    return written;
}

bool ExpJournal::Create(std::wstring_view text) {
    for (;; ++number_) {
        const std::filesystem::path path = folder_ / JournalFileName(start_, number_);
        if (WriteAnsiFile(path, text, AnsiWrite::CreateNew)) {
            fileName_ = path.filename().wstring();
            return true;
        }
        // A free name that cannot be written: the next one could not be either.
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            return false;
        }
    }
}

std::wstring ExpJournal::CurrentName() const {
    return fileName_.empty() ? JournalFileName(start_, number_) : fileName_;
}

} // namespace qv
