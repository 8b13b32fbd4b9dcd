// Native conversion through iconv; the Windows build uses code page 932 instead.
#include "text/ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace wavora {

namespace {

// One descriptor per direction and thread, opened at first use: opening one
// loads the code page's tables, which costs far more than a short text.
class Converter {
  public:
    Converter(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

std::string convert(std::string_view in, const char* from, const char* replacement) {
    thread_local Converter toShiftJis("UTF-8", "CP932");
    thread_local Converter toUtf8("CP932", "UTF-8");
    const Converter& c = std::string_view(from) == "UTF-8" ? toShiftJis : toUtf8;
    if (!c.valid()) return std::string(in);
    iconv_t cd = c.get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // a fresh start, whatever the last text left
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
    return out;
}

} // namespace

std::string utf8ToShiftJis(std::string_view utf8) { return convert(utf8, "UTF-8", "?"); }
std::string shiftJisToUtf8(std::string_view sjis) { return convert(sjis, "CP932", "\xEF\xBF\xBD"); }

} // namespace wavora
