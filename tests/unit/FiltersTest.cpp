// The low-pass and high-pass filters: their response measured on white noise
// with a DFT, the channels of a stereo sound kept apart, and the commands'
// dialog with its live preview, Cancel and one undo step.
#include "EditTestSupport.h"
#include "edit/Filters.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace wavora {
namespace {

using test::Bytes;
using test::DialogUser;
using test::watchDialog;

constexpr int Rate = 44100;

// One second of white noise as 16-bit (or 8-bit) mono samples.
Bytes noise(int bits, int amplitude) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> u(-amplitude, amplitude);
    Bytes b;
    for (int i = 0; i < Rate; ++i) {
        const int v = u(gen);
        if (bits == 16) {
            b.push_back(static_cast<std::uint8_t>(v & 0xFF));
            b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        } else {
            b.push_back(static_cast<std::uint8_t>(v + 128));
        }
    }
    return b;
}

// The spectrum of the first 32768 samples under a Hann window (which keeps
// the block's ends from leaking), by a radix-2 FFT.
std::vector<std::complex<double>> spectrum(const Bytes& b, int bits) {
    const std::size_t n = 32768;
    std::vector<std::complex<double>> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double v = bits == 16 ? static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8)) : b[i] - 128;
        x[i] = v * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n));
    }
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    }
    return x;
}

// Energy of the bins within 5 % of `hz`.
double bandEnergy(const Bytes& b, int bits, double hz) {
    const std::vector<std::complex<double>> x = spectrum(b, bits);
    const double binHz = static_cast<double>(Rate) / static_cast<double>(x.size());
    double sum = 0;
    for (auto k = static_cast<std::size_t>(hz * 0.95 / binHz); k <= static_cast<std::size_t>(hz * 1.05 / binHz); ++k)
        sum += std::norm(x[k]);
    return sum;
}

double gainDb(const Bytes& before, const Bytes& after, int bits, double hz) {
    return 10 * std::log10(bandEnergy(after, bits, hz) / bandEnergy(before, bits, hz));
}

TEST(Filters, EachPassTakesSixDecibelsAnOctavePastTheCutoffAndKeepsTwoOctavesInsideWithinOne) {
    struct Case {
        FilterKind kind;
        int bits, passes;
        double stopHz, passHz;
    };
    const Case cases[] = {{FilterKind::LowPass, 16, 1, 2000, 250},  {FilterKind::LowPass, 16, 2, 2000, 250},
                          {FilterKind::LowPass, 16, 4, 2000, 250},  {FilterKind::LowPass, 8, 1, 2000, 250},
                          {FilterKind::HighPass, 16, 1, 500, 4000}, {FilterKind::HighPass, 16, 2, 500, 4000},
                          {FilterKind::HighPass, 16, 4, 500, 4000}, {FilterKind::HighPass, 8, 1, 500, 4000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " " + std::to_string(c.bits) + " bits, passes " + std::to_string(c.passes));
        const Bytes before = noise(c.bits, c.bits == 16 ? 12000 : 100);
        Bytes after = before;
        filterSamples(after, 0, static_cast<std::int64_t>(after.size()), c.bits, 1, butterworth(c.kind, 1000, Rate), c.passes);
        EXPECT_LE(gainDb(before, after, c.bits, c.stopHz), -6.0 * c.passes);
        EXPECT_NEAR(gainDb(before, after, c.bits, c.passHz), 0.0, 1.0);
    }
}

TEST(Filters, StereoFiltersEachChannelOnItsOwn) {
    for (int bits : {8, 16}) {
        SCOPED_TRACE(bits);
        const int width = bits / 8;
        const Bytes left = noise(bits, bits == 16 ? 12000 : 100);
        Bytes stereo;
        for (std::size_t i = 0; i < left.size(); i += static_cast<std::size_t>(width)) {
            stereo.insert(stereo.end(), left.begin() + static_cast<std::ptrdiff_t>(i), left.begin() + static_cast<std::ptrdiff_t>(i) + width);
            stereo.insert(stereo.end(), static_cast<std::size_t>(width), bits == 16 ? 0 : 128); // silence on the right
        }
        Bytes mono = left;
        const Biquad q = butterworth(FilterKind::LowPass, 800, Rate);
        filterSamples(mono, 0, static_cast<std::int64_t>(mono.size()), bits, 1, q, 3);
        filterSamples(stereo, 0, static_cast<std::int64_t>(stereo.size()), bits, 2, q, 3);
        for (std::size_t f = 0; f < left.size() / static_cast<std::size_t>(width); ++f)
            for (int b = 0; b < width; ++b) {
                ASSERT_EQ(stereo[2 * width * f + static_cast<std::size_t>(b)], mono[width * f + static_cast<std::size_t>(b)]) << f;
                ASSERT_EQ(stereo[2 * width * f + static_cast<std::size_t>(width + b)], bits == 16 ? 0 : 128) << f;
            }
    }
}

class FilterCommands : public test::EditFixture {};

TEST_F(FilterCommands, PreviewShowsTheFilterCancelPutsItBackAndOkIsOneStep) {
    SoundDoc& d = openSound(20000, 16, Rate);
    const Bytes before = head(d);
    auto seen = watchDialog();
    bool changed = false;
    fake.dialogs.push_back(DialogUser()
                               .type(1, "200")
                               .then([&](EditorState& st) { changed = head(st.active()) != before; })
                               .cancel()
                               .script(seen));
    lowPassCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "こもらせる（ローパス）");
    EXPECT_EQ(seen->request.DialogRows[1].Label, "周波数（Hz）");
    EXPECT_EQ(seen->request.DialogRows[1].Value, "1000");
    EXPECT_EQ(seen->request.DialogRows[1].Max, 22050.0f);
    EXPECT_EQ(seen->request.DialogRows[2].Label, "強さ（1～4）");
    EXPECT_EQ(seen->request.DialogRows[2].Value, "2");
    EXPECT_TRUE(changed);
    EXPECT_EQ(head(d), before);
    EXPECT_EQ(lastCode(), "00");
    EXPECT_EQ(d.HasGenOn, 1); // the pre-effect copy is kept as for the other effects

    for (auto [command, code] : {std::pair{&lowPassCommand, "47"}, std::pair{&highPassCommand, "48"}}) {
        const Bytes now = head(d);
        fake.dialogs.push_back(test::pressOk({}));
        command(*s);
        EXPECT_NE(head(d), now);
        EXPECT_EQ(lastCode(), code);
    }
    EXPECT_EQ(d.UnDoFlag, "004748");
}

} // namespace
} // namespace wavora
