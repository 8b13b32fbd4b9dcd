#include "ui/HelpLayout.h"

#include "text/Paths.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <unordered_map>

namespace wavora {

const char* const HelpCutMark = "（ページが長すぎるので、ここから先は表示できません）";

TextFont helpFont(HelpFontKind kind) {
    switch (kind) {
    case HelpFontKind::Large:
        return {18, 400};
    case HelpFontKind::Bold:
        return {15, 700};
    case HelpFontKind::LargeBold:
        return {18, 900};
    case HelpFontKind::Body:
        break;
    }
    return {15, 400};
}

int HelpPage::surfaceHeight() const {
    return std::clamp(scrollHeight(), HelpPageMinHeight, HelpPageMaxHeight);
}

namespace {

// "誂" in Shift-JIS. Its second byte is the ASCII 'o', which is why the page
// is always walked character by character.
constexpr unsigned char PictureLead = 0xE6, PictureTrail = 0x6F;
constexpr int PictureNameMaxChars = 260;

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::size_t charLength(std::string_view s, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

std::size_t charCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i))
        ++n;
    return n;
}

// The start of the character that holds byte `pos` (or `pos` itself).
std::size_t charStartAtOrBefore(std::string_view s, std::size_t pos) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size() && i <= pos; i += charLength(s, i))
        start = i;
    return start;
}

class Layouter {
  public:
    Layouter(Platform& p, const std::string& pagePath, const HelpPictureLoader& load)
        : platform_(p), pagePath_(pagePath), load_(load) {
        bodyHeight_ = platform_.textExtent(helpFont(HelpFontKind::Body), "あ").height;
        if (bodyHeight_ <= 0) bodyHeight_ = helpFont(HelpFontKind::Body).height;
        markHeight_ = bodyHeight_;
    }

