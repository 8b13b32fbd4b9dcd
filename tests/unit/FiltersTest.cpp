// The low-pass and high-pass filters: their response measured on white noise
// with a DFT, the channels of a stereo sound kept apart, and the commands'
// dialog with its live preview, Cancel and one undo step each.
#include "EditTestSupport.h"
#include "edit/Filters.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace wavora {
namespace {

using test::Bytes;
using Spectrum = std::vector<std::complex<double>>;

constexpr int Rate = 44100;

int sampleAt(const Bytes& b, int bits, std::size_t i) {
    return bits == 16 ? static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8)) : b[i] - 128;
}

// One second of white noise, every `channels`-th sample (the others silent).
Bytes noise(int bits, int channels = 1) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> u(bits == 16 ? -12000 : -100, bits == 16 ? 12000 : 100);
    Bytes b;
    for (int i = 0; i < Rate * channels; ++i) {
        const int v = i % channels == 0 ? u(gen) : 0;
        if (bits == 16) b.insert(b.end(), {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF)});
        else b.push_back(static_cast<std::uint8_t>(v + 128));
    }
    return b;
}

// The first 32768 samples under a Hann window (so the block's ends do not
// leak into the bands), by a radix-2 FFT.
Spectrum spectrum(const Bytes& b, int bits) {
    const std::size_t n = 32768;
    Spectrum x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = sampleAt(b, bits, i) * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n));
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        if (i < (j ^= bit)) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1)
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len))) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    return x;
}

// Filtered against unfiltered energy of the bins within 5 % of `hz`.
double gainDb(const Spectrum& before, const Spectrum& after, double hz) {
    const double binHz = static_cast<double>(Rate) / static_cast<double>(before.size());
    double a = 0, b = 0;
    for (auto k = static_cast<std::size_t>(hz * 0.95 / binHz); k <= static_cast<std::size_t>(hz * 1.05 / binHz); ++k) {
        a += std::norm(after[k]);
        b += std::norm(before[k]);
    }
    return 10 * std::log10(a / b);
}

TEST(Filters, EachPassTakesSixDecibelsAnOctavePastTheCutoffAndKeepsTwoOctavesInsideWithinOne) {
    for (FilterKind kind : {FilterKind::LowPass, FilterKind::HighPass})
        for (int bits : {8, 16})
            for (int passes = 1; passes <= (bits == 16 ? 4 : 1); ++passes) {
                SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " " + std::to_string(bits) + " " + std::to_string(passes));
                const Bytes before = noise(bits);
                Bytes after = before;
                filterSamples(after, 0, static_cast<std::int64_t>(after.size()), bits, 1, butterworth(kind, 1000, Rate), passes);
                const Spectrum x = spectrum(before, bits), y = spectrum(after, bits);
                const bool low = kind == FilterKind::LowPass;
                EXPECT_LE(gainDb(x, y, low ? 2000 : 500), -6.0 * passes);
                EXPECT_NEAR(gainDb(x, y, low ? 250 : 4000), 0.0, 1.0);
            }
}

TEST(Filters, StereoFiltersEachChannelOnItsOwn) {
    for (int bits : {8, 16}) {
        const Biquad q = butterworth(FilterKind::LowPass, 800, Rate);
        Bytes mono = noise(bits), stereo = noise(bits, 2); // the same noise on the left, silence on the right
        filterSamples(mono, 0, static_cast<std::int64_t>(mono.size()), bits, 1, q, 3);
        filterSamples(stereo, 0, static_cast<std::int64_t>(stereo.size()), bits, 2, q, 3);
        for (std::size_t i = 0; i < static_cast<std::size_t>(Rate); ++i) {
            ASSERT_EQ(sampleAt(stereo, bits, 2 * i), sampleAt(mono, bits, i)) << bits << " " << i;
            ASSERT_EQ(sampleAt(stereo, bits, 2 * i + 1), 0) << bits << " " << i;
        }
    }
}

class FilterCommands : public test::EditFixture {};

TEST_F(FilterCommands, PreviewShowsTheFilterCancelPutsItBackAndOkIsOneStep) {
    SoundDoc& d = openSound(20000, 16, Rate);
    const Bytes before = head(d);
    auto seen = test::watchDialog();
    bool changed = false;
    fake.dialogs.push_back(test::DialogUser().type(1, "200").then([&](EditorState& st) { changed = head(st.active()) != before; }).cancel().script(seen));
    lowPassCommand(*s);
    const auto& rows = seen->request.DialogRows;
    EXPECT_EQ(seen->request.DialogCaption, "こもらせる（ローパス）");
    EXPECT_EQ(rows[1].Label + rows[1].Value + rows[2].Label + rows[2].Value, "周波数（Hz）1000強さ（1～4）2");
    EXPECT_EQ(rows[1].Max, 22050.0f);
    EXPECT_TRUE(changed);
    EXPECT_EQ(head(d), before);
    EXPECT_EQ(d.HasGenOn, 1); // the pre-effect copy, as the other effects keep it
    for (auto command : {&lowPassCommand, &highPassCommand}) {
        fake.dialogs.push_back(test::pressOk());
        command(*s);
    }
    EXPECT_NE(head(d), before);
    EXPECT_EQ(d.UnDoFlag, "004748");
}

} // namespace
} // namespace wavora
