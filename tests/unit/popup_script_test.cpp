// The answers to close attempts of the message popup: which step each attempt gets, the
// texts and waits of the animations, and the message that comes back afterwards.
#include "services/popup_script.h"
#include "services/program_identity.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace qv {
namespace {

std::vector<std::wstring> Texts(const CloseRequestStep& step) {
    return {step.texts.begin(), step.texts.end()};
}

std::vector<std::wstring> Texts(std::span<const std::wstring_view> sequence) {
    return {sequence.begin(), sequence.end()};
}

std::wstring SingleText(std::int32_t n) {
    const CloseRequestStep step = CloseRequestStepFor(n);
    EXPECT_EQ(step.texts.size(), 1u) << "attempt " << n;
    EXPECT_TRUE(step.waits.empty()) << "attempt " << n;
    return step.texts.empty() ? L"" : std::wstring(step.texts[0]);
}

TEST(CloseRequestStepTest, SingleTextAnswers) {
    struct Row {
        std::vector<std::int32_t> attempts;
        std::wstring text;
    };
    const Row rows[] = {
        {{1, 8, 9}, L"閉じないでください。"},
        {{2, 3}, QV_GAME_TITLE L"を起動すれば勝手に閉じますよ"},
        {{4, 5}, L"それともロギング終了しても閉じますけど"},
        {{6, 7}, L"いっそのことTallowickを閉じるとか？"},
        {{10, 11}, L"ちょｗおまっｗｗしつけーってｗｗｗ"},
        {{12, 13}, L"いい加減にしろやｗ"},
        {{14, 15}, L"・・・"},
        {{16}, L"あんたも大概しつこいね。"},
        {{17}, L"ｳｿﾃﾞｽ"},
        {{18}, L"その代わり・・・"},
        {{59}, L"ここからは早送りでお送りします"},
        {{95, 100, 105}, L"暇ですか？"},
        {{110}, L"ちょｗどんだけ暇ですかっ！？"},
        {{21, 22, 24, 26, 58, 61, 91, 94, 96, 106, 109}, L"おしまい"},
        {{111, 150, 195, 199}, L"まじでおしまい"},
        {{200, 201, 100000, INT32_MAX}, L" っ 「キング・オブ・ひまじん」"},
    };
    for (const Row& row : rows) {
        for (std::int32_t n : row.attempts) {
            EXPECT_EQ(SingleText(n), row.text) << "attempt " << n;
        }
    }
}

TEST(CloseRequestStepTest, EveryAttemptFrom21To110IsTheEndUnlessItHasItsOwnStep) {
    const std::vector<std::int32_t> own = {25, 30, 35, 40, 45, 50, 55,  59,  60, 65,
                                           70, 75, 80, 85, 90, 95, 100, 105, 110};
    for (std::int32_t n = 21; n <= 110; ++n) {
        const CloseRequestStep step = CloseRequestStepFor(n);
        const bool isTheEnd = step.texts.size() == 1 && step.texts[0] == L"おしまい";
        const bool hasOwn = std::find(own.begin(), own.end(), n) != own.end();
        EXPECT_NE(isTheEnd, hasOwn) << "attempt " << n;
    }
}

TEST(CloseRequestStepTest, AnimatedSteps) {
    struct Row {
        std::int32_t n;
        char sequence; // 0: the texts are listed below
        std::vector<std::wstring> texts;
        std::vector<int> waits;
    };
    const Row rows[] = {
        {19,
         0,
         {L"ハードディスクフォーマット\r\n始めるよ！", L"Ｂドライブフォーマット開始・・・",
          L"え、Ｂドライブなんて無い？", L"Σ(ﾟдﾟlll)ｶﾞｰﾝ"},
         {2000, 2000, 2000}},
        {20, 0, {L"ただの冗談だよっ", L"安心汁！"}, {2000}},
        {25, 'A', {}, {2000, 1000}},
        {30, 'B', {}, {2000, 1000, 1000, 1000, 1000, 1000}},
        {35, 'C', {}, {1000, 1000, 1000}},
        {40, 'D', {}, {1000, 1000, 1000, 1000, 1000}},
        {45, 'E', {}, {2000, 1000, 1000, 2000, 1000, 1000, 1000}},
        {50, 'F', {}, {2000, 2000}},
        {55, 'G', {}, {1000, 1000, 1000, 1000, 1000, 1000}},
        {60, 'A', {}, {1000, 500}},
        {65, 'B', {}, {1000, 500, 500, 500, 500, 500}},
        {70, 'C', {}, {500, 500, 500}},
        {75, 'D', {}, {500, 500, 500, 500, 500}},
        {80, 'E', {}, {1000, 500, 500, 500, 500, 500, 500}},
        {85, 'F', {}, {1000, 1000}},
        {90, 'G', {}, {1000, 1000, 1000, 1000, 1000, 1000}},
    };
    // The texts of each sequence, written out.
    const std::map<char, std::vector<std::wstring>> sequences = {
        {'A',
         {L" 壁|　　                    ", L" 壁|ーﾟ)                    ",
          L" 壁|彡ｻｯ!                   "}},
        {'B',
         {L" (´・ω・`)ｼｮﾎﾞｰﾝ                        ", L" (´・ω:;.:...                           ",
          L" (´:;....::;.:. :::;.. ...               ",
          L"         .. ...;.:.  .. ...               ",
          L"               ...　....:::::;.・´)      ", L"                      ....:::ω・´)      ",
          L"                         (`・ω・´)ｼｬｷｰﾝ "}},
        {'C', {L"ヾ(^-^)ゞﾀﾗﾗ ", L"ヾ(._.)〃ﾙﾝﾀﾀ", L"ヾ(^o^)ゞﾀﾗﾗﾝ", L"ヾ(._.)〃ﾗﾝ  "}},
        {'D',
         {L" φ(°ー°)ﾎｫﾎｫ　   ", L" φ(。＿。)ﾒﾓﾒﾓ　   ", L" φ(°－°)ﾌﾑﾌﾑ　   ",
          L" φ(。＿。)ｶｷｶｷ　   ", L" φ(°へ°)ﾌﾑﾌﾑ　   ", L" □(。＿。)ｹｼｹｼｹｼｹｼ "}},
        {'E',
         {L" (´∀｀  )　                         ", L" (´∀｀| )　                         ",
          L" (´∀｀||)　                         ", L" (´∀｀|・|)　ｿｰ                     ",
          L" (´∀｀|Д・)っ|)                    ", L" (´∀｀|Д・)っ|)＜中の人などいない！",
          L" (´∀｀||)三　ﾋﾟｼｬ!                  ", L" (´∀｀  )　                         "}},
        {'F', {L" (　´,_ゝ｀)ｸｯｸｯｸ･･･  ", L" (　´∀｀)ﾌﾊﾊﾊﾊ･･･　  ", L" (　 ﾟ∀ﾟ)ﾊｧｰﾊｯﾊｯﾊｯﾊ!! "}},
        {'G',
         {L" m9(^Д^)ﾌﾟｷﾞｬｰ!  　　　　　　　　　　　　　　　　　　　　　　　　　　　　　 ",
          L" ⊂｀⌒m9^Д^)⊃ﾌﾟｷﾞｬｰ!!  　　　　　　　　　　　　　　　　　　　　　　　　　 ",
          L" ﾌﾟｷﾞｬ━⊂｀⌒m9^Д^)⊃━!!!   　　　　　　　　　　　　　　　　　　　　　　　",
          L" ﾌﾟｷﾞｬ━━≡≡≡⊂｀⌒m9^Д^)⊃━━ !!!!   　　　　　　　　　　　　　　　　　",
          L" ﾌﾟｷﾞｬ━━━━≡≡≡≡⊂｀⌒m9^Д^)⊃━━━━ !!!!!   　　　　　　　　　　　 ",
          L" ﾌﾟｷﾞｬ━━━━━━━≡≡≡≡≡⊂｀⌒m9^Д^)⊃━ !!!!!!   　　　　　　　　　　",
          L" 　　　　　　　　　　　　　　　　　Σ(ﾟ∀´(┗┐ヽ(・∀・ )ﾉﾌﾟｷﾞｬﾌﾟｷﾞｬｳﾙｾｰ!! "}},
    };
    for (const Row& row : rows) {
        const CloseRequestStep step = CloseRequestStepFor(row.n);
        const std::vector<std::wstring> expected =
            row.sequence != 0 ? sequences.at(row.sequence) : row.texts;
        EXPECT_EQ(Texts(step), expected) << "attempt " << row.n;
        EXPECT_EQ(step.waits, row.waits) << "attempt " << row.n;
        EXPECT_EQ(step.waits.size() + 1, step.texts.size()) << "attempt " << row.n;
    }
}

// Character counts of every sequence text: all, ASCII spaces, ideographic spaces.
TEST(CloseRequestSequenceTest, TextsHaveTheirCharacterAndSpaceCounts) {
    struct Counts {
        std::size_t chars, spaces, wideSpaces;
    };
    struct Row {
        char sequence;
        std::vector<Counts> texts;
    };
    const Row rows[] = {
        {'A', {{25, 21, 2}, {26, 21, 0}, {26, 20, 0}}},
        {'B',
         {{38, 25, 0},
          {39, 28, 0},
          {41, 18, 0},
          {42, 28, 0},
          {39, 21, 1},
          {39, 28, 0},
          {38, 26, 0}}},
        {'C', {{11, 1, 0}, {11, 0, 0}, {11, 0, 0}, {11, 2, 0}}},
        {'D', {{15, 4, 1}, {15, 4, 1}, {15, 4, 1}, {15, 4, 1}, {15, 4, 1}, {16, 2, 0}}},
        {'E',
         {{34, 28, 1},
          {34, 27, 1},
          {34, 26, 1},
          {33, 22, 1},
          {32, 21, 0},
          {22, 1, 0},
          {33, 19, 1},
          {34, 28, 1}}},
        {'F', {{19, 3, 1}, {18, 3, 2}, {21, 3, 1}}},
        {'G',
         {{47, 4, 29},
          {47, 4, 25},
          {47, 4, 23},
          {48, 5, 17},
          {49, 6, 11},
          {49, 5, 10},
          {51, 3, 17}}},
    };
    for (const Row& row : rows) {
        const auto texts = CloseRequestSequence(row.sequence);
        ASSERT_EQ(texts.size(), row.texts.size()) << row.sequence;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::wstring_view t = texts[i];
            EXPECT_EQ(t.size(), row.texts[i].chars) << row.sequence << i + 1;
            EXPECT_EQ(std::count(t.begin(), t.end(), L' '), row.texts[i].spaces)
                << row.sequence << i + 1;
            EXPECT_EQ(std::count(t.begin(), t.end(), L'\u3000'), row.texts[i].wideSpaces)
                << row.sequence << i + 1;
        }
    }
    // A few texts whose look depends on characters that are easy to mistype.
    EXPECT_EQ(CloseRequestSequence('A')[1], L" 壁|ーﾟ)                    ");
    EXPECT_EQ(CloseRequestSequence('E')[5], L" (´∀｀|Д・)っ|)＜中の人などいない！");
    EXPECT_TRUE(CloseRequestSequence('G')[6].ends_with(L"ﾉﾌﾟｷﾞｬﾌﾟｷﾞｬｳﾙｾｰ!! "));
    EXPECT_TRUE(CloseRequestSequence('Z').empty());
}

