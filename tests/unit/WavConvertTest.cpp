// The converting reader against sox: sox writes a file of each encoding and
// decodes the same file to 16-bit (or 8-bit) samples; ours must agree within
// one step (PCM of 8 and 16 bits exactly). Then the layouts sox does not
// write: chunks out of order, a cut file, damaged headers.
#include "TempFolder.h"
#include "wavfile/WavConvert.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

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

// Little-endian numbers, each of the given number of bytes.
Bytes le(std::initializer_list<std::pair<std::uint32_t, int>> numbers) {
    Bytes b;
    for (auto [v, n] : numbers)
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}

Bytes chunk(const char* tag, Bytes body) {
    Bytes c(tag, tag + 4);
    for (std::uint8_t b : le({{static_cast<std::uint32_t>(body.size()), 4}})) c.push_back(b);
    c.insert(c.end(), body.begin(), body.end());
    if (body.size() % 2) c.push_back(0); // the pad byte
    return c;
}

Bytes fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint32_t align = channels * bits / 8u;
    return chunk("fmt ", le({{tag, 2}, {channels, 2}, {rate, 4}, {rate * align, 4}, {align, 2}, {bits, 2}}));
}

ConvertedWav convert(const std::vector<Bytes>& chunks) {
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) b.insert(b.end(), c.begin(), c.end());
    MemorySource m(b);
    return convertWav(m);
}

struct Convert : ::testing::Test {
    TempRoot root;
    const fs::path wav = root.path / "in.wav";
    ConvertedWav soxMade(const std::string& options) {
        EXPECT_TRUE(sox("-n " + options + " '" + wav.string() + "' synth 0.3 sine 100-3000 sine 700 square 300 gain -1"));
        return convertWavFile(wav);
    }
    // The largest difference from sox's own decoding into the format we made.
    // sox decodes ADPCM's padded last block whole; we stop where "fact" says.
    int differenceFromSox(const ConvertedWav& w, const std::string& options = "") {
        const bool eight = w.BitsParSample == 8;
        const fs::path raw = root.path / "sox.raw";
        EXPECT_TRUE(sox("-D '" + wav.string() + "' " + options + (eight ? " -e unsigned -b 8 '" : " -e signed -b 16 '") +
                        raw.string() + "'"));
        const Bytes want = fileBytes(raw);
        if (want.size() < w.Samples.size() || w.Samples.empty()) return 99999;
        int worst = 0;
        for (std::size_t i = 0; i + (eight ? 0 : 1) < w.Samples.size(); i += eight ? 1 : 2) {
            auto value = [&](const Bytes& b) { return eight ? b[i] : static_cast<std::int16_t>(b[i] | b[i + 1] << 8); };
            worst = std::max(worst, std::abs(value(want) - value(w.Samples)));
        }
        return worst;
    }
};

TEST_F(Convert, EveryEncodingInMonoAndStereoAgreesWithSox) {
    const struct {
        const char* encoding;
        int bits, tolerance;
    } cases[] = {{"-b 8", 8, 0}, {"-b 16", 16, 0}, {"-b 24", 16, 1}, {"-b 32", 16, 1}, // 24 and 32: extensible
                 {"-e floating-point -b 32", 16, 1}, {"-e floating-point -b 64", 16, 1}, {"-e u-law", 16, 1},
                 {"-e a-law", 16, 1}, {"-e ima-adpcm", 16, 1}, {"-e ms-adpcm", 16, 1}};
    for (const auto& c : cases)
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.encoding) + " channels " + std::to_string(channels));
            const ConvertedWav w = soxMade("-r 11025 -c " + std::to_string(channels) + " " + c.encoding);
            ASSERT_TRUE(w.ok()) << w.refusal;
            EXPECT_EQ(w.Channels, channels);
            EXPECT_EQ(w.BitsParSample, c.bits);
            EXPECT_EQ(w.SRATE, 11025);
            EXPECT_EQ(w.KeptFrames, 3307u); // 0.3 s, in ADPCM too, whose last block is padded
            EXPECT_LE(differenceFromSox(w), c.tolerance);
        }
    // Six channels become their mean; 12 valid bits in 16 read as they stand.
    const ConvertedWav six = soxMade("-r 8000 -c 6 -e floating-point -b 32");
    EXPECT_EQ(six.Channels, 1);
    EXPECT_LE(differenceFromSox(six, "-c 1"), 1);
    const ConvertedWav sixteen = soxMade("-r 8000 -c 2 -b 16");
    Bytes twelve = fileBytes(wav);
    twelve[34] = 12;
    MemorySource m(twelve);
    EXPECT_EQ(convertWav(m).Samples, sixteen.Samples);
}

