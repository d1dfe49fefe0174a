// Fakes of the log box, the desktop, the wait, the popup and the recognizer, and a fixture
// that wires them to a MeasurementEngine.
#pragma once

#include "base/ansi_text.h"
#include "measurement/measurement_engine.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qv::testing_fakes {

class FakeClock : public Clock, public DebugLogHost {
  public:
    LocalTime now{2024, 10, 2, 18, 4, 9, 0};
    std::uint32_t ms = 5'000'000;

    LocalTime Now() override { return now; }
    std::uint32_t Milliseconds() override { return ms; }
    MemoryStatus QueryMemoryStatus() override { return {}; }
    std::wstring SystemDescription() override { return L""; }

    // Moves both clocks on (the wall clock within one day).
    void Advance(std::uint32_t milliseconds) {
        ms += milliseconds;
        std::int64_t total = now.millisecond + std::int64_t{milliseconds} +
                             1000 * (now.second + 60 * (now.minute + 60 * std::int64_t{now.hour}));
        now.millisecond = static_cast<int>(total % 1000);
        total /= 1000;
        now.second = static_cast<int>(total % 60);
        total /= 60;
        now.minute = static_cast<int>(total % 60);
        now.hour = static_cast<int>((total / 60) % 24);
    }
};

// The main window's log box.
class FakeLogBox : public LogBox {
  public:
    std::wstring logText;

    std::wstring Text() const override { return logText; }
    void SetText(std::wstring_view t) override { logText = t; }
    void SetCaret(std::size_t) override {}
    void RepaintNow() override {}
};

struct CaptureCall {
    WindowId window;
    CaptureRegion region;
    int slot;
    std::uint32_t atMs;
};

class FakeDesktop : public Desktop {
  public:
    static constexpr WindowId kGame = 0x1234;
    static constexpr WindowId kOther = 0x9999;

    bool gameRunning = true;
    WindowId foreground = kGame;
    std::vector<CaptureCall> captures;
    std::vector<std::filesystem::path> saved;
    std::set<std::wstring> failingNames;
    std::vector<std::wstring> searchedTitles;
    int beeps = 0;
    FakeClock* clock = nullptr;

    std::optional<WindowId> FindWindowByTitle(std::wstring_view title) override {
        searchedTitles.emplace_back(title);
        return gameRunning ? std::optional<WindowId>(kGame) : std::nullopt;
    }
    WindowId ForegroundWindow() override { return foreground; }
    void CaptureWindowRegion(WindowId window, const CaptureRegion& region, int slot) override {
        captures.push_back({window, region, slot, clock ? clock->ms : 0});
    }
    bool SaveForegroundWindowBitmap(const std::filesystem::path& path) override {
        if (failingNames.count(path.filename().wstring()) != 0) {
            return false;
        }
        saved.push_back(path);
        return true;
    }
    void Beep() override { ++beeps; }

    std::vector<std::wstring> SavedNames() const {
        std::vector<std::wstring> names;
        for (const auto& p : saved) {
            names.push_back(p.filename().wstring());
        }
        return names;
    }
};

// Every wait moves the clock on by its length; `during` runs inside the n-th wait (0-based),
// as a tick or a menu command would.
class FakeWaiter : public Waiter {
  public:
    explicit FakeWaiter(FakeClock& clock) : clock_(clock) {}
    std::vector<double> waits;
    std::function<void(std::size_t)> during;
    std::optional<std::size_t> quitAt; // this wait and later ones report a quit

    WaitResult WaitMilliseconds(double milliseconds) override {
        const std::size_t index = waits.size();
        waits.push_back(milliseconds);
        clock_.Advance(milliseconds > 0 ? static_cast<std::uint32_t>(milliseconds) : 0);
        if (during) {
            during(index);
        }
        return quitAt && index >= *quitAt ? WaitResult::QuitRequested : WaitResult::Elapsed;
    }

  private:
    FakeClock& clock_;
};