// The popup as the script sees it; `during` runs inside a wait, as a click or a tick would.
class FakePopupLabel : public PopupScriptHost, public Waiter {
  public:
    std::wstring text = QV_GAME_TITLE L"が起動していません";
    std::vector<std::wstring> shown; // every text set, in order
    std::vector<int> waits;
    int repaints = 0;
    std::function<void(std::size_t)> during;
    std::optional<std::size_t> quitAt;

    std::wstring LabelText() const override { return text; }
    void SetLabelText(std::wstring_view t) override {
        text = t;
        shown.push_back(text);
    }
    void RepaintLabel() override { ++repaints; }
    WaitResult WaitMilliseconds(double milliseconds) override {
        const std::size_t index = waits.size();
        waits.push_back(static_cast<int>(milliseconds));
        if (during) {
            during(index);
        }
        return quitAt && index >= *quitAt ? WaitResult::QuitRequested : WaitResult::Elapsed;
    }
};

TEST(CloseRequestScriptTest, FirstAttemptShowsItsAnswerForASecondThenTheMessageReturns) {
    CloseRequestScript script;
    FakePopupLabel label;
    ASSERT_TRUE(script.PlayCloseRequestStep(label, label));
    EXPECT_EQ(script.Attempts(), 1);
    EXPECT_EQ(label.shown, (std::vector<std::wstring>{L"閉じないでください。",
                                                      QV_GAME_TITLE L"が起動していません"}));
    EXPECT_EQ(label.waits, std::vector<int>{1000});
    EXPECT_EQ(label.repaints, 2);
}