    HelpPage run(std::string_view text) {
        if (text.size() > HelpTextMaxBytes) {
            // Cut at the last whole line that fits, and say so at the end.
            std::size_t end = text.rfind('\n', HelpTextMaxBytes);
            text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
            page_.cut = true;
        }
        std::size_t pos = 0;
        while (pos < text.size() && !done_) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size(); // a missing final LF is supplied
            std::string line;
            for (char c : text.substr(pos, end - pos))
                if (static_cast<unsigned char>(c) >= 32) line += c;
            sourceLine(line);
            pos = end + 1;
        }
        if (page_.cut) addCutMark();
        page_.bottom = nextTop_;
        return std::move(page_);
    }

  private:
    // A line's width is the sum of its characters' widths: each character is
    // measured as it is added (a distinct one once per font), so a long line
    // costs what as many short lines cost, not the square of its length.
    int charWidth(std::string_view ch) { // one character: one or two bytes
        auto byte = [&](std::size_t k) {
            return k < ch.size() ? static_cast<std::uint32_t>(static_cast<unsigned char>(ch[k])) : 0u;
        };
        std::uint32_t key = static_cast<std::uint32_t>(cur_.font) << 24 |
                            static_cast<std::uint32_t>(ch.size()) << 16 | byte(0) << 8 | byte(1);
        auto [it, added] = widths_.try_emplace(key, 0);
        if (added) it->second = platform_.textExtent(helpFont(cur_.font), shiftJisToUtf8(ch)).width;
        return it->second;
    }

    bool startLine(HelpFontKind font, int height) {
        if (nextTop_ + height + markHeight_ > HelpPageMaxHeight) {
            page_.cut = true;
            done_ = true;
            return false;
        }
        cur_ = HelpLine{};
        curWidths_.clear();
        curWidth_ = 0;
        open_ = true;
        cur_.top = nextTop_;
        cur_.height = height;
        cur_.font = font;
        return true;
    }

    void finishLine() {
        if (!open_) return;
        open_ = false;
        nextTop_ = cur_.top + cur_.height;
        page_.lines.push_back(std::move(cur_));
        cur_ = HelpLine{};
    }

    // `bytes` is one character, or blanks of `width` each.
    void append(std::string_view bytes, Pixel colour, int width, bool blanks = false) {
        cur_.sjis.append(bytes);
        cur_.colour.insert(cur_.colour.end(), bytes.size(), colour);
        for (std::size_t k = 0; k < bytes.size(); ++k)
            curWidths_.push_back(blanks || k == 0 ? width : 0);
        curWidth_ += blanks ? width * static_cast<int>(bytes.size()) : width;
    }

    void sourceLine(std::string_view line) {
        HelpFontKind font = HelpFontKind::Body;
        std::string_view mark = line.substr(0, 2);
        if (mark == "[[")
            font = HelpFontKind::Large;
        else if (mark == "{{")
            font = HelpFontKind::Bold;
        else if (mark == "[{" || mark == "{[")
            font = HelpFontKind::LargeBold;
        bool short_ = charCount(line) < 3;
        if (font != HelpFontKind::Body) line.remove_prefix(2);
        lineHeight_ = font == HelpFontKind::Large || font == HelpFontKind::LargeBold ? 18 : bodyHeight_;
        if (!startLine(font, lineHeight_)) return;
        if (!short_) walk(line);
        finishLine();
    }

    void walk(std::string_view s) {
        Pixel colour = Black;
        std::size_t i = 0;
        while (i < s.size() && !done_) {
            if (s.substr(i, 2) == "((" && i + 2 < s.size() &&
                std::string_view("rbg").find(s[i + 2]) != std::string_view::npos) {
                colour = s[i + 2] == 'r' ? HelpRed : s[i + 2] == 'b' ? HelpBlue : HelpGreen;
                i += 3;
                continue;
            }
            if (static_cast<unsigned char>(s[i]) == PictureLead && i + 1 < s.size() &&
                static_cast<unsigned char>(s[i + 1]) == PictureTrail) {
                i = picture(s, i + 2);
                continue;
            }
            std::size_t n = charLength(s, i);
            flowAroundPictures();
            append(s.substr(i, n), colour, charWidth(s.substr(i, n)));
            i += n;
            wrapIfNeeded();
        }
    }

    // The name after "誂" runs to the first "." and three characters more.
    std::size_t picture(std::string_view s, std::size_t i) {
        std::size_t dot = std::string_view::npos;
        int chars = 0;
        for (std::size_t j = i; j < s.size() && chars < PictureNameMaxChars; j += charLength(s, j), ++chars)
            if (s[j] == '.') {
                dot = j;
                break;
            }
        if (dot == std::string_view::npos) {
            platform_.messageBox(
                {"「誂」のあとに拡張子がありません。 ファイル名＝" + pagePath_, "HelpDialogChange"});
            page_.stopped = true;
            done_ = true;
            return s.size();
        }
        std::size_t end = dot + 1;
        for (int k = 0; k < 3 && end < s.size(); ++k)
            end += charLength(s, end);
        std::string name = shiftJisToUtf8(s.substr(i, end - i));
        std::shared_ptr<const Surface> bitmap = load_ ? load_(name) : nullptr;
        if (!bitmap) {
            platform_.messageBox({name, "画像ファイルがありません", MsgButtons::Ok, MsgIcon::Exclamation});
            return end;
        }
        HelpPicture pic{name, curWidth_, cur_.top, std::move(bitmap)};
        cur_.height = std::max(cur_.height, pic.height());
        page_.pictures.push_back(std::move(pic));
        return end;
    }

    // Text that reaches a picture on its own line jumps past it, with two
    // blanks to spare.
    void flowAroundPictures() {
        for (const HelpPicture& pic : page_.pictures) {
            if (cur_.top < pic.y || cur_.top >= pic.y + pic.height()) continue;
            int w = curWidth_;
            if (w < pic.x || w >= pic.x + pic.width()) continue;
            int blank = std::max(1, charWidth(" "));
            int target = pic.x + pic.width() + 2 * blank;
            int blanks = (target - w + blank - 1) / blank;
            blanks = std::min<int>(
                blanks, static_cast<int>(HelpLineMaxBytes - std::min(HelpLineMaxBytes, cur_.sjis.size())));
            append(std::string(static_cast<std::size_t>(std::max(0, blanks)), ' '), Black, charWidth(" "), true);
        }
    }

    // A line that grows past the wrap width gives its last two bytes (never
    // half a character) to the next display line.
    void wrapIfNeeded() {
        std::size_t size = cur_.sjis.size();
        bool tooWide = static_cast<int>(size) > HelpWrapWidth / std::max(1, lineHeight_) &&
                       curWidth_ > HelpWrapWidth;
        if (!tooWide && size < HelpLineMaxBytes) return;
        std::size_t cut = tooWide && size >= 2 ? charStartAtOrBefore(cur_.sjis, size - 2) : size;
        if (cut == 0) cut = size; // a single character wider than the page stays where it is
        std::string tail = cur_.sjis.substr(cut);
        auto from = static_cast<std::ptrdiff_t>(cut);
        std::vector<Pixel> tailColour(cur_.colour.begin() + from, cur_.colour.end());
        std::vector<int> tailWidths(curWidths_.begin() + from, curWidths_.end());
        cur_.sjis.resize(cut);
        cur_.colour.resize(cut);
        HelpFontKind font = cur_.font;
        finishLine();
        if (!startLine(font, lineHeight_)) return;
        cur_.sjis = std::move(tail);
        cur_.colour = std::move(tailColour);
        curWidth_ = std::accumulate(tailWidths.begin(), tailWidths.end(), 0);
        curWidths_ = std::move(tailWidths);
    }

    void addCutMark() {
        HelpLine mark;
        mark.top = nextTop_;
        mark.height = markHeight_;
        mark.sjis = utf8ToShiftJis(HelpCutMark);
        mark.colour.assign(mark.sjis.size(), HelpRed);
        nextTop_ += mark.height;
        page_.lines.push_back(std::move(mark));
    }

    Platform& platform_;
    const std::string& pagePath_;
    const HelpPictureLoader& load_;
    HelpPage page_;
    HelpLine cur_;
    std::vector<int> curWidths_; // per byte of cur_.sjis: its character's width on its first byte, else 0
    int curWidth_ = 0;           // of cur_.sjis
    std::unordered_map<std::uint32_t, int> widths_; // measured characters by font and bytes
    int bodyHeight_ = 15;
    int markHeight_ = 15;
    int lineHeight_ = 15;
    int nextTop_ = 0;
    bool done_ = false;
    bool open_ = false; // cur_ is a display line being filled
};

} // namespace

