// Text, paths and files for the driver. Conversions use the system calls directly, so the
// driver never shares a fault with the conversion code of the program under test.
#include "tools/driver/driver.h"

#include <atomic>
#include <thread>

namespace qv::e2e {

namespace {

constexpr UINT kFileCodePage = 932;
constexpr Millis kPollStep{50};

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (ok()) {
            CloseHandle(h_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

bool DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring path = JoinPath(folder, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(folder.c_str()) != 0;
}

std::wstring Convert(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) {
        return {};
    }
    int n =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

} // namespace

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Widen(std::string_view utf8) {
    return Convert(utf8, CP_UTF8);
}

std::wstring WindowsPathFromUnix(std::string_view unixPath) {
    std::wstring out = L"Z:" + Widen(unixPath);
    for (wchar_t& c : out) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (out.size() > 3 && out.back() == L'\\') {
        out.pop_back();
    }
    return out;
}

std::wstring ExeDirectory() {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::wstring path(buffer, n);
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring out(folder);
    if (!out.empty() && out.back() != L'\\' && out.back() != L'/') {
        out += L'\\';
    }
    out += name;
    return out;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t stop = (end > start && text[end - 1] == L'\r') ? end - 1 : end;
        lines.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[16384];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    return bytes;
}

std::optional<std::wstring> ReadAnsiText(const std::wstring& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return Convert(*bytes, kFileCodePage);
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& condition, Millis timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

bool WaitForFileLine(const std::wstring& path, const std::function<bool(std::wstring_view)>& match,
                     Millis timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::optional<std::wstring> text;
    for (;;) {
        text = ReadAnsiText(path);
        if (text) {
            for (const auto& line : SplitLines(*text)) {
                if (match(line)) {
                    return true;
                }
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    std::fprintf(stderr, "WaitForFileLine: no matching line in %s after %lld ms; %s\n",
                 Utf8(path).c_str(), static_cast<long long>(timeout.count()),
                 text ? ("its text:\n" + Utf8(*text)).c_str() : "the file cannot be read");
    return false;
}

bool WaitForLineEnding(const std::wstring& path, std::wstring_view suffix, Millis timeout) {
    return WaitForFileLine(
        path, [suffix](std::wstring_view line) { return line.ends_with(suffix); }, timeout);
}

RunFolder::RunFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0) {
        return;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = JoinPath(
            temp, L"qv-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(counter++) + L"-" + std::to_wstring(GetTickCount() % 100000));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    std::fprintf(stderr, "RunFolder: cannot create a folder under %s\n", Utf8(temp).c_str());
}

RunFolder::~RunFolder() {
    if (path_.empty()) {
        return;
    }
    if (keep_) {
        std::fprintf(stderr, "RunFolder: kept %s\n", Utf8(path_).c_str());
        return;
    }
    // A program that has just exited may still hold a file for a moment.
    for (int attempt = 0; attempt < 20 && !DeleteTree(path_); ++attempt) {
        std::this_thread::sleep_for(Millis(100));
    }
}

bool RunFolder::CopyIn(const std::wstring& source, std::wstring_view name) const {
    std::wstring target(name);
    if (target.empty()) {
        size_t slash = source.find_last_of(L"\\/");
        target = slash == std::wstring::npos ? source : source.substr(slash + 1);
    }
    if (!CopyFileW(source.c_str(), File(target).c_str(), FALSE)) {
        std::fprintf(stderr, "RunFolder: cannot copy %s (error %lu)\n", Utf8(source).c_str(),
                     GetLastError());
        return false;
    }
    return true;
}

} // namespace qv::e2e