TEST(CloseRequestScriptTest, CounterKeepsCountingAcrossAttempts) {
    CloseRequestScript script;
    FakePopupLabel label;
    for (int i = 0; i < 24; ++i) {
        ASSERT_TRUE(script.PlayCloseRequestStep(label, label));
    }
    label.shown.clear();
    label.waits.clear();
    ASSERT_TRUE(script.PlayCloseRequestStep(label, label)); // the 25th: sequence A
    std::vector<std::wstring> expected = Texts(CloseRequestSequence('A'));
    expected.push_back(QV_GAME_TITLE L"が起動していません");
    EXPECT_EQ(label.shown, expected);
    EXPECT_EQ(label.waits, (std::vector<int>{2000, 1000, 1000}));
}

TEST(CloseRequestScriptTest, NestedAttemptsEachRestoreWhatTheyFound) {
    CloseRequestScript script;
    FakePopupLabel label;
    // A second close arrives in the first step's wait, while "閉じないでください。" shows.
    label.during = [&](std::size_t index) {
        if (index == 0) {
            EXPECT_TRUE(script.PlayCloseRequestStep(label, label));
        }
    };
    ASSERT_TRUE(script.PlayCloseRequestStep(label, label));
    EXPECT_EQ(script.Attempts(), 2);
    EXPECT_EQ(label.shown, (std::vector<std::wstring>{L"閉じないでください。",
                                                      QV_GAME_TITLE L"を起動すれば勝手に閉じますよ",
                                                      L"閉じないでください。",
                                                      QV_GAME_TITLE L"が起動していません"}));
    EXPECT_EQ(label.text, QV_GAME_TITLE L"が起動していません");
}

TEST(CloseRequestScriptTest, QuitDuringAWaitStopsTheStepWhereItIs) {
    CloseRequestScript script;
    FakePopupLabel label;
    for (int i = 0; i < 18; ++i) {
        ASSERT_TRUE(script.PlayCloseRequestStep(label, label));
    }
    label.shown.clear();
    label.waits.clear();
    label.quitAt = 1; // the 19th step's second wait
    EXPECT_FALSE(script.PlayCloseRequestStep(label, label));
    EXPECT_EQ(label.shown.size(), 2u);
    EXPECT_EQ(label.waits.size(), 2u);
    EXPECT_EQ(label.text, L"Ｂドライブフォーマット開始・・・");
}

} // namespace
} // namespace qv
