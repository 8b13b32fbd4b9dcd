#include "pattern/ExtractPattern.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "view/SoundView.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int ThresholdStep = 30;
constexpr int LowestRow = PatternAreaHeight - 1;

// Outside its bitmap a picture reads as white (the sum 765), so a threshold
// that has risen that far finds ink everywhere and the search always ends.
int darkness(const Surface& picture, int x, int y) {
    if (!picture.contains(x, y)) return 765;
    const Pixel p = picture.get(x, y);
    return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
}

// The lowest row of the column (rows 255 up to 1; row 0 never counts) at or
// below the threshold, or -1.
int lowestInk(const Surface& picture, int x, int threshold) {
    for (int y = LowestRow; y >= 1; --y)
        if (darkness(picture, x, y) <= threshold) return y;
    return -1;
}

} // namespace

ExtractedSpan extractPatternValues(const Surface& picture, PatternState& pattern) {
    std::vector<std::uint8_t>& buf = pattern.PatternBuf;
    for (int threshold = 0;; threshold += ThresholdStep) {
        int first = 0;
        while (first < PatternAreaWidth && lowestInk(picture, first, threshold) < 0)
            ++first;
        if (first == PatternAreaWidth) continue;
        int last = PatternAreaWidth - 1;
        while (lowestInk(picture, last, threshold) < 0)
            --last;

        std::int32_t len = 0;
        for (int x = first; x <= last && static_cast<std::size_t>(len) < buf.size(); ++x)
            if (const int row = lowestInk(picture, x, threshold); row >= 0)
                buf[static_cast<std::size_t>(len++)] = static_cast<std::uint8_t>(row);
        // Nearly unbroken: one column of the span may lack ink.
        if (len < last - first) continue;

        // The last value goes, then every step-th of the rest is kept.
        const std::int32_t step = std::max(1, pattern.PatternStep);
        const std::int32_t kept = (len - 1) / step;
        for (std::int32_t i = 0; i < kept; ++i)
            buf[static_cast<std::size_t>(i)] = buf[static_cast<std::size_t>(i * step)];
        pattern.PatternLen = kept;
        return {first, last, threshold};
    }
}

void writePattern(EditorState& s, std::vector<std::uint8_t>& target, PatternInput mode) {
    const SoundDoc& d = s.active();
    const std::int32_t len = s.pattern.PatternLen;
    // A single inked column leaves no value; there is nothing to repeat.
    if (len <= 0) return;
    std::int64_t start = 0, length = d.DataLen;
    if (d.HasSelection) {
        start = d.SelStart;
        length = d.SelLength;
    }
    start = std::max<std::int64_t>(start, 0);
    const std::int64_t end = start + std::max<std::int64_t>(length, 0);
    const std::int64_t copies = mode == PatternInput::Once ? 0 : (end - start) / len;
    const auto limit = std::min<std::int64_t>(DATALENMAX, static_cast<std::int64_t>(target.size()));
    for (std::int64_t r = 0; r <= copies; ++r)
        for (std::int32_t j = 0; j < len; ++j) {
            const std::int64_t at = start + r * len + j;
            // The range's end is checked first: a range that ends at the
            // buffers' very end is filled, not an overflow.
            if (at == end) return;
            if (at >= limit) {
                s.platform.messageBox(
                    {"オーバーした長さ=" + intText(d.DataLen - DATALENMAX), "データの長さがオーバー"});
                return;
            }
            target[static_cast<std::size_t>(at)] = s.pattern.PatternBuf[static_cast<std::size_t>(j)];
        }
}

int ExtractPattern(EditorState& s, const Surface& picture, std::vector<std::uint8_t>& target,
                   PatternInput mode) {
    const ExtractedSpan span = extractPatternValues(picture, s.pattern);
    writePattern(s, target, mode);
    repaintSlot(s, s.activeSlot());
    return span.width();
}

} // namespace wavora
