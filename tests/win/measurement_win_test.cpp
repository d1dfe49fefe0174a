// The measurement's platform side: whole-window pictures saved as BMP files, the
// event-processing wait, the message popup, and long runs of real capture ticks (capture,
// recognition, evaluation) that must leave the process's resources flat.
#include "app/form_popup_win.h"
#include "app/shell_services_win.h"
#include "app/system_info_win.h"
#include "capture/bmp_file.h"
#include "capture/screen_capture_win.h"
#include "capture/window_picture_win.h"
#include "config/settings.h"
#include "measurement/measurement_engine.h"
#include "measurement/program_state.h"
#include "recognition/glyph_pattern_table.h"
#include "testkit/glyph_files.h"
#include "testkit/glyph_render.h"
#include "tests/win/resource_marks.h"
#include "tests/win/test_pixels.h"
#include "tests/win/test_window.h"
#include "win/message_pump_win.h"
#include "win/ui_win.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <psapi.h>
#include <string>

namespace qv {
namespace {

constexpr UINT kCountedMessage = TestWindow::kCountedMessage;

// Dispatches what is pending without the program's pump (whose quit state is process-wide).
// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const char* name)
        : path_(std::filesystem::temp_directory_path() /
                (std::string(name) + "_" + std::to_string(GetCurrentProcessId()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// ---- pictures ---------------------------------------------------------------------------

TEST(MeasurementWinPicture, SavesTheForegroundWindowWithItsPixels) {
    TestWindow window(L"qv picture", WS_POPUP, KnownImage(160, 90), 160, 90);
    ASSERT_TRUE(window.BringToFront());
    ScratchFolder folder("qv_picture");
    const auto path = folder.path() / "LvUP_test_a.bmp";
    // A longer file of that name is replaced, not overwritten in place.
    { std::ofstream(path, std::ios::binary) << std::string(200000, 'x'); }

    ASSERT_TRUE(SaveForegroundWindowBitmap(path));
    const auto picture = ReadBmpFile(path);
    ASSERT_TRUE(picture.has_value()) << "not a readable BMP file";
    ASSERT_EQ(picture->Width(), 160);
    ASSERT_EQ(picture->Height(), 90);
    int wrong = 0;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 160; ++x) {
            wrong += Colour(picture->At(x, y)) != KnownPixel(x, y);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(MeasurementWinPicture, AFramedWindowIsSavedWholeWithItsClientInside) {
    TestWindow window(L"qv framed picture", WS_OVERLAPPEDWINDOW, KnownImage(400, 300), 240, 160);
    ASSERT_TRUE(window.BringToFront());
    const RECT outer = WindowRectOf(window.get());
    POINT clientOrigin{0, 0};
    ClientToScreen(window.get(), &clientOrigin);
    RECT client{};
    GetClientRect(window.get(), &client);
    ScratchFolder folder("qv_framed");
    const auto path = folder.path() / "PrtScr.bmp";

    ASSERT_TRUE(SaveForegroundWindowBitmap(path));
    const auto picture = ReadBmpFile(path);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), outer.right - outer.left);
    EXPECT_EQ(picture->Height(), outer.bottom - outer.top);
    const int dx = clientOrigin.x - outer.left;
    const int dy = clientOrigin.y - outer.top;
    int wrong = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (picture->Contains(dx + x, dy + y)) {
                wrong += Colour(picture->At(dx + x, dy + y)) != KnownPixel(x, y);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "client area at " << dx << "," << dy << " of the picture";
}

TEST(MeasurementWinPicture, APictureCopiesTheRectangleAskedFor) {
    TestWindow window(L"qv part picture", WS_POPUP, KnownImage(64, 64), 64, 64);
    const PixelArray part = CreateWindowPicture(window.get(), 10, 5, 20, 12);
    ASSERT_EQ(part.Width(), 20);
    ASSERT_EQ(part.Height(), 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(Colour(part.At(x, y)), KnownPixel(10 + x, 5 + y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(CreateWindowPicture(window.get(), 0, 0, 0, 10).Empty());
}

// ---- the event-processing wait ------------------------------------------------------------

TEST(MeasurementWinWait, DispatchesPostedMessagesAndTimerTicksWhileWaiting) {
    TestWindow window(L"qv wait", WS_POPUP, PixelArray(8, 8), 8, 8);
    PostMessageW(window.get(), kCountedMessage, 0, 0);
    double start = MillisecondClock();
    ASSERT_TRUE(WaitMilliseconds(30));
    EXPECT_GE(MillisecondClock() - start, 30.0);
    EXPECT_EQ(window.counted, 1);

    // Even a wait of 0 makes one pass of event processing.
    PostMessageW(window.get(), kCountedMessage, 0, 0);
    ASSERT_TRUE(WaitMilliseconds(0));
    EXPECT_EQ(window.counted, 2);

    // A timer runs inside a long wait, as the capture timer does during the snapshot pauses.
    SetTimer(window.get(), 1, 10, nullptr);
    start = MillisecondClock();
    ASSERT_TRUE(WaitMilliseconds(200));
    KillTimer(window.get(), 1);
    EXPECT_GE(MillisecondClock() - start, 200.0);
    EXPECT_GE(window.timerTicks, 3);
}

// Runs in a child process (the pump's quit state lasts for the whole process): a quit inside
// a wait ends it at once, stays posted for the outer loop, and every later wait returns at
// once. Exits 0 when all of that holds.
[[noreturn]] void QuitInsideAWait() {
    auto fail = [](const char* what) {
        std::fprintf(stderr, "quit check failed: %s\n", what);
        std::fflush(stderr);
        std::_Exit(1);
    };
    PostQuitMessage(7);
    double start = MillisecondClock();
    if (WaitMilliseconds(5000)) {
        fail("the wait reported its full time");
    }
    if (MillisecondClock() - start > 2000) {
        fail("the wait did not end at the quit");
    }
    start = MillisecondClock();
    if (WaitMilliseconds(5000) || MillisecondClock() - start > 2000) {
        fail("a later wait did not return at once");
    }
    if (MessagePump::Instance().Run() != 7) {
        fail("the main loop did not end with the quit's code");
    }
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) || msg.wParam != 7) {
        fail("the quit was not posted again");
    }
    std::fflush(stderr);
    std::_Exit(0);
}

TEST(MeasurementWinWaitDeathTest, AQuitInsideAWaitEndsItAndIsPostedAgain) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QuitInsideAWait(), ::testing::ExitedWithCode(0), "");
}

// ---- the popup ------------------------------------------------------------------------

// Owns a FormPopup and destroys its window before the object goes.
class PopupUnderTest {
  public:
    PopupUnderTest() : form(shown, waiter) {}
    ~PopupUnderTest() {
        if (form.Handle() != nullptr) {
            DestroyWindow(form.Handle());
        }
    }
    bool shown = false;
    PumpWaiter waiter;
    FormPopup form;

    HWND Label() const { return GetWindow(form.Handle(), GW_CHILD); }
    SIZE Size() const {
        const RECT r = WindowRectOf(form.Handle());
        return {r.right - r.left, r.bottom - r.top};
    }
    // The label's rectangle in client coordinates.
    RECT LabelRect() const {
        RECT r = WindowRectOf(Label());
        MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT Client() const {
        RECT r{};
        GetClientRect(form.Handle(), &r);
        return r;
    }
};

// Centred means (client - label) / 2 on both axes, or 0 where the window grew to fit.
void ExpectCentred(const PopupUnderTest& popup) {
    const RECT label = popup.LabelRect();
    const RECT client = popup.Client();
    const int w = label.right - label.left, h = label.bottom - label.top;
    EXPECT_EQ(label.left, std::max(0L, (client.right - w) / 2));
    EXPECT_EQ(label.top, std::max(0L, (client.bottom - h) / 2));
    EXPECT_LE(w, client.right);
    EXPECT_LE(h, client.bottom);
}

TEST(MeasurementWinPopup, GrowsForALongMessageAndKeepsThatSizeAfterwards) {
    PopupUnderTest popup;
    popup.form.HidePopupMessage(); // made on first use, hidden
    ASSERT_NE(popup.form.Handle(), nullptr);
    EXPECT_FALSE(popup.shown);
    EXPECT_FALSE(IsWindowVisible(popup.form.Handle()));
    const SIZE designed = popup.Size();

    popup.form.ShowPopupMessage(L"OK", L"エラー", 14);
    EXPECT_TRUE(popup.shown);
    EXPECT_TRUE(IsWindowVisible(popup.form.Handle()));
    EXPECT_EQ(WindowText(popup.form.Handle()), L"エラー");
    EXPECT_EQ(WindowText(popup.Label()), L"OK");
    EXPECT_EQ(popup.Size().cx, designed.cx);
    EXPECT_EQ(popup.Size().cy, designed.cy);
    ExpectCentred(popup);

    const std::wstring longText =
        std::wstring(kGameTitle) + kGameMissingSuffix + L"。ゲームを起動してからもう一度どうぞ。";
    popup.form.ShowPopupMessage(longText, L"", 14);
    EXPECT_EQ(WindowText(popup.form.Handle()), L"メッセージ ");
    const SIZE grown = popup.Size();
    EXPECT_GT(grown.cx, designed.cx);
    ExpectCentred(popup);
    EXPECT_EQ(popup.LabelRect().left, 0);

    // A larger type grows the height too.
    popup.form.ShowPopupMessage(L"大", L"エラー", 40);
    const SIZE taller = popup.Size();
    EXPECT_EQ(taller.cx, grown.cx);
    EXPECT_GT(taller.cy, designed.cy);
    ExpectCentred(popup);

    // A shorter message afterwards is centred in the larger window, which stays where it is.
    const RECT before = WindowRectOf(popup.form.Handle());
    popup.form.ShowPopupMessage(L"OK", L"エラー", 14);
    const RECT after = WindowRectOf(popup.form.Handle());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(popup.Size().cx, taller.cx);
    EXPECT_EQ(popup.Size().cy, taller.cy);
    ExpectCentred(popup);

    popup.form.HidePopupMessage();
    EXPECT_FALSE(popup.shown);
    EXPECT_FALSE(IsWindowVisible(popup.form.Handle()));
    EXPECT_TRUE(IsWindow(popup.form.Handle())); // hidden, not destroyed
}

TEST(MeasurementWinPopup, TheUsersCloseIsRefusedAndTheProgramsGoesThrough) {
    PopupUnderTest popup;
    const std::wstring message = std::wstring(kGameTitle) + kGameMissingSuffix;
    popup.form.ShowPopupMessage(message, kErrorTitle, kGameMissingFontSize);
    const HWND hwnd = popup.form.Handle();
    ASSERT_NE(hwnd, nullptr);

    PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitMilliseconds(50));
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(popup.shown);
    EXPECT_EQ(WindowText(popup.Label()), message);

    // The program's own unloading at exit is not a user's close command.
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(popup.form.Handle(), nullptr);
}

// ---- capture ticks against a window painted like the game ---------------------------------

// The main window's log box as the measurement sees it, kept in memory.
class MemoryLogBox : public LogBox {
  public:
    std::wstring Text() const override { return log; }
    void SetText(std::wstring_view text) override { log = text; }
    void SetCaret(std::size_t) override {}
    void RepaintNow() override {}

    std::wstring log;
};

class NoPopup : public Popup {
  public:
    explicit NoPopup(bool& shown) : shown_(shown) {}
    void ShowPopupMessage(std::wstring_view, std::wstring_view, std::int32_t) override {
        ++shows;
        shown_ = true;
    }
    void HidePopupMessage() override { shown_ = false; }
    int shows = 0;

  private:
    bool& shown_;
};

class SilentMessages : public MessageSink {
  public:
    void ShowMessage(std::wstring_view, std::wstring_view) override {}
};

constexpr double kShownFigure = 6024300;

// The real capture, recognizer and evaluation of the program, run against a foreground
// window titled like the game that shows the figure at the default EXP region.
class CaptureTickRig {
  public:
    CaptureTickRig()
        : folder_("qv_ticks"), game_(kGameTitle, WS_POPUP, GameImage(), 640, 600),
          debugLog_(folder_.path(), clock_, logHost_, messages_),
          recognition_(state_, debugLog_, [this](std::wstring_view t) { caption_ = t; }),
          engine_(state_, MeasurementHost{window_, desktop_, waiter_, popup_, recognition_, clock_,
                                          debugLog_, folder_.path()}) {}

    // False (with a test failure) when the glyph table or the foreground cannot be had.
    bool Ready() {
        std::array<GlyphPictureSet, 2> pictures;
        for (int s = 0; s < 2; ++s) {
            const auto images = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), s);
            EXPECT_TRUE(images.has_value());
            if (!images) {
                return false;
            }
            pictures[static_cast<std::size_t>(s)] = PicturesFromImages(*images);
        }
        state_.settings = DefaultSettings();
        EXPECT_TRUE(BuildGlyphPatterns(pictures, state_.settings.captureRegions, state_.glyphs,
                                       state_.captureBuffer));
        EXPECT_TRUE(debugLog_.Write(L"ticks begin", L"INIT"));
        const bool front = game_.BringToFront();
        EXPECT_TRUE(front) << "the painted game window did not come to the front";
        return front && !::testing::Test::HasFailure();
    }

    // One due capture: find the game, capture, recognise, evaluate.
    void Tick() { engine_.WatchAndCapture(); }
    void CaptureOnly() {
        desktop_.CaptureWindowRegion(reinterpret_cast<WindowId>(game_.get()),
                                     state_.settings.captureRegions[kExpCaptureIndex],
                                     kExpCaptureIndex);
    }
    bool RecognizeOnly() { return recognition_.RecognizeExpReadout().has_value(); }

    ProgramState& state() { return state_; }
    const MeasurementRecord& record() { return engine_.Evaluation().Record(); }
    // The figure the last capture read, nothing when it read none.
    std::optional<double> reading() {
        return record().capture ? record().capture->reading : std::nullopt;
    }
    const MemoryLogBox& window() const { return window_; }
    const std::wstring& caption() const { return caption_; }
    int popupShows() const { return popup_.shows; }

  private:
    static PixelArray GameImage() {
        PixelArray client(640, 600);
        const auto set1 = LoadGlyphImageSet(GlyphFolder(QV_SOURCE_DIR), 1);
        if (set1) {
            DrawImage(client, RenderExpStrip("6024300", *set1), 463, 570);
        }
        return client;
    }

    ScratchFolder folder_;
    TestWindow game_;
    ProgramState state_;
    MemoryLogBox window_;
    Win32Desktop desktop_{state_.captureBuffer, nullptr};
    PumpWaiter waiter_;
    NoPopup popup_{state_.popupShown};
    SystemClock clock_;
    Win32DebugLogHost logHost_;
    SilentMessages messages_;
    DebugLog debugLog_;
    std::wstring caption_;
    Win32Recognition recognition_;
    MeasurementEngine engine_;
};

TEST(MeasurementWinTicks, TenThousandTicksReadTheFigureAndLeaveResourcesFlat) {
    CaptureTickRig rig;
    ASSERT_TRUE(rig.Ready());

    // The first tick is the first reading; it and a warm-up run make whatever the system
    // creates lazily (fonts, caches, the log file's buffers) before the marks are taken.
    rig.Tick();
    ASSERT_EQ(rig.reading(), std::optional<double>(kShownFigure)) << "no reading";
    EXPECT_EQ(rig.caption(), L"6024300");
    EXPECT_EQ(rig.record().start->exp, kShownFigure);
    for (int i = 0; i < 500; ++i) {
        rig.Tick();
    }
    const ResourceMarks before = ResourceMarks::Take();
    const auto graphBytes = [&] {
        return rig.record().series.Points().capacity() * sizeof(SeriesPoint);
    };
    const std::size_t graphBefore = graphBytes();

    int misread = 0;
    for (int i = 0; i < 10000; ++i) {
        rig.Tick();
        misread += rig.reading() != std::optional<double>(kShownFigure);
    }
    EXPECT_EQ(misread, 0);
    // An unchanged figure is recorded silently.
    EXPECT_EQ(rig.window().log, L"");
    EXPECT_EQ(rig.record().increase, 0);
    EXPECT_EQ(rig.popupShows(), 0);

    const ResourceMarks after = ResourceMarks::Take();
    ExpectNoGdiOrHandleLeak(before, after);
    // A leak of even 32 bytes a tick would show as 320 kB. The graph's readings are kept on
    // purpose (a point a capture), so what they took is not counted.
    ASSERT_GT(before.privateBytes, 0u) << "no private byte count";
    EXPECT_LT(after.privateBytes - (graphBytes() - graphBefore), before.privateBytes + 256 * 1024)
        << "private bytes " << before.privateBytes << " -> " << after.privateBytes;
}

// ---- benchmark (run on request, printed, never asserted) ------------------------------------

double MicrosecondsPer(int runs, const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        step();
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

// Run with --gtest_also_run_disabled_tests --gtest_filter=MeasurementWinBench.*
TEST(MeasurementWinBench, DISABLED_CaptureTick) {
    CaptureTickRig rig;
    ASSERT_TRUE(rig.Ready());
    rig.Tick();
    constexpr int kRuns = 2000;
    for (int i = 0; i < 200; ++i) {
        rig.Tick();
    }
    const double capture = MicrosecondsPer(kRuns, [&] { rig.CaptureOnly(); });
    const double recognition = MicrosecondsPer(kRuns, [&] { (void)rig.RecognizeOnly(); });
    const double tick = MicrosecondsPer(kRuns, [&] { rig.Tick(); });
    std::printf("capture of the 90 x 9 EXP region            %8.1f us\n", capture);
    std::printf("recognition, with its debug-log memory line  %8.1f us\n", recognition);
    std::printf("full tick: find, capture, recognise, evaluate %7.1f us\n", tick);
    std::printf("runs: %d each; reading %.0f\n", kRuns, rig.reading().value_or(-1));
}

} // namespace
} // namespace qv