struct PopupShow {
    std::wstring text;
    std::wstring title;
    std::int32_t size;
};

class FakePopup : public Popup {
  public:
    explicit FakePopup(bool& shown) : shown_(shown) {}
    std::vector<PopupShow> shows;
    int hides = 0;
    void ShowPopupMessage(std::wstring_view text, std::wstring_view title,
                          std::int32_t fontSize) override {
        shows.push_back({std::wstring(text), std::wstring(title), fontSize});
        shown_ = true;
    }
    void HidePopupMessage() override {
        ++hides;
        shown_ = false;
    }

  private:
    bool& shown_;
};

// Hands out the queued readings one per recognition (the last one repeats).
class FakeRecognition : public ExpRecognition {
  public:
    std::vector<double> readings{0};
    bool abandon = false;
    int calls = 0;
    std::optional<ExpReadout> RecognizeExpReadout() override {
        if (abandon) {
            return std::nullopt;
        }
        const auto i = std::min<std::size_t>(static_cast<std::size_t>(calls), readings.size() - 1);
        ++calls;
        return ExpReadout{readings[i], std::nullopt};
    }
};

// The events the record was published with, in order.
class EventLog : public RecordListener {
  public:
    std::vector<RecordEvent> events;
    void OnRecord(const MeasurementRecord&, RecordEvent event) override { events.push_back(event); }
};

class NoMessages : public MessageSink {
  public:
    void ShowMessage(std::wstring_view, std::wstring_view) override {}
};

class MeasurementFixture : public ::testing::Test {
  protected:
    static constexpr wchar_t kFirstRecord[] = L"test begins";

    MeasurementFixture() {
        state.settings = DefaultSettings();
        state.settings.captureInterval = 10;
        state.settings.startDelay = 0;
        desktop.clock = &clock;
        debugLog.Write(kFirstRecord, L"INIT");
        engine.Evaluation().AddListener(published);
    }
    ~MeasurementFixture() override { std::filesystem::remove_all(folder); }

    static std::filesystem::path FreshFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("qv_meas_") + info->test_suite_name() + "_" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        auto dir = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir;
    }

    // The debug records written after the fixture's first one, without their timestamps.
    std::vector<std::wstring> Records() {
        std::ifstream in(folder / "debug.txt", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::wstring text = FromAnsi(ss.str());
        std::vector<std::wstring> records;
        bool started = false;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find(L"\r\n", pos);
            if (end == std::wstring::npos) {
                end = text.size();
            }
            const std::wstring line = text.substr(pos, end - pos);
            if (started) {
                records.push_back(line.size() > 20 ? line.substr(20) : line);
            } else if (line == kFirstRecord) {
                started = true;
            }
            pos = end + 2;
        }
        return records;
    }

    // Starts a measurement as the menu does.
    void StartMeasurement() { engine.menuRun_Click(); }
    const MeasurementRecord& Record() { return engine.Evaluation().Record(); }
    MeasurementPhase Phase() { return Record().phase; }

    // Moves the clocks on to the due time (if it is ahead) and ticks.
    void DueTick() {
        const std::uint32_t ahead = state.measurement.nextCaptureTime - clock.ms;
        if (static_cast<std::int32_t>(ahead) > 0) {
            clock.Advance(ahead);
        }
        engine.timCaptureInterval_Timer();
    }

    std::filesystem::path folder = FreshFolder();
    ProgramState state;
    FakeClock clock;
    FakeLogBox window;
    FakeDesktop desktop;
    FakeWaiter waiter{clock};
    FakePopup popup{state.popupShown};
    FakeRecognition recognition;
    NoMessages messages;
    DebugLog debugLog{folder, clock, clock, messages};
    MeasurementEngine engine{state, MeasurementHost{window, desktop, waiter, popup, recognition,
                                                    clock, debugLog, folder}};
    EventLog published;
};

} // namespace qv::testing_fakes