TEST_F(Convert, ChunksInAnyOrderAndADataSizePastTheEnd) {
    Bytes data;
    for (int i = 0; i < 41; ++i) data.push_back(static_cast<std::uint8_t>(i * 37)); // 10 frames and a bit
    const ConvertedWav w = convert({chunk("data", data), chunk("LIST", {'I', 'N', 'F', 'O', 'x'}),
                                    chunk("fact", {1, 0, 0, 0}), fmt(1, 2, 44100, 16)});
    ASSERT_TRUE(w.ok()) << w.refusal;
    EXPECT_EQ(w.Samples, Bytes(data.begin(), data.begin() + 40)); // whole frames; the odd chunk's pad skipped
    Bytes cut = chunk("data", data);
    cut[4] = cut[5] = cut[6] = 0xF0; // runs far past the end of the file
    cut.pop_back();
    EXPECT_EQ(convert({fmt(1, 2, 44100, 16), cut}).Samples, w.Samples);
}

// One and two channels of 24 bits take a shorter way than the mean of more
// channels: both must round alike, half up, the top staying at 32767.
TEST_F(Convert, TwentyFourBitSamplesRoundHalfUpTheSameWayInEveryLayout) {
    const std::uint32_t in[] = {0x7FFFFF, 0x7FFF80, 0x7FFF7F, 0x000080, 0x00007F, 0x800000, 0xFFFF80, 0xFFFF7F};
    const std::int16_t want[] = {32767, 32767, 32767, 1, 0, -32768, 0, -1};
    Bytes mono, three, expected;
    for (std::size_t i = 0; i < std::size(in); ++i) {
        const Bytes sample = le({{in[i], 3}});
        mono.insert(mono.end(), sample.begin(), sample.end());
        for (int c = 0; c < 3; ++c) three.insert(three.end(), sample.begin(), sample.end());
        const Bytes out = le({{static_cast<std::uint16_t>(want[i]), 2}});
        expected.insert(expected.end(), out.begin(), out.end());
    }
    EXPECT_EQ(convert({fmt(1, 1, 8000, 24), chunk("data", mono)}).Samples, expected);
    EXPECT_EQ(convert({fmt(1, 3, 8000, 24), chunk("data", three)}).Samples, expected);
}

TEST_F(Convert, ALongFileKeepsItsFirstWholeFramesAndSaysHowLong) {
    const ConvertedWav mono = convert({fmt(1, 1, 8000, 16), chunk("data", Bytes(640000, 0x11))});
    EXPECT_EQ(mono.Samples.size(), 500000u);
    EXPECT_EQ(lengthCutText(mono), "長すぎるので、最初の31.25秒だけ読み込みました。\r\n（ファイル全体は40秒です）");
    const ConvertedWav stereo = convert({fmt(1, 2, 44100, 8), chunk("data", Bytes(600001, 0x80))});
    EXPECT_EQ(stereo.Samples.size(), 500000u);
    EXPECT_EQ(lengthCutText(stereo), "長すぎるので、最初の5.67秒だけ読み込みました。\r\n（ファイル全体は6.8秒です）");
}

TEST_F(Convert, RefusalsSayWhy) {
    const Bytes data = chunk("data", {1, 2});
    Bytes adpcmInExtensible = fmt(0xFFFE, 1, 8000, 16);
    adpcmInExtensible[4] = 40;
    const Bytes guid = le({{22, 2}, {16, 2}, {4, 4}, {2, 4}, {0x00100000, 4}, {0xAA000080, 4}, {0x719B3800, 4}});
    adpcmInExtensible.insert(adpcmInExtensible.end(), guid.begin(), guid.end());
    const struct {
        std::vector<Bytes> chunks;
        std::string text;
    } cases[] = {
        {{fmt(85, 1, 8000, 0), data}, "形式番号85のWAVファイルは変換できません。"},
        {{adpcmInExtensible, data}, "形式番号65534のWAVファイルは変換できません。"},
        {{fmt(3, 1, 8000, 16), data}, "形式番号3のWAVファイルは変換できません。"}, // float of 16 bits
        {{data}, NoSoundDataText},
        {{fmt(1, 1, 8000, 8)}, NoSoundDataText},
        {{fmt(1, 2, 8000, 16), chunk("data", {1, 2, 3})}, NoSoundDataText}, // not one whole frame
        {{fmt(1, 1, 0, 8), data}, NotWavText},                                // no rate to count with
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert(c.chunks).refusal, c.text);
        EXPECT_TRUE(convert(c.chunks).Samples.empty());
    }
    std::ofstream(root.path / "text.wav") << "hello, world";
    for (const char* name : {"text.wav", "WavoraUnDo", "missing.wav"})
        EXPECT_EQ(convertWavFile(root.path / name).refusal, NotWavText) << name;
}

} // namespace
} // namespace wavora
