// The converting reader against sox: sox writes a file of each encoding and
// decodes the same file to 16-bit (or 8-bit) samples; ours must agree within
// one step (PCM of 8 and 16 bits exactly). Then the layouts sox does not
// write: chunks out of order, a cut file, damaged headers.
#include "TempFolder.h"
#include "wavfile/WavConvert.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace wavora {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool sox(const std::string& args) { return std::system(("sox " + args + " 2>/dev/null").c_str()) == 0; }

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

Bytes chunk(const char* tag, Bytes body) {
    Bytes c(tag, tag + 4);
    c.resize(8);
    put32(c, 4, static_cast<std::uint32_t>(body.size()));
    c.insert(c.end(), body.begin(), body.end());
    if (body.size() % 2) c.push_back(0);
    return c;
}

Bytes riff(const std::vector<Bytes>& chunks) {
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) b.insert(b.end(), c.begin(), c.end());
    put32(b, 4, static_cast<std::uint32_t>(b.size() - 8));
    return b;
}

// A "fmt " body: tag, channels, rate, byte rate, block align, bits.
Bytes fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes f(16);
    const std::uint32_t align = channels * bits / 8u;
    put16(f, 0, tag);
    put16(f, 2, channels);
    put32(f, 4, rate);
    put32(f, 8, rate * align);
    put16(f, 12, align);
    put16(f, 14, bits);
    return f;
}

ConvertedWav fromMemory(const Bytes& b) {
    MemorySource m(b);
    return convertWav(m);
}

struct Convert : ::testing::Test {
    TempRoot root;
    fs::path at(const std::string& name) { return root.path / name; }
    // The largest difference from sox's own decoding, whose format (16-bit
    // signed, or 8-bit unsigned for 8-bit PCM) must be the one we made. sox
    // decodes ADPCM's padded last block whole; we stop where "fact" says.
    int differenceFromSox(const fs::path& wav, const ConvertedWav& w, const std::string& soxOptions = "") {
        const bool eight = w.BitsParSample == 8;
        const fs::path raw = at("sox.raw");
        EXPECT_TRUE(sox("-D '" + wav.string() + "' " + soxOptions + " -t raw " + (eight ? "-e unsigned -b 8 '" : "-e signed -b 16 '") +
                        raw.string() + "'"));
        const Bytes want = fileBytes(raw);
        if (want.size() < w.Samples.size()) return 99999;
        int worst = 0;
        for (std::size_t i = 0; eight && i < w.Samples.size(); ++i)
            worst = std::max(worst, std::abs(want[i] - w.Samples[i]));
        for (std::size_t i = 0; !eight && i + 1 < w.Samples.size(); i += 2)
            worst = std::max(worst, std::abs(static_cast<std::int16_t>(want[i] | want[i + 1] << 8) -
                                             static_cast<std::int16_t>(w.Samples[i] | w.Samples[i + 1] << 8)));
        return worst;
    }
};

TEST_F(Convert, EveryEncodingInMonoAndStereoAgreesWithSox) {
    const struct {
        const char* encoding;
        int bits, tolerance;
    } cases[] = {{"-b 8", 8, 0},
                 {"-b 16", 16, 0},
                 {"-b 24", 16, 1}, // sox writes 24 and 32 bits in the extensible form
                 {"-b 32", 16, 1},
                 {"-e floating-point -b 32", 16, 1},
                 {"-e floating-point -b 64", 16, 1},
                 {"-e u-law", 16, 1},
                 {"-e a-law", 16, 1},
                 {"-e ima-adpcm", 16, 1},
                 {"-e ms-adpcm", 16, 1}};
    for (const auto& c : cases)
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.encoding) + " channels " + std::to_string(channels));
            const fs::path wav = at("in.wav");
            ASSERT_TRUE(sox("-n -r 11025 -c " + std::to_string(channels) + " " + c.encoding + " '" + wav.string() +
                            "' synth 0.3 sine 100-3000 sine 700 gain -0.5"));
            const ConvertedWav w = convertWavFile(wav);
            ASSERT_TRUE(w.ok()) << w.refusal;
            EXPECT_EQ(w.Channels, channels);
            EXPECT_EQ(w.BitsParSample, c.bits);
            EXPECT_EQ(w.SRATE, 11025);
            EXPECT_EQ(w.KeptFrames, 3307u); // 0.3 s, in ADPCM too, whose last block is padded
            EXPECT_LE(differenceFromSox(wav, w), c.tolerance);
        }
}

