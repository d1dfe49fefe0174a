#include "app/program_win.h"

#include "app/screen_print.h"
#include "measurement/measurement_timing.h"
#include "recognition/glyph_pattern_table.h"
#include "recognition/learned_glyph_file.h"
#include "resources/resource_ids.h"
#include "services/program_identity.h"

#include <utility>

namespace qv {

Program::Program(ProgramServices services)
    : svc_(std::move(services)),
      desktop_(svc_.state.captureBuffer,
               [this](const std::wstring& name) { OnPictureSaveFailed(name); }),
      popup_(svc_.state.popupShown, waiter_), formMain_(svc_, *this, busyCursor_, Menu()),
      recognition_(svc_.state, svc_.debugLog,
                   [this](std::wstring_view t) { formMain_.Controls().SetCaptureCaption(t); }),
      engine_(svc_.state, MeasurementHost{formMain_, formMain_.Controls(), formMain_.Controls(),
                                          desktop_, waiter_, popup_, recognition_, svc_.clock,
                                          svc_.debugLog, svc_.folder}),
      formOption_(OptionDialogServices{svc_.state.settings, svc_.folder, svc_.messages,
                                       svc_.debugLog, [this] { formMain_.RelayoutDebugArea(); },
                                       [this] { UpdateCaptureBufferSize(); },
                                       [this] {
                                           formMain_.SetCaptureTimerPeriod(CaptureTimerPeriod(
                                               svc_.state.settings.captureInterval));
                                       },
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
      formGraph_(svc_.state.expSeries, [this] { return GraphCaption(); }) {
    engine_.AddReadingListener(svc_.state.expSeries);
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
        {Place::Bar, IDM_GRAPH, L"グラフ", [this] { menuGraph_Click(); }},
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

WaitResult Program::AutoStart() {
    return engine_.SetMeasurementState(MeasurementMode::RUN);
}

// Readings happen inside the capture timer's tick; the graph follows after each one.
void Program::CaptureTimerTick() {
    engine_.timCaptureInterval_Timer();
    RefreshGraphIfBehind();
}

void Program::UnloadOtherWindows() {
    if (popup_.Handle() != nullptr) {
        DestroyWindow(popup_.Handle());
    }
    formGraph_.Destroy();
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

void Program::menuEnd_Click() {
    svc_.debugLog.Write(L"End of Program ");
    // Ends on the spot: no close request, no unload handling, nothing more written.
    ExitProcess(0);
}

void Program::menuOption_Click() {
    formOption_.Show(formMain_.Handle());
}

// Like "設定": opens the graph, or brings it to the front, at once.
void Program::menuGraph_Click() {
    graphRevision_ = svc_.state.expSeries.Revision();
    if (!formGraph_.Show()) {
        svc_.debugLog.Write(L"Graph window failed");
    }
}

void Program::menuVersion_Click() {
    formVersion_.ShowModal(formMain_.Handle());
}

HWND Program::FindGame() {
    const std::optional<WindowId> game = desktop_.FindWindowByTitle(kGameTitle);
    return game ? reinterpret_cast<HWND>(*game) : nullptr;
}

void Program::RefreshGraphIfBehind() {
    if (graphRevision_ != svc_.state.expSeries.Revision()) {
        graphRevision_ = svc_.state.expSeries.Revision();
        formGraph_.Refresh();
    }
}

// The increase and the hourly rate exactly as the status panel shows them.
std::wstring Program::GraphCaption() {
    const FormMainControls& panel = formMain_.Controls();
    const std::wstring rate = panel.Caption(PanelLabel::ExpPerHour);
    return L"増加量 " + panel.Caption(PanelLabel::ElapseExp) +
           (rate.empty() ? L"" : L"    " + rate);
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