HelpPage layoutHelpPage(Platform& platform, std::string_view sjisText, const std::string& pagePath,
                        const HelpPictureLoader& loadPicture) {
    return Layouter(platform, pagePath, loadPicture).run(sjisText);
}

void drawHelpPage(Platform& platform, Surface& page, const HelpPage& layout) {
    page.fill(HelpBackground);
    for (const HelpLine& line : layout.lines) {
        TextFont font = helpFont(line.font);
        std::size_t i = 0;
        int x = 0; // each run starts where the ones before it end
        while (i < line.sjis.size()) {
            std::size_t j = i;
            while (j < line.sjis.size() && line.colour[j] == line.colour[i])
                ++j;
            std::string run = shiftJisToUtf8(line.sjis.substr(i, j - i));
            platform.drawTextInFont(page, x, line.top, run, line.colour[i], font);
            if (j < line.sjis.size()) x += platform.textExtent(font, run).width;
            i = j;
        }
    }
    for (const HelpPicture& pic : layout.pictures)
        if (pic.bitmap) copyPixels(page, pic.x, pic.y, *pic.bitmap, 0, 0, pic.width(), pic.height());
}

std::string readHelpText(const std::string& pathUtf8) {
    std::ifstream in(pathFromUtf8(pathUtf8), std::ios::binary);
    if (!in) return {};
    std::string text(HelpTextMaxBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

} // namespace wavora
