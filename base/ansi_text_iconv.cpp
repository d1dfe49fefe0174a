// Code page 932 conversion through iconv, for the portable build (Linux and other POSIX systems).

#include "base/ansi_text.h"

#include <cerrno>
#include <iconv.h>

namespace qv {
namespace {

// One iconv conversion descriptor, closed on scope exit.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// Converts [in, in + inBytes) and appends the result to out. On an unconvertible or
// truncated input unit, appends `replacement`, skips `skipBytes` of input and goes on.
template <typename Out>
void Convert(IconvHandle& cd, const char* in, std::size_t inBytes, Out& out,
             typename Out::value_type replacement, std::size_t skipBytes) {
    using Unit = typename Out::value_type;
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = inBytes;
    Unit buffer[256];
    while (srcLeft > 0) {
        char* dst = reinterpret_cast<char*>(buffer);
        std::size_t dstLeft = sizeof(buffer);
        const std::size_t rc = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
        const int err = errno;
        out.append(buffer, (sizeof(buffer) - dstLeft) / sizeof(Unit));
        if (rc != static_cast<std::size_t>(-1) || err == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: replace the offending unit and carry on after it.
        out.push_back(replacement);
        const std::size_t skip = srcLeft < skipBytes ? srcLeft : skipBytes;
        src += skip;
        srcLeft -= skip;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    std::string out;
    IconvHandle cd("CP932", "WCHAR_T");
    if (!cd.valid()) {
        return out;
    }
    Convert(cd, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t), out, '?',
            sizeof(wchar_t));
    return out;
}

std::wstring FromAnsi(std::string_view bytes) {
    std::wstring out;
    IconvHandle cd("WCHAR_T", "CP932");
    if (!cd.valid()) {
        return out;
    }
    Convert(cd, bytes.data(), bytes.size(), out, L'\uFFFD', 1);
    return out;
}

} // namespace qv
