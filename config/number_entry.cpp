#include "config/number_entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The parts of a number as the reading rule finds them at the start of a blank-free text.
struct NumberParts {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    bool exponentNegative = false;
    std::string exponentDigits;
};

std::optional<NumberParts> SplitNumber(std::wstring_view text) {
    NumberParts parts;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        parts.negative = text[i] == L'-';
        ++i;
    }
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        parts.integerDigits += static_cast<char>(text[i]);
    }
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            parts.fractionDigits += static_cast<char>(text[i]);
        }
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == L'E' || text[i] == L'e')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) {
            negative = text[j] == L'-';
            ++j;
        }
        // An exponent without digits does not fit; the number ends before the "E".
        for (; j < text.size() && IsDigit(text[j]); ++j) {
            parts.exponentDigits += static_cast<char>(text[j]);
        }
        parts.exponentNegative = negative;
    }
    return parts;
}

// Decimal power of the leading non-zero digit, used only to tell an overflow from an
// underflow; the exponent is capped so that absurdly long ones cannot overflow an int.
long DecimalMagnitude(const NumberParts& parts) {
    const std::string digits = parts.integerDigits + parts.fractionDigits;
    const std::size_t first = digits.find_first_not_of('0');
    long exponent = 0;
    for (char d : parts.exponentDigits) {
        exponent = std::min(exponent * 10 + (d - '0'), 1000000L);
    }
    if (parts.exponentNegative) {
        exponent = -exponent;
    }
    return static_cast<long>(parts.integerDigits.size()) - static_cast<long>(first) - 1 + exponent;
}

double ToDouble(const NumberParts& parts) {
    std::string text = parts.integerDigits.empty() ? "0" : parts.integerDigits;
    if (!parts.fractionDigits.empty()) {
        text += '.' + parts.fractionDigits;
    }
    if (!parts.exponentDigits.empty()) {
        text += parts.exponentNegative ? "e-" : "e";
        text += parts.exponentDigits;
    }
    double magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const bool allZero = (parts.integerDigits + parts.fractionDigits).find_first_not_of('0') ==
                             std::string::npos;
        magnitude =
            !allZero && DecimalMagnitude(parts) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        magnitude = 0;
    }
    return parts.negative ? -magnitude : magnitude;
}

// After a step: an infinity lands on the bound of its side, anything undefined on the bound
// of the stepping side.
double SettleStep(double value, double bound, const NumberEntrySession& session) {
    if (std::isnan(value)) {
        return bound;
    }
    if (std::isinf(value)) {
        return value > 0 ? session.upper : session.lower;
    }
    return value;
}

} // namespace

double ReadNumber(std::wstring_view text) {
    std::wstring compact;
    compact.reserve(text.size());
    for (wchar_t c : text) {
        if (!IsBlank(c)) {
            compact += c;
        }
    }
    const std::optional<NumberParts> parts = SplitNumber(compact);
    return parts ? ToDouble(*parts) : 0.0;
}

bool HasOnlyPermittedCharacters(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) {
        return IsDigit(c) || c == L' ' || c == L'-' || c == L'.' || c == L'E' || c == L'e';
    });
}

std::wstring ShortestDecimal(double value) {
    if (std::isnan(value) || value == 0) {
        return L"0"; // also for -0
    }
    if (std::isinf(value)) {
        return value > 0 ? L"1E999" : L"-1E999";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::string out = text.substr(0, e);
    if (e != std::string::npos) {
        std::string exponent = text.substr(e + 1);
        const bool negative = !exponent.empty() && exponent[0] == '-';
        exponent.erase(0, exponent.find_first_not_of("+-"));
        exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
        out += negative ? "E-" : "E";
        out += exponent;
    }
    return std::wstring(out.begin(), out.end());
}

std::optional<std::int32_t> RoundHalfToEven(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) {
        rounded = floor + 1;
    }
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

EntryKey ClassifyEntryKey(wchar_t character) {
    if (IsDigit(character) || character == L'-' || character == L'.' || character == L'E' ||
        character == L'e' || character == 8 || character == 127) {
        return EntryKey::Pass;
    }
    return character == 13 ? EntryKey::FocusEnter : EntryKey::Suppress;
}

NumberEntrySession NumberEntrySession::Start(const NumberEntryRequest& request) {
    const double a = ReadNumber(request.min);
    const double b = ReadNumber(request.max);
    NumberEntrySession session;
    session.lower = b > a ? a : b;
    session.upper = b > a ? b : a;
    session.current = ReadNumber(request.ini);
    session.step = std::fabs(ReadNumber(request.increment));
    return session;
}

std::optional<std::wstring> StepEntry(std::wstring_view entry, StepDirection direction,
                                      NumberEntrySession& session) {
    if (!HasOnlyPermittedCharacters(entry)) {
        return std::nullopt;
    }
    double value = ReadNumber(entry);
    if (direction == StepDirection::Up) {
        value += session.step;
        if (value > session.upper) {
            value = session.upper;
        }
        value = SettleStep(value, session.upper, session);
    } else {
        value -= session.step;
        if (value < session.lower) {
            value = session.lower;
        }
        value = SettleStep(value, session.lower, session);
    }
    session.current = value;
    return ShortestDecimal(value);
}

EntryCheck CheckEntry(std::wstring_view entry, NumberEntrySession& session) {
    if (!HasOnlyPermittedCharacters(entry)) {
        return EntryCheck::InvalidCharacter;
    }
    session.current = ReadNumber(entry);
    if (session.current < session.lower) {
        return EntryCheck::BelowLower;
    }
    if (session.current > session.upper) {
        return EntryCheck::AboveUpper;
    }
    return EntryCheck::Accepted;
}

EntryMessage MessageFor(EntryCheck check) {
    switch (check) {
    case EntryCheck::InvalidCharacter:
        return {L"無効文字が含まれています。", L"入力チェック"};
    case EntryCheck::BelowLower:
        return {L"入力下限を超えています", L"入力エラー"};
    case EntryCheck::AboveUpper:
        return {L"入力上限を超えています", L"入力エラー"};
    case EntryCheck::Accepted:
        break;
    }
    return {};
}

} // namespace qv
