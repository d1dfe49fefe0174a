// The demo game's figure: its command line and the scripted figure of the demo run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::demo {

inline constexpr std::uint64_t kDefaultFigure = 1234567;
// Steps of the scripted figure: one every two seconds, each a rise of 55,000 to 59,000.
inline constexpr unsigned kStepMillis = 2000;
inline constexpr std::uint64_t kStepRise = 55000;
inline constexpr unsigned kRiseVariations = 5; // a thousand more at each, then round again
// The total EXP of the demo's first level; the default figure is 82.30 % of it.
inline constexpr std::uint64_t kFirstLevelTotal = 1500000;
// The EXP strip is drawn 1 to kMaxScale times its size (--scale), as a game with its interface
// scaled shows it; the largest still fits the window.
inline constexpr int kMaxScale = 3;

// The design's client area; --client makes it larger, as other resolutions and window modes do.
inline constexpr int kDesignClientWidth = 800;
inline constexpr int kDesignClientHeight = 600;
inline constexpr int kMaxClientSide = 4096;

struct Options {
    std::uint64_t figure = kDefaultFigure;
    bool scripted = false;                // --demo
    bool testMenu = false;                // --menu
    std::optional<int> x, y;              // --pos X Y (outer window position)
    int scale = 1;                        // --scale N
    int clientWidth = kDesignClientWidth; // --client W H
    int clientHeight = kDesignClientHeight;
    // --at X Y: the strip's top-left corner in the client area, with HP and MP beside it;
    // without it the strip is at region 2's default place, alone.
    std::optional<int> atX, atY;
};

// Parses the arguments after the program name; nothing on an unknown or malformed one.
inline std::optional<Options> ParseOptions(const std::vector<std::wstring>& args) {
    Options options;
    auto number = [](const std::wstring& text) -> std::optional<std::uint64_t> {
        if (text.empty() || text.size() > 18 ||
            text.find_first_not_of(L"0123456789") != std::wstring::npos) {
            return std::nullopt;
        }
        return std::stoull(text);
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--demo") {
            options.scripted = true;
        } else if (arg == L"--menu") {
            options.testMenu = true;
        } else if (arg == L"--exp" && i + 1 < args.size()) {
            auto value = number(args[++i]);
            if (!value) {
                return std::nullopt;
            }
            options.figure = *value;
        } else if (arg == L"--scale" && i + 1 < args.size()) {
            auto value = number(args[++i]);
            if (!value || *value < 1 || *value > kMaxScale) {
                return std::nullopt;
            }
            options.scale = static_cast<int>(*value);
        } else if ((arg == L"--client" || arg == L"--at") && i + 2 < args.size()) {
            auto a = number(args[i + 1]);
            auto b = number(args[i + 2]);
            if (!a || !b || *a > kMaxClientSide || *b > kMaxClientSide) {
                return std::nullopt;
            }
            if (arg == L"--at") {
                options.atX = static_cast<int>(*a);
                options.atY = static_cast<int>(*b);
            } else if (*a == 0 || *b == 0) {
                return std::nullopt;
            } else {
                options.clientWidth = static_cast<int>(*a);
                options.clientHeight = static_cast<int>(*b);
            }
            i += 2;
        } else if (arg == L"--pos" && i + 2 < args.size()) {
            auto x = number(args[i + 1]);
            auto y = number(args[i + 2]);
            if (!x || !y || *x > 10000 || *y > 10000) {
                return std::nullopt;
            }
            options.x = static_cast<int>(*x);
            options.y = static_cast<int>(*y);
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The total EXP of the level a figure is in: kFirstLevelTotal, and ten times as much for each
// digit more, so that every figure has its share of a level to show.
inline std::uint64_t LevelTotal(std::uint64_t figure) {
    std::uint64_t total = kFirstLevelTotal;
    while (figure >= total && total <= UINT64_MAX / 10) {
        total *= 10;
    }
    return total;
}

// The percent the game draws after the figure's delimiter, as one of its clients does: the
// share of the level's total cut off at two decimals, a comma as the mark ("82,30%").
inline std::string PercentText(std::uint64_t figure) {
    const std::uint64_t hundredths = figure / (LevelTotal(figure) / 10000);
    const std::uint64_t cents = hundredths % 100;
    return std::to_string(hundredths / 100) + (cents < 10 ? ",0" : ",") + std::to_string(cents) +
           "%";
}

// The scripted figure at a step: it rises at every step, and when it reaches the level's total
// it goes on from the excess in the next level of the same total, as a level-up does (from the
// default figure, at steps 5 and 31: 10 s and a minute into the run).
inline std::uint64_t ScriptedFigure(std::uint64_t start, unsigned step) {
    const std::uint64_t total = LevelTotal(start);
    std::uint64_t figure = start;
    for (unsigned i = 1; i <= step; ++i) {
        figure = (figure + kStepRise + 1000 * (i % kRiseVariations)) % total;
    }
    return figure;
}

} // namespace qv::demo
