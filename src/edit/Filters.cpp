#include "edit/Filters.h"

#include "edit/EditSupport.h"
#include "edit/EffectCommands.h"
#include "edit/HeldSound.h"
#include "text/NumberText.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double MinCutoff = 20;
constexpr int MaxPasses = 4;

struct FilterCommand {
    FilterKind kind;
    const char* caption;
    int code;
};

int sampleAt(const std::vector<std::uint8_t>& b, std::size_t at, bool wide) {
    if (wide) return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
    return b[at] - 128;
}

void storeSample(std::vector<std::uint8_t>& b, std::size_t at, bool wide, double y) {
    const int v = static_cast<int>(y); // toward zero, as every conversion of the program
    if (wide) {
        const int w = std::clamp(v, -32768, 32767);
        b[at] = static_cast<std::uint8_t>(w & 0xFF);
        b[at + 1] = static_cast<std::uint8_t>((w >> 8) & 0xFF);
    } else {
        b[at] = static_cast<std::uint8_t>(std::clamp(v, -127, 127) + 128);
    }
}

// One pass over one channel, transposed direct form II. The state starts as
// it would stand after the first value forever: its output there is the
// section's gain at 0 Hz times that value.
void runSection(std::vector<double>& x, const Biquad& q) {
    if (x.empty()) return;
    const double dcGain = (q.b0 + q.b1 + q.b2) / (1 + q.a1 + q.a2);
    const double x0 = x[0], y0 = dcGain * x0;
    double z2 = q.b2 * x0 - q.a2 * y0;
    double z1 = q.b1 * x0 - q.a1 * y0 + z2;
    for (double& v : x) {
        const double in = v;
        const double y = q.b0 * in + z1;
        z1 = q.b1 * in - q.a1 * y + z2;
        z2 = q.b2 * in - q.a2 * y;
        v = y;
    }
}

// The dialog's two rows, the frequency bounded by half the rate.
void askCutoff(EditorState& s, const char* caption) {
    beginDialog(s.dialog, caption, 2);
    s.dialog.PreviewMode.filter = 1;
    s.dialog.preview.filterFrequency = 1000;
    s.dialog.preview.filterPasses = 2;
    addDialogRow(s.dialog, RowNumber, "周波数（Hz）", "1000", static_cast<float>(s.active().SRATE / 2.0), MinCutoff);
    addDialogRow(s.dialog, RowNumber, "強さ（1～4）", "2", MaxPasses, 1);
}

bool previewable(EditorState& s) {
    const PreviewParams& p = s.dialog.preview;
    return p.filterFrequency >= MinCutoff && p.filterFrequency <= s.active().SRATE / 2.0 && p.filterPasses >= 1 &&
           p.filterPasses <= MaxPasses;
}

void runFilterCommand(EditorState& s, const FilterCommand& c) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    saveEffectSource(s);
    const HeldSound before(s);
    askCutoff(s, c.caption);
    const int result = runWithPreview(s, before, [&c](EditorState& st) {
        if (previewable(st)) filterActive(st, c.kind, st.dialog.preview.filterFrequency, st.dialog.preview.filterPasses);
    });
    if (result == DialogResultCancel) return;
    const double cutoff = textToNumber(s.dialog.DialogRows[1].Value);
    const int passes = cutToInt(textToNumber(s.dialog.DialogRows[2].Value));
    filterActive(s, c.kind, cutoff, passes);
    snapshot(s, c.code);
    repaintSlot(s, before.slot());
}

} // namespace

Biquad butterworth(FilterKind kind, double cutoff, double rate) {
    const double fc = std::clamp(cutoff, 1.0, 0.49 * rate);
    const double w = 2 * Pi * fc / rate;
    const double cw = std::cos(w), alpha = std::sin(w) / std::sqrt(2.0); // Q = 1/sqrt(2)
    const double a0 = 1 + alpha;
    Biquad q;
    const double side = kind == FilterKind::LowPass ? (1 - cw) / 2 : (1 + cw) / 2;
    q.b0 = side / a0;
    q.b1 = (kind == FilterKind::LowPass ? 1 - cw : -(1 + cw)) / a0;
    q.b2 = side / a0;
    q.a1 = -2 * cw / a0;
    q.a2 = (1 - alpha) / a0;
    return q;
}

void filterSamples(std::vector<std::uint8_t>& samples, std::int64_t start, std::int64_t length, int bits,
                   int channels, const Biquad& section, int passes) {
    const bool wide = bits == 16;
    const std::int64_t width = wide ? 2 : 1;
    const std::int64_t frame = width * std::max(channels, 1);
    start = std::max<std::int64_t>(start, 0);
    start -= start % frame; // a frame's channels belong together
    const std::int64_t end = std::min<std::int64_t>(start + std::max<std::int64_t>(length, 0),
                                                    static_cast<std::int64_t>(samples.size()));
    const std::int64_t frames = std::max<std::int64_t>(end - start, 0) / frame;
    if (frames == 0 || passes < 1) return;
    std::vector<double> x(static_cast<std::size_t>(frames));
    for (std::int64_t c = 0; c < frame / width; ++c) {
        const auto at = [&](std::int64_t i) { return static_cast<std::size_t>(start + i * frame + c * width); };
        for (std::int64_t i = 0; i < frames; ++i) x[static_cast<std::size_t>(i)] = sampleAt(samples, at(i), wide);
        for (int p = 0; p < passes; ++p) runSection(x, section);
        for (std::int64_t i = 0; i < frames; ++i) storeSample(samples, at(i), wide, x[static_cast<std::size_t>(i)]);
    }
}

void filterActive(EditorState& s, FilterKind kind, double cutoff, int passes) {
    SoundDoc& d = s.active();
    const std::int64_t start = d.HasSelection ? d.SelStart : 0;
    const std::int64_t length = d.HasSelection ? d.SelLength : d.DataLen;
    filterSamples(d.Samples, start, std::min<std::int64_t>(length, d.DataLen - start), d.BitsParSample, d.Channels,
                  butterworth(kind, cutoff, d.SRATE), passes);
}

void lowPassCommand(EditorState& s) {
    runFilterCommand(s, {FilterKind::LowPass, "こもらせる（ローパス）", LowPassCode});
}

void highPassCommand(EditorState& s) {
    runFilterCommand(s, {FilterKind::HighPass, "シャープにする（ハイパス）", HighPassCode});
}

} // namespace wavora
