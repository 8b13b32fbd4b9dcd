// Native conversion through iconv; the Windows build uses code page 932 instead.
#include "text/ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace wavora {

namespace {

std::string convert(std::string_view in, const char* from, const char* to, const char* replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    char buf[256];
    std::size_t pos = 0;
    while (pos < in.size()) {
        char* src = const_cast<char*>(in.data() + pos);
        std::size_t srcLeft = in.size() - pos;
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        pos = in.size() - srcLeft;
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Skip one unconvertible character (a whole UTF-8 sequence or one byte).
            out += replacement;
            std::size_t skip = 1;
            if (std::string_view(from) == "UTF-8") {
                unsigned char c = static_cast<unsigned char>(in[pos]);
                skip = (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
            }
            pos += skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string utf8ToShiftJis(std::string_view utf8) { return convert(utf8, "UTF-8", "CP932", "?"); }
std::string shiftJisToUtf8(std::string_view sjis) { return convert(sjis, "CP932", "UTF-8", "\xEF\xBF\xBD"); }

} // namespace wavora
