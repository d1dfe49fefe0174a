// The rules of the numeric input dialog that need no window: how a text is read as a number,
// which characters the entry may hold, what each typed key does, the "<" and ">" steps and
// the bound check of "決 定".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// What InputCheckBox returns when the user cancels or closes the dialog. It lies outside
// every range the options dialog offers.
inline constexpr double InputCancelled = 19999;

// The number a text begins with. Blanks are skipped wherever they stand; then an optional
// sign, digits, an optional decimal point with digits and an optional exponent (E or e,
// optional sign, digits) are read as far as they fit. A text without such a beginning
// gives 0. A number too large for a double gives an infinity of its sign.
double ReadNumber(std::wstring_view text);

// Digits, space, "-", ".", "E" and "e" only; every other character (a double-byte one too)
// makes the entry invalid.
bool HasOnlyPermittedCharacters(std::wstring_view text);

// A number in its shortest decimal form: 5 not 5.0, 12.5, 1E22 (never a "+", so that the
// text can be read back by the entry's own rule).
std::wstring ShortestDecimal(double value);

// Nearest whole number, exact halves to the even neighbour; nothing when it does not fit a
// signed 32-bit integer (or is not a number).
std::optional<std::int32_t> RoundHalfToEven(double value);

// What a character typed into the entry does, before the text box sees it.
enum class EntryKey {
    Pass,       // digits, "-", ".", "E", "e", Backspace (8) and 127 (Ctrl+Backspace)
    FocusEnter, // Enter (13): the focus moves to "決 定"; nothing is accepted
    Suppress,   // anything else, space and the clipboard shortcuts included
};
EntryKey ClassifyEntryKey(wchar_t character);

// The parameters of one InputCheckBox call, each number as text (as the caller holds it).
struct NumberEntryRequest {
    std::wstring min;
    std::wstring max;
    std::wstring ini; // shown as it stands
    std::wstring increment;
    std::wstring msg;   // the prompt; may hold CR LF
    std::wstring title; // empty: the dialog's own title
};

inline constexpr std::wstring_view kDefaultEntryTitle = L"パラメータ入力";

// The dialog-level values of one call.
struct NumberEntrySession {
    double current = 0;
    double lower = 0;
    double upper = 0;
    double step = 0; // never negative

    // Bounds in either order; the step's sign is dropped.
    static NumberEntrySession Start(const NumberEntryRequest& request);
};

// ">" (up) or "<" (down) on the entry text. Nothing when the text holds a character that is
// not permitted (the entry and the session then stay as they were); otherwise the new entry
// text. Clamps on the stepping side only. An entry too large for a double counts as beyond
// the bound on its side.
enum class StepDirection { Up, Down };
std::optional<std::wstring> StepEntry(std::wstring_view entry, StepDirection direction,
                                      NumberEntrySession& session);

// "決 定": the entry is read into the session's current value (unless a character is not
// permitted) and checked against the inclusive bounds.
enum class EntryCheck { Accepted, InvalidCharacter, BelowLower, AboveUpper };
EntryCheck CheckEntry(std::wstring_view entry, NumberEntrySession& session);

// The message box each refusal shows: text and title. Empty for Accepted.
struct EntryMessage {
    std::wstring_view text;
    std::wstring_view title;
};
EntryMessage MessageFor(EntryCheck check);

} // namespace qv