TEST_F(Convert, SixChannelsBecomeTheirMeanAndFewerValidBitsReadAsTheirContainer) {
    const fs::path wav = at("six.wav");
    ASSERT_TRUE(sox("-n -r 8000 -c 6 -b 24 '" + wav.string() +
                    "' synth 0.2 sine 200 sine 300 square 400 sine 500 noise sine 700 gain -1"));
    const ConvertedWav w = convertWavFile(wav);
    ASSERT_TRUE(w.ok()) << w.refusal;
    EXPECT_EQ(w.Channels, 1);
    EXPECT_EQ(w.KeptFrames, 1600u);
    EXPECT_LE(differenceFromSox(wav, w, "-c 1"), 1);

    // 12 valid bits in 16-bit containers: the samples as they stand.
    ASSERT_TRUE(sox("-n -r 8000 -c 2 -b 16 '" + at("a.wav").string() + "' synth 0.1 sine 300"));
    Bytes twelve = fileBytes(at("a.wav"));
    twelve[34] = 12;
    EXPECT_EQ(fromMemory(twelve).Samples, convertWavFile(at("a.wav")).Samples);
}

TEST_F(Convert, ChunksInAnyOrderAndADataSizePastTheEnd) {
    Bytes data;
    for (int i = 0; i < 41; ++i) data.push_back(static_cast<std::uint8_t>(i * 37)); // 16-bit stereo: 10 frames and a bit
    Bytes file = riff({chunk("data", data), chunk("LIST", {'I', 'N', 'F', 'O', 'x'}), chunk("fact", {1, 0, 0, 0}),
                       chunk("fmt ", fmt(1, 2, 44100, 16))});
    const ConvertedWav w = fromMemory(file);
    ASSERT_TRUE(w.ok()) << w.refusal;
    EXPECT_EQ(w.Samples, Bytes(data.begin(), data.begin() + 40)); // whole frames only; the odd chunk's pad skipped

    Bytes cut = riff({chunk("fmt ", fmt(1, 2, 44100, 16)), chunk("data", data)});
    put32(cut, 40, 0xFFFFFFF0u); // a data size that runs far past the end
    put32(cut, 4, 0xFFFFFFF0u);
    cut.pop_back();
    EXPECT_EQ(fromMemory(cut).Samples, w.Samples);
}

TEST_F(Convert, ALongFileKeepsItsFirstWholeFramesAndSaysHowLong) {
    // 16-bit mono, 8000 Hz, 40 s: 250000 frames fit.
    Bytes file = riff({chunk("fmt ", fmt(1, 1, 8000, 16)), chunk("data", Bytes(640000, 0x11))});
    const ConvertedWav w = fromMemory(file);
    EXPECT_EQ(w.Samples.size(), 500000u);
    EXPECT_TRUE(w.cut());
    EXPECT_EQ(lengthCutText(w), "長すぎるので、最初の31.25秒だけ読み込みました。\r\n（ファイル全体は40秒です）");
    // Stereo 8-bit at 44100 Hz: the seconds rounded to two decimals.
    const ConvertedWav s = fromMemory(riff({chunk("fmt ", fmt(1, 2, 44100, 8)), chunk("data", Bytes(600001, 0x80))}));
    EXPECT_EQ(s.Samples.size(), 500000u);
    EXPECT_EQ(lengthCutText(s), "長すぎるので、最初の5.67秒だけ読み込みました。\r\n（ファイル全体は6.8秒です）");
}

TEST_F(Convert, RefusalsSayWhy) {
    const Bytes goodFmt = fmt(1, 1, 8000, 8);
    Bytes extensibleAdpcm = fmt(0xFFFE, 1, 8000, 16);
    extensibleAdpcm.insert(extensibleAdpcm.end(), {22, 0, 16, 0, 4, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0,
                                                   0xAA, 0, 0x38, 0x9B, 0x71});
    const struct {
        Bytes file;
        std::string text;
    } cases[] = {
        {Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'}, NotWavText},
        {riff({chunk("fmt ", fmt(85, 1, 8000, 0)), chunk("data", {1, 2})}), "形式番号85のWAVファイルは変換できません。"},
        {riff({chunk("fmt ", extensibleAdpcm), chunk("data", {1, 2})}), "形式番号65534のWAVファイルは変換できません。"},
        {riff({chunk("fmt ", fmt(3, 1, 8000, 16)), chunk("data", {1, 2})}), "形式番号3のWAVファイルは変換できません。"},
        {riff({chunk("data", {1, 2})}), NoSoundDataText},
        {riff({chunk("fmt ", goodFmt)}), NoSoundDataText},
        {riff({chunk("fmt ", fmt(1, 2, 8000, 16)), chunk("data", {1, 2, 3})}), NoSoundDataText},
        {riff({chunk("fmt ", fmt(1, 1, 0, 8)), chunk("data", {1, 2})}), NotWavText},
    };
    for (const auto& c : cases) {
        const ConvertedWav w = fromMemory(c.file);
        EXPECT_EQ(w.refusal, c.text);
        EXPECT_TRUE(w.Samples.empty());
    }
    fs::create_directories(at("folder.wav"));
    EXPECT_EQ(convertWavFile(at("folder.wav")).refusal, NotWavText);
    EXPECT_EQ(convertWavFile(at("missing.wav")).refusal, NotWavText);
}

} // namespace
} // namespace wavora
