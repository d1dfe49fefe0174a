// One capture of the demo game's EXP area plus its recognition, as a measurement tick does it,
// timed under Wine. Starts DemoGame.exe (beside this exe) showing a known figure.
#include "app/system_info_win.h"
#include "capture/screen_capture_win.h"
#include "recognition/exp_recognizer.h"
#include "recognition/glyph_pattern_table.h"
#include "services/program_identity.h"
#include "testkit/glyph_files.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

class QuietHost : public qv::RecognizerHost {
  public:
    void SetCaptureCaption(std::wstring_view) override {}
    void WriteDebugLog(std::wstring_view) override {}
    qv::MemoryStatus QueryMemoryStatus() override { return qv::QueryMemoryStatus(); }
    bool ShuttingDown() override { return false; }
};

std::wstring BesideThisExe(const wchar_t* name) {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

HWND WaitForGame() {
    for (int i = 0; i < 100; ++i) {
        if (HWND game = FindWindowW(nullptr, qv::kGameTitle)) {
            return game;
        }
        Sleep(100);
    }
    return nullptr;
}

bool BuildTable(qv::GlyphPatternTable& table) {
    std::array<qv::GlyphPictureSet, qv::kGlyphSetCount> pictures;
    for (int set = 0; set < qv::kGlyphSetCount; ++set) {
        const auto images = qv::LoadGlyphImageSet(qv::GlyphFolder(QV_SOURCE_DIR), set);
        if (!images) {
            return false;
        }
        pictures[set] = qv::PicturesFromImages(*images);
    }
    return qv::BuildGlyphPatterns(pictures, table);
}

} // namespace

int main() {
    std::wstring command = L"\"" + BesideThisExe(L"DemoGame.exe") + L"\" --exp 1234567";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::puts("could not start DemoGame.exe");
        return 1;
    }
    const HWND game = WaitForGame();
    qv::GlyphPatternTable table;
    qv::CaptureBuffer buffer;
    const qv::CaptureRegion region{463, 570, 90, 9};
    int status = 1;
    if (game != nullptr && BuildTable(table) &&
        qv::UpdateCaptureBufferSize({qv::CaptureRegion{1, 1, 1, 1}, region}, table, buffer)) {
        QuietHost host;
        qv::ExpReading reading;
        constexpr int kCalls = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i) {
            qv::CaptureWindowRegion(game, region, buffer, 1);
            qv::RecognizeExpReadout(buffer, table, region, false, reading, host);
        }
        const double us =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count() /
            kCalls;
        std::printf("CaptureWindowRegion + RecognizeExpReadout of the demo game: %.1f us per call "
                    "(%d calls, read %.0f)\n",
                    us, kCalls, reading.value_or(-1));
        status = reading == 1234567.0 ? 0 : 1;
    }
    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return status;
}
