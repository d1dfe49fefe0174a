#include "config/config_file.h"

#include "base/ansi_text.h"
#include "base/column_format.h"
#include "base/file_copy.h"
#include "base/file_replace.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <limits>
#include <system_error>

namespace qv {
namespace {

// Column widths of the file, in bytes.
constexpr int kRegionXYWidth = 6;
constexpr int kRegionSizeWidth = 5;
constexpr int kValueWidth = 8;

constexpr std::array<std::wstring_view, 2> kRegionComments = {
    L" キャプチャ領域1、開始座標とサイズ",
    L" キャプチャ領域2、開始座標とサイズ",
};
constexpr std::wstring_view kAutoStartComment = L", 自動開始フラグ";
constexpr std::wstring_view kIntervalComment = L", キャプチャインターバル(分)";
constexpr std::wstring_view kBeepComment = L", キャプチャ時に音を鳴らす";
constexpr std::wstring_view kStartDelayComment = L", 起動時にメイプルストーリ起動確認遅延時間(秒)";

constexpr std::wstring_view kReadFailedTitle = L"設定ファイル読込み";
constexpr std::wstring_view kReadFailedText =
    L"読込みできない設定ファイルです\r\n初期値で継続します\r\n";
constexpr std::wstring_view kWriteFailedTitle = L"設定ファイル書き込み";
constexpr std::wstring_view kWriteFailedText = L"設定をファイルに保存できませんでした。";

// The stored lines never need more than this; a larger file is read only this far.
constexpr std::size_t kMaxReadBytes = 1 << 20;

std::wstring Column(const ColumnValue& value, int width) {
    // The widths above always leave the field room, so FormatColumn cannot refuse them.
    return FormatColumn(value, width, 1, 0, true).value_or(L" ");
}

std::wstring Column(std::int32_t value, int width) {
    return Column(ColumnValue{std::int64_t{value}}, width);
}

std::wstring Column(bool value, int width) {
    return Column(ColumnValue{value}, width);
}

std::wstring RegionLine(const CaptureRegion& r, std::wstring_view comment) {
    std::wstring line;
    line += Column(r.x, kRegionXYWidth) + L",";
    line += Column(r.y, kRegionXYWidth) + L",";
    line += Column(r.width, kRegionSizeWidth) + L",";
    line += Column(r.height, kRegionSizeWidth) + L",";
    line += comment;
    return line;
}

// ---- Reading -------------------------------------------------------------------------------

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// The leading signed decimal integer of a number item; the rest of the item is ignored.
std::optional<std::int32_t> LeadingInt32(std::string_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        i = 1;
    }
    if (i >= text.size() || !IsDigit(text[i])) {
        return std::nullopt;
    }
    // Accumulate the magnitude; the negative range is one larger.
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// A whole text that is a decimal number ("1", "-0", "2.5", ".0"): whether it is non-zero.
std::optional<bool> NumberTruth(std::string_view text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool anyDigit = false;
    bool nonZero = false;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            anyDigit = true;
            nonZero = nonZero || c != '0';
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    return nonZero;
}

std::optional<bool> TruthValue(std::string_view text) {
    if (EqualsIgnoringCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(text, "false")) {
        return false;
    }
    return NumberTruth(text);
}

// Items separated by commas and line ends; blanks around an item are ignored.
class ItemReader {
  public:
    explicit ItemReader(std::string_view data) : data_(data) {}

    std::optional<std::int32_t> Number() {
        if (AtEnd()) {
            return std::nullopt;
        }
        SkipBlanks();
        const std::size_t start = pos_;
        while (!AtEnd() && !IsBlank(Peek()) && Peek() != ',' && !IsLineEnd(Peek())) {
            ++pos_;
        }
        const std::string_view text = data_.substr(start, pos_ - start);
        // Blanks between the number and a following comma belong to the separator;
        // otherwise the blank itself separated the number from the next item.
        SkipBlanks();
        SkipSeparator();
        return LeadingInt32(text);
    }

    std::optional<std::string_view> Text() {
        if (AtEnd()) {
            return std::nullopt;
        }
        SkipBlanks();
        const std::size_t start = pos_;
        while (!AtEnd() && Peek() != ',' && !IsLineEnd(Peek())) {
            ++pos_;
        }
        std::string_view text = data_.substr(start, pos_ - start);
        while (!text.empty() && IsBlank(text.back())) {
            text.remove_suffix(1);
        }
        SkipSeparator();
        return text;
    }

    std::optional<bool> Truth() {
        const auto text = Text();
        return text ? TruthValue(*text) : std::nullopt;
    }

