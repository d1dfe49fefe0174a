// The parts of the code page 932 conversion that do not depend on the platform.
#include "base/ansi_text.h"

namespace qv {

std::size_t AnsiLength(std::wstring_view text) {
    return ToAnsi(text).size();
}

} // namespace qv
