#include "app/program_win.h"

#include "app/screen_print.h"
#include "config/config_file.h"
#include "measurement/measurement_timing.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/learned_glyph_file.h"
#include "resources/resource_ids.h"
#include "services/program_identity.h"

#include <utility>

namespace qv {

namespace {
constexpr UINT_PTR kCaptureTimerId = 1;
} // namespace

Program::Program(ProgramServices services)
    : svc_(std::move(services)),
      desktop_(svc_.state.captureBuffer,
               [this](const std::wstring& name) { OnPictureSaveFailed(name); }),
      popup_(svc_.state.popupShown, waiter_), formMain_(svc_, *this, busyCursor_, Menu()),
      recognition_(svc_.state, svc_.debugLog,
                   [this](std::wstring_view t) { formMain_.Controls().SetCaptureCaption(t); }),
      engine_(svc_.state, MeasurementHost{formMain_.Controls(), desktop_, waiter_, popup_,
                                          recognition_, svc_.clock, svc_.debugLog, svc_.folder}),
      formOption_(OptionDialogServices{svc_.state.settings, svc_.folder, svc_.messages,
                                       svc_.debugLog, [this] { formMain_.RelayoutDebugArea(); },
                                       [this] { UpdateCaptureBufferSize(); },
                                       [this] { SetCaptureTimerPeriod(); },
                                       [this] { formMain_.BringToFront(); }},
                  CaptureTestServices{svc_.state.glyphs, [this] { return FindGame(); },
                                      std::wstring(kGameTitle) + kGameMissingSuffix},
                  LearnDigitsServices{[this](const PixelArray& picture, std::string_view digits) {
                                          return LearnDigits(picture, digits);
                                      },
                                      [this] { return ForgetDigits(); },
                                      [this](const LearnedGlyphs& g) { return UseExpGlyphs(g); }}),
      launcher_(busyCursor_),
      formVersion_(launcher_, waiter_, svc_.messages, svc_.debugLog, busyCursor_),
      formGraph_(engine_.Evaluation().Record()),
      formMini_(engine_.Evaluation().Record(),
                MiniWindowServices{svc_.state.settings, [this] { return FindGame(); },
                                   [this] { miniPause_Click(); }}),
      statusPanel_(formMain_.Controls()), timCaptureInterval_(kCaptureTimerId) {
    MeasurementEvaluation& evaluation = engine_.Evaluation();
    evaluation.AddListener(statusPanel_);
    evaluation.AddListener(formGraph_);
    evaluation.AddListener(formMini_);
    evaluation.AddListener(*this);
}

// The design's start-up, step by step: the window builds and shows itself; the rest is the
// program's.
bool Program::Form_Load() {
    if (!IsFirstInstance()) {
        svc_.messages.ShowMessage(L"既にプログラムは起動しています。", kErrorTitle);
        return false;
    }
    svc_.debugLog.Write(std::wstring(L"Starting Program ") + kProgramVersion + L"･･･", L"INIT");
    if (!formMain_.CreateAndShow()) {
        return false;
    }
    timCaptureInterval_.Attach(formMain_.Handle());
    ReadConfigFile();
    svc_.debugLog.Write(L"Reading ConfigFile･･･End ");
    if (!BuildGlyphPatterns()) {
        ShowGlyphBuildFailure(svc_.messages);
        return false;
    }
    svc_.debugLog.Write(L"PatternFile ChangeData･･･End ");
    svc_.debugLog.Write(L"Creating ExpDataTable･･･End ");
    SetCaptureTimerPeriod();
    timCaptureInterval_.SetEnabled(false);
    formMain_.ShowMeasurementState(MeasurementRecord{});
    svc_.debugLog.Write(L"All Form Loading･･･End ");
    if (svc_.state.settings.autoStart) {
        AutoStart();
    }
    return true;
}

bool Program::IsFirstInstance() {
    // Held for the whole run; a second copy finds it already there and touches nothing.
    instanceMutex_ = KernelHandle(CreateMutexW(nullptr, FALSE, L"Local\\Quorvane.SingleInstance"));
    return instanceMutex_.Get() != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

// Whatever the outcome the settings hold usable values, and a failed write has been shown.
void Program::ReadConfigFile() {
    static_cast<void>(ProcessConfigFile(
        ConfigFileMode::READ,
        ConfigFileContext{svc_.state.settings, svc_.folder, svc_.messages,
                          [this] { UpdateCaptureBufferSize(); },
                          [this](std::wstring_view r) { svc_.debugLog.Write(r); }}));
}

void Program::SetCaptureTimerPeriod() {
    timCaptureInterval_.SetInterval(CaptureTimerPeriod(svc_.state.settings.captureInterval));
}

// Enabled exactly while a measurement runs and is not paused.
void Program::OnRecord(const MeasurementRecord& record, RecordEvent event) {
    if (event != RecordEvent::Started && event != RecordEvent::Stopped &&
        event != RecordEvent::Paused && event != RecordEvent::Resumed) {
        return;
    }
    formMain_.ShowMeasurementState(record);
    const bool capturing = record.Running() && !record.paused;
    if (capturing) {
        SetCaptureTimerPeriod();
    }
    timCaptureInterval_.SetEnabled(capturing);
}

std::vector<MenuRow> Program::Menu() {
    using Place = MenuRow::Place;
    return {
        {Place::DropDown, 0, L"ファイル", nullptr},
        {Place::InDropDown, IDM_PRTSCR, L"プリントスクリーン", [this] { menuPrtScr_Click(); }},
        {Place::InDropDown, IDM_END, L"終了", [this] { menuEnd_Click(); }},
        {Place::Bar, IDM_OPTION, L"設定", [this] { menuOption_Click(); }},
        {Place::Bar, IDM_RUN, kMenuRunCaption, [this] { engine_.menuRun_Click(); }},
        {Place::Bar, IDM_STOP, L"停止", [this] { engine_.menuStop_Click(); }},
        {Place::Bar, IDM_PAUSE, kPauseCaption, [this] { engine_.menuPause_Click(); }},
        {Place::DropDown, 0, L"表示", nullptr},
        {Place::InDropDown, IDM_GRAPH, L"グラフ", [this] { menuGraph_Click(); }},
        {Place::InDropDown, IDM_MINI, L"ミニ表示", [this] { menuMini_Click(); }},
        {Place::DropDown, 0, L"ヘルプ", nullptr},
        {Place::InDropDown, IDM_VERSION, L"バージョン情報...", [this] { menuVersion_Click(); }},
    };
}

void Program::UpdateCaptureBufferSize() {
    // The configuration file and the options dialog keep the regions within what the buffer
    // takes, so this is only a record of the impossible.
    if (!qv::UpdateCaptureBufferSize(svc_.state.settings.captureRegions, svc_.state.glyphs,
                                     svc_.state.captureBuffer)) {
        svc_.debugLog.Write(L"CaptureBuffer Resize Failed");
    }
}

// The learned digits replace the built-in ones from the first capture on; a file that cannot
// be used is left as it is for the player to look at.
bool Program::BuildGlyphPatterns() {
    builtInGlyphs_ = formMain_.Controls().GlyphPictures();
    const GlyphFileLoad load = LoadLearnedGlyphs(LearnedGlyphFile());
    if (load.status == GlyphFileStatus::Loaded && UseExpGlyphs(load.glyphs)) {
        return true;
    }
    if (load.status != GlyphFileStatus::Absent) {
        svc_.messages.ShowMessage(kLearnedGlyphFileUnusable, kErrorTitle);
        svc_.debugLog.Write(L"Learned glyphs unreadable: " + std::wstring(kLearnedGlyphFileName));
    }
    return UseExpGlyphs({});
}

bool Program::UseExpGlyphs(const LearnedGlyphs& learned) {
    std::array<GlyphPictureSet, kGlyphSetCount> pictures = builtInGlyphs_;
    const GlyphImageSet expGlyphs =
        ComposeGlyphSet(ImagesOf(builtInGlyphs_[kExpCaptureIndex]), learned);
    pictures[kExpCaptureIndex] = PicturesFromImages(expGlyphs);
    GlyphPatternTable table;
    if (!qv::BuildGlyphPatterns(pictures, table) ||
        !qv::UpdateCaptureBufferSize(svc_.state.settings.captureRegions, table,
                                     svc_.state.captureBuffer)) {
        return false;
    }
    svc_.state.glyphs = std::move(table);
    learnedGlyphs_ = learned;
    formMain_.Controls().ShowExpGlyphs(expGlyphs);
    return true;
}

// A refused entry changes nothing; learned glyphs that cannot be written are still used
// until the program ends.
LearnReply Program::LearnDigits(const PixelArray& picture, std::string_view digits) {
    const GlyphImageSet builtIn = ImagesOf(builtInGlyphs_[kExpCaptureIndex]);
    const LearnOutcome outcome = LearnGlyphs(picture, digits, learnedGlyphs_, builtIn);
    if (outcome.status != LearnStatus::Learned) {
        return {false, std::wstring(kLearnRefused) + L"\r\n" + outcome.reason};
    }
    // Glyphs the learning accepts always build; were they ever not to, nothing is kept.
    if (!UseExpGlyphs(outcome.glyphs)) {
        return {false, std::wstring(kLearnRefused)};
    }
    if (!SaveLearnedGlyphs(LearnedGlyphFile(), builtIn, learnedGlyphs_)) {
        return {true, std::wstring(kLearnedGlyphFileNotSaved)};
    }
    return {true, {}};
}

std::wstring Program::ForgetDigits() {
    const bool removed = RemoveLearnedGlyphs(LearnedGlyphFile());
    // The built-in glyphs were in use at start-up, so they can be used again.
    static_cast<void>(UseExpGlyphs({}));
    return removed ? std::wstring() : std::wstring(kLearnedGlyphFileNotRemoved);
}

std::filesystem::path Program::LearnedGlyphFile() const {
    return svc_.folder / kLearnedGlyphFileName;
}

void Program::AutoStart() {
    if (engine_.SetMeasurementState(MeasurementMode::RUN) == WaitResult::Elapsed &&
        !svc_.state.shuttingDown) {
        svc_.debugLog.Write(L"Log AutoStart･･･ ");
    }
}

// Readings happen inside the capture timer's tick; the panel repaints at every tick, and the
// views follow the record.
void Program::OnTimer(WPARAM timerId) {
    if (timCaptureInterval_.Ticked(timerId)) {
        formMain_.Controls().RepaintPanel();
        engine_.timCaptureInterval_Timer();
    }
}

void Program::UnloadOtherWindows() {
    timCaptureInterval_.SetEnabled(false);
    if (popup_.Handle() != nullptr) {
        DestroyWindow(popup_.Handle());
    }
    formGraph_.Destroy();
    formMini_.Destroy();
}

// One print at a time: a second one would save in the same second under the same name, so
// the item stays disabled until the waiting print has saved.
void Program::menuPrtScr_Click() {
    if (screenPrintWaiting_) {
        return;
    }
    screenPrintWaiting_ = true;
    EnableMenuCommand(formMain_.Handle(), IDM_PRTSCR, false);
    // A quit during the wait ends it without saving; nothing more to do here either way.
    (void)PrintScreenDelayed(ScreenPrintContext{desktop_, waiter_, svc_.clock, svc_.debugLog,
                                                svc_.state.settings, svc_.folder,
                                                [this] { formMain_.BringToFront(); }});
    screenPrintWaiting_ = false;
    if (formMain_.Handle() != nullptr) {
        EnableMenuCommand(formMain_.Handle(), IDM_PRTSCR, true);
    }
}

// Ends on the spot: no close request, no unload handling, no summary, nothing written after the
// record. Only the journal ends first, so that none of its lines is lost.
void Program::menuEnd_Click() {
    engine_.EndForExit();
    svc_.debugLog.Write(L"End of Program ");
    ExitProcess(0);
}

void Program::menuOption_Click() {
    formOption_.Show(formMain_.Handle());
}

// Like "設定": opens the graph, or brings it to the front, at once.
void Program::menuGraph_Click() {
    if (!formGraph_.Show()) {
        svc_.debugLog.Write(L"Graph window failed");
    }
}

// Opens the small window over the game without taking the foreground from it.
void Program::menuMini_Click() {
    if (!formMini_.Show()) {
        svc_.debugLog.Write(L"Mini window failed");
    }
}

// The small window's button does what the menu item does.
void Program::miniPause_Click() {
    engine_.menuPause_Click();
}

void Program::menuVersion_Click() {
    formVersion_.ShowModal(formMain_.Handle());
}

HWND Program::FindGame() {
    const std::optional<WindowId> game = desktop_.FindWindowByTitle(kGameTitle);
    return game ? reinterpret_cast<HWND>(*game) : nullptr;
}

// The message comes from the message loop, not from inside the save nor from the waits
// between a fall's pictures (the pump holds posted tasks back there): the rest of the fall's
// sequence keeps its timing, and the box opens once it has finished.
void Program::OnPictureSaveFailed(const std::wstring& fileName) {
    if (firstSaveFailure_ || svc_.state.shuttingDown) {
        return;
    }
    firstSaveFailure_ = fileName;
    formMain_.PostTask([this] { ShowPictureSaveFailure(); });
}

void Program::ShowPictureSaveFailure() {
    if (firstSaveFailure_ && !svc_.state.shuttingDown) {
        svc_.messages.ShowMessage(L"画像を保存できませんでした。\r\n" + *firstSaveFailure_,
                                  kErrorTitle);
    }
}

} // namespace qv
