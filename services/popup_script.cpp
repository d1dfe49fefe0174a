#include "services/popup_script.h"

#include "services/program_identity.h"

#include <limits>
#include <optional>
#include <utility>

namespace qv {

namespace {

// The animation sequences; a space is ASCII, the wide blanks are ideographic spaces (U+3000).
constexpr std::wstring_view kSequenceA[] = {
    L" 壁|　　                    ",
    L" 壁|ーﾟ)                    ",
    L" 壁|彡ｻｯ!                   ",
};
constexpr std::wstring_view kSequenceB[] = {
    L" (´・ω・`)ｼｮﾎﾞｰﾝ                        ",  L" (´・ω:;.:...                           ",
    L" (´:;....::;.:. :::;.. ...               ", L"         .. ...;.:.  .. ...               ",
    L"               ...　....:::::;.・´)      ", L"                      ....:::ω・´)      ",
    L"                         (`・ω・´)ｼｬｷｰﾝ ",
};
constexpr std::wstring_view kSequenceC[] = {
    L"ヾ(^-^)ゞﾀﾗﾗ ",
    L"ヾ(._.)〃ﾙﾝﾀﾀ",
    L"ヾ(^o^)ゞﾀﾗﾗﾝ",
    L"ヾ(._.)〃ﾗﾝ  ",
};
constexpr std::wstring_view kSequenceD[] = {
    L" φ(°ー°)ﾎｫﾎｫ　   ",   L" φ(。＿。)ﾒﾓﾒﾓ　   ", L" φ(°－°)ﾌﾑﾌﾑ　   ",
    L" φ(。＿。)ｶｷｶｷ　   ", L" φ(°へ°)ﾌﾑﾌﾑ　   ",   L" □(。＿。)ｹｼｹｼｹｼｹｼ ",
};
constexpr std::wstring_view kSequenceE[] = {
    L" (´∀｀  )　                         ", L" (´∀｀| )　                         ",
    L" (´∀｀||)　                         ", L" (´∀｀|・|)　ｿｰ                     ",
    L" (´∀｀|Д・)っ|)                    ",  L" (´∀｀|Д・)っ|)＜中の人などいない！",
    L" (´∀｀||)三　ﾋﾟｼｬ!                  ", L" (´∀｀  )　                         ",
};
constexpr std::wstring_view kSequenceF[] = {
    L" (　´,_ゝ｀)ｸｯｸｯｸ･･･  ",
    L" (　´∀｀)ﾌﾊﾊﾊﾊ･･･　  ",
    L" (　 ﾟ∀ﾟ)ﾊｧｰﾊｯﾊｯﾊｯﾊ!! ",
};
constexpr std::wstring_view kSequenceG[] = {
    L" m9(^Д^)ﾌﾟｷﾞｬｰ!  　　　　　　　　　　　　　　　　　　　　　　　　　　　　　 ",
    L" ⊂｀⌒m9^Д^)⊃ﾌﾟｷﾞｬｰ!!  　　　　　　　　　　　　　　　　　　　　　　　　　 ",
    L" ﾌﾟｷﾞｬ━⊂｀⌒m9^Д^)⊃━!!!   　　　　　　　　　　　　　　　　　　　　　　　",
    L" ﾌﾟｷﾞｬ━━≡≡≡⊂｀⌒m9^Д^)⊃━━ !!!!   　　　　　　　　　　　　　　　　　",
    L" ﾌﾟｷﾞｬ━━━━≡≡≡≡⊂｀⌒m9^Д^)⊃━━━━ !!!!!   　　　　　　　　　　　 ",
    L" ﾌﾟｷﾞｬ━━━━━━━≡≡≡≡≡⊂｀⌒m9^Д^)⊃━ !!!!!!   　　　　　　　　　　",
    L" 　　　　　　　　　　　　　　　　　Σ(ﾟ∀´(┗┐ヽ(・∀・ )ﾉﾌﾟｷﾞｬﾌﾟｷﾞｬｳﾙｾｰ!! ",
};

constexpr std::wstring_view kDoNotClose = L"閉じないでください。";
constexpr std::wstring_view kTheEnd = L"おしまい";
constexpr std::wstring_view kReallyTheEnd = L"まじでおしまい";
constexpr std::wstring_view kKingOfIdlers = L" っ 「キング・オブ・ひまじん」";
constexpr std::wstring_view kFastForward = L"ここからは早送りでお送りします";

// The single-text answers, tested in this order before the animations.
struct SingleTextRow {
    std::int32_t first, last;
    std::wstring_view text;
};
constexpr SingleTextRow kSingleTexts[] = {
    {2, 3, QV_GAME_TITLE L"を起動すれば勝手に閉じますよ"},
    {4, 5, L"それともロギング終了しても閉じますけど"},
    {6, 7, L"いっそのことTallowickを閉じるとか？"},
    {10, 11, L"ちょｗおまっｗｗしつけーってｗｗｗ"},
    {12, 13, L"いい加減にしろやｗ"},
    {14, 15, L"・・・"},
    {16, 16, L"あんたも大概しつこいね。"},
    {17, 17, L"ｳｿﾃﾞｽ"},
    {18, 18, L"その代わり・・・"},
};

constexpr std::wstring_view kFormatJoke[] = {
    L"ハードディスクフォーマット\r\n始めるよ！",
    L"Ｂドライブフォーマット開始・・・",
    L"え、Ｂドライブなんて無い？",
    L"Σ(ﾟдﾟlll)ｶﾞｰﾝ",
};
constexpr std::wstring_view kOnlyJoking[] = {
    L"ただの冗談だよっ",
    L"安心汁！",
};

CloseRequestStep Step(std::span<const std::wstring_view> texts, std::vector<int> waits) {
    return CloseRequestStep{{texts.begin(), texts.end()}, std::move(waits)};
}

CloseRequestStep Single(std::wstring_view text) {
    return CloseRequestStep{{text}, {}};
}

std::vector<int> Repeat(int first, int then, int times) {
    std::vector<int> waits{first};
    waits.insert(waits.end(), static_cast<std::size_t>(times), then);
    return waits;
}

std::optional<CloseRequestStep> AnimatedStep(std::int32_t n) {
    switch (n) {
    case 19:
        return Step(kFormatJoke, {2000, 2000, 2000});
    case 20:
        return Step(kOnlyJoking, {2000});
    case 25:
        return Step(kSequenceA, {2000, 1000});
    case 30:
        return Step(kSequenceB, Repeat(2000, 1000, 5));
    case 35:
        return Step(kSequenceC, {1000, 1000, 1000});
    case 40:
        return Step(kSequenceD, std::vector<int>(5, 1000));
    case 45:
        return Step(kSequenceE, {2000, 1000, 1000, 2000, 1000, 1000, 1000});
    case 50:
        return Step(kSequenceF, {2000, 2000});
    case 55:
        return Step(kSequenceG, std::vector<int>(6, 1000));
    case 59:
        return Single(kFastForward);
    case 60:
        return Step(kSequenceA, {1000, 500});
    case 65:
        return Step(kSequenceB, Repeat(1000, 500, 5));
    case 70:
        return Step(kSequenceC, {500, 500, 500});
    case 75:
        return Step(kSequenceD, std::vector<int>(5, 500));
    case 80:
        return Step(kSequenceE, Repeat(1000, 500, 6));
    case 85:
        return Step(kSequenceF, {1000, 1000});
    case 90:
        return Step(kSequenceG, std::vector<int>(6, 1000));
    default:
        return std::nullopt;
    }
}

} // namespace

std::span<const std::wstring_view> CloseRequestSequence(char letter) {
    switch (letter) {
    case 'A':
        return kSequenceA;
    case 'B':
        return kSequenceB;
    case 'C':
        return kSequenceC;
    case 'D':
        return kSequenceD;
    case 'E':
        return kSequenceE;
    case 'F':
        return kSequenceF;
    case 'G':
        return kSequenceG;
    default:
        return {};
    }
}

CloseRequestStep CloseRequestStepFor(std::int32_t n) {
    for (const SingleTextRow& row : kSingleTexts) {
        if (n >= row.first && n <= row.last) {
            return Single(row.text);
        }
    }
    if (auto animated = AnimatedStep(n)) {
        return *std::move(animated);
    }
    if (n == 95 || n == 100 || n == 105) {
        return Single(L"暇ですか？");
    }
    if (n == 110) {
        return Single(L"ちょｗどんだけ暇ですかっ！？");
    }
    if (n >= 200) {
        return Single(kKingOfIdlers);
    }
    if (n >= 111) {
        return Single(kReallyTheEnd);
    }
    if (n >= 21) {
        return Single(kTheEnd);
    }
    return Single(kDoNotClose);
}

bool CloseRequestScript::PlayCloseRequestStep(PopupScriptHost& host, Waiter& waiter) {
    const std::wstring remembered = host.LabelText();
    // Held at the top rather than overflowing: from 200 on every attempt gets the same answer.
    if (attempts_ < std::numeric_limits<std::int32_t>::max()) {
        ++attempts_;
    }
    const CloseRequestStep step = CloseRequestStepFor(attempts_);
    for (std::size_t i = 0; i < step.texts.size(); ++i) {
        host.SetLabelText(step.texts[i]);
        if (i < step.waits.size() &&
            waiter.WaitMilliseconds(step.waits[i]) != WaitResult::Elapsed) {
            return false;
        }
    }
    host.RepaintLabel();
    if (waiter.WaitMilliseconds(1000) != WaitResult::Elapsed) {
        return false;
    }
    host.SetLabelText(remembered);
    host.RepaintLabel();
    return true;
}

} // namespace qv