  private:
    bool AtEnd() const { return pos_ >= data_.size(); }
    char Peek() const { return data_[pos_]; }

    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek())) {
            ++pos_;
        }
    }

    // A comma, or one line end (CR LF, CR or LF).
    void SkipSeparator() {
        if (AtEnd()) {
            return;
        }
        if (Peek() == ',' || Peek() == '\n') {
            ++pos_;
        } else if (Peek() == '\r') {
            ++pos_;
            if (!AtEnd() && Peek() == '\n') {
                ++pos_;
            }
        }
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

// Assigns a read value, or notes that the file is unreadable.
template <typename T> bool Take(std::optional<T> item, T& target) {
    if (!item) {
        return false;
    }
    target = *item;
    return true;
}

bool ReadRegion(ItemReader& in, CaptureRegion& r) {
    return Take(in.Number(), r.x) && Take(in.Number(), r.y) && Take(in.Number(), r.width) &&
           Take(in.Number(), r.height) && in.Text().has_value();
}

// ---- Files ---------------------------------------------------------------------------------

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(kMaxReadBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Every stored field; the debug mode stays as it is.
void AssignStoredFields(Settings& target, const Settings& source) {
    const bool debugMode = target.debugMode;
    target = source;
    target.debugMode = debugMode;
}

ConfigFileResult Save(const ConfigFileContext& context) {
    const std::filesystem::path& folder = context.programFolder;
    const std::string bytes = FormatConfigFile(context.settings);
    if (ReplaceFile(folder / std::wstring(kConfigFileName), bytes)) {
        return ConfigFileResult::Saved;
    }
    context.messages.ShowMessage(kWriteFailedText, kWriteFailedTitle);
    return ConfigFileResult::SaveFailed;
}

ConfigFileResult ResetAndSave(const ConfigFileContext& context) {
    AssignStoredFields(context.settings, DefaultSettings());
    return Save(context);
}

ConfigFileResult Read(const ConfigFileContext& context) {
    const std::filesystem::path path = context.programFolder / std::wstring(kConfigFileName);
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (!exists && !ec) {
        return ResetAndSave(context);
    }
    // An error while looking is no proof that the file is missing: it is read like any other.
    const std::optional<std::string> bytes = exists ? ReadFileBytes(path) : std::nullopt;
    const std::optional<Settings> read = bytes ? ParseConfigFile(*bytes) : std::nullopt;
    if (read) {
        AssignStoredFields(context.settings, *read);
        return ConfigFileResult::Read;
    }
    context.messages.ShowMessage(kReadFailedText, kReadFailedTitle);
    if (!CopyFileReplacing(path, context.programFolder / std::wstring(kConfigBackupFileName))) {
        // Without a backup the file may be the only copy of the user's settings.
        AssignStoredFields(context.settings, DefaultSettings());
        if (context.writeDebugLog) {
            context.writeDebugLog(L"ConfigFile Kept (Backup Failed)  " + path.wstring());
        }
        return ConfigFileResult::Kept;
    }
    return ResetAndSave(context);
}

ConfigFileResult RunFileWork(ConfigFileMode mode, const ConfigFileContext& context) {
    switch (mode) {
    case ConfigFileMode::READ:
        return Read(context);
    case ConfigFileMode::INIT:
        return ResetAndSave(context);
    case ConfigFileMode::SAVE:
        break;
    }
    return Save(context);
}

} // namespace

std::string FormatConfigFile(const Settings& settings) {
    std::wstring text;
    for (std::size_t i = 0; i < settings.captureRegions.size(); ++i) {
        text += RegionLine(settings.captureRegions[i], kRegionComments[i]) + L"\r\n";
    }
    text += Column(settings.autoStart, kValueWidth) + std::wstring(kAutoStartComment) + L"\r\n";
    text +=
        Column(settings.captureInterval, kValueWidth) + std::wstring(kIntervalComment) + L"\r\n";
    text += Column(settings.beepOnCapture, kValueWidth) + std::wstring(kBeepComment) + L"\r\n";
    text += Column(settings.startDelay, kValueWidth) + std::wstring(kStartDelayComment) + L"\r\n";
    text += L"\r\n";
    return ToAnsi(text);
}

std::optional<Settings> ParseConfigFile(std::string_view bytes) {
    ItemReader in(bytes);
    Settings s;
    const bool complete = ReadRegion(in, s.captureRegions[0]) &&
                          ReadRegion(in, s.captureRegions[1]) && Take(in.Truth(), s.autoStart) &&
                          in.Text() && Take(in.Number(), s.captureInterval) && in.Text() &&
                          Take(in.Truth(), s.beepOnCapture) && in.Text() &&
                          Take(in.Number(), s.startDelay) && in.Text();
    if (!complete || !IsRunnable(s)) {
        return std::nullopt;
    }
    return s;
}

ConfigFileResult ProcessConfigFile(ConfigFileMode mode, const ConfigFileContext& context) {
    const ConfigFileResult result = RunFileWork(mode, context);
    if (context.afterFileWork) {
        context.afterFileWork();
    }
    return result;
}

} // namespace qv
