// The WAV reader's checks in their order with their exact messages, the
// writer's bytes, and the replacement that never loses an older file.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "wavfile/WavFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavora {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;

const std::string NotForWavora = "このファイルはWavoraでは読み込めません。";

Bytes canonical(std::uint16_t channels, std::int32_t rate, std::uint8_t bits, std::size_t dataBytes) {
    Bytes data(dataBytes);
    for (std::size_t i = 0; i < dataBytes; ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    Bytes file = wavFileBytes(data, channels, rate, bits);
    file.pop_back(); // the trailer is ours; other programs' files end with the data
    return file;
}

struct WavRead : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    Bytes dest = Bytes(static_cast<std::size_t>(DATALENMAX), 0xEE);
    std::int32_t length = -5;

    int read(const Bytes& file) { return readWavBytes(s, 0, file, dest, length); }
};

TEST_F(WavRead, SizeLimitsOfTheWholeFile) {
    const struct {
        std::size_t dataBytes;
        bool accepted;
    } cases[] = {{0, false}, {1, true}, {500000 - 44, true}, {500001 - 44, false}};
    for (const auto& c : cases) {
        fake.boxes.clear();
        EXPECT_EQ(read(canonical(1, 8000, 8, c.dataBytes)), c.accepted ? 0 : -1) << c.dataBytes;
        if (c.accepted) {
            EXPECT_EQ(length, static_cast<std::int32_t>(c.dataBytes));
            EXPECT_TRUE(fake.boxes.empty());
        } else {
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.lastBox().caption, "開く");
            EXPECT_EQ(fake.lastBox().text, "このファイルは開けません。m(_ _)m");
        }
    }
}

TEST_F(WavRead, ChecksInOrderWithTheirMessagesAndTheFieldsStoredBeforeThem) {
    struct Case {
        std::size_t at;
        std::vector<std::uint8_t> bytes;
        std::string caption, text;
        bool channelsSet, bitsSet;
    };
    const Case cases[] = {
        {0, {'X'}, "RIFF", NotForWavora, false, false},
        {8, {'X'}, "WAVE", "X" + NotForWavora, false, false},
        {12, {'x'}, "fmt", "W" + NotForWavora, false, false},
        {20, {3}, "PCM形式でない", NotForWavora, false, false},
        {22, {6}, "チャンネル数6", NotForWavora, false, false},
        {28, {0x39, 0x30, 0, 0}, "転送率12345", NotForWavora, true, false},
        {24, {0, 0, 0, 0, 0, 0, 0, 0}, "転送率0", NotForWavora, true, false}, // no rate at all
        {32, {3}, "１サンプルのデータサイズ3", NotForWavora, true, false},
        {34, {12}, "１サンプルのビット数12", NotForWavora, true, false},
        {36, {'D'}, "data", NotForWavora, true, true},
    };
    for (const Case& c : cases) {
        Bytes file = canonical(2, 8000, 8, 10); // 8-bit stereo: block align 2, 16000 bytes a second
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(c.at));
        s.docs[0].Channels = 5; // values no check would store
        s.docs[0].BitsParSample = 99;
        fake.boxes.clear();
        EXPECT_EQ(read(file), -1) << c.caption;
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.lastBox().caption, c.caption);
        EXPECT_EQ(fake.lastBox().text, c.text);
        EXPECT_EQ(s.docs[0].Channels, c.channelsSet ? 2 : 5) << c.caption;
        EXPECT_EQ(s.docs[0].BitsParSample, c.bitsSet ? 8 : 99) << c.caption;
        EXPECT_EQ(s.docs[0].SRATE, 44100) << c.caption; // stored only after the last check
        EXPECT_EQ(length, -5);
        EXPECT_EQ(dest[0], 0xEE);
    }
    // 16-bit stereo with any other byte rate or block align is refused as before.
    Bytes stereo16 = canonical(2, 8000, 16, 8);
    stereo16[28] = 0x80; // 2 x rate (16000): passes the rate check, meets the block align
    stereo16[29] = 0x3E;
    EXPECT_EQ(read(stereo16), -1);
    EXPECT_EQ(fake.lastBox().caption, "１サンプルのデータサイズ4");
    stereo16 = canonical(2, 8000, 16, 8);
    stereo16[28] = 0x01;
    EXPECT_EQ(read(stereo16), -1);
    EXPECT_EQ(fake.lastBox().caption, "転送率32001");
}

TEST_F(WavRead, LongerFmtChunkIsRefusedAtTheDataCheck) {
    Bytes file = canonical(1, 8000, 8, 10);
    file[16] = 18; // two more format bytes push "data" to offset 38
    file.insert(file.begin() + 36, {0, 0});
    EXPECT_EQ(read(file), -1);
    EXPECT_EQ(fake.lastBox().caption, "data");
}

TEST_F(WavRead, FormatsComeBackAndWriteTheSameHeader) {
    // 16-bit stereo too: the files the writer makes of a stereo mix.
    for (auto [channels, bits] : {std::pair<std::uint16_t, std::uint8_t>{2, 8}, {1, 16}, {1, 8}, {2, 16}}) {
        const Bytes file = canonical(channels, 11025, bits, 20);
        ASSERT_EQ(read(file), 0);
        const SoundDoc& d = s.docs[0];
        EXPECT_EQ(d.Channels, channels);
        EXPECT_EQ(d.BitsParSample, bits);
        EXPECT_EQ(d.SRATE, 11025);
        EXPECT_TRUE(std::equal(file.begin() + 44, file.end(), dest.begin()));
        const Bytes again = wavFileBytes(std::span(dest.data(), 20), d.Channels, d.SRATE, d.BitsParSample);
        EXPECT_EQ(again.size(), file.size() + 1); // one byte past header and data
        EXPECT_TRUE(std::equal(file.begin(), file.end(), again.begin()));
        EXPECT_EQ(again.back(), 0);
    }
}

TEST_F(WavRead, DataLengthBeyondTheFileIsCutToWholeSamples) {
    Bytes file = canonical(1, 8000, 16, 11);
    file[40] = 0xFF; // promises far more than there is
    file[43] = 0x7F;
    ASSERT_EQ(read(file), 0);
    EXPECT_EQ(length, 10);
}

TEST(WavWrite, HeaderBytesAreTheCanonicalOnes) {
    const Bytes data = {0x80, 0x81, 0x7F};
    const Bytes expected = {'R', 'I', 'F', 'F', 39, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                            1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a',
                            3, 0, 0, 0, 0x80, 0x81, 0x7F, 0};
    EXPECT_EQ(wavFileBytes(data, 1, 8000, 16), expected); // 16-bit mono: block align 2, 2 x rate a second
}

TEST(WavWrite, AFailedReplacementLeavesTheOldFile) {
    TempRoot root;
    const auto target = root.path / "old.wav";
    std::ofstream(target, std::ios::binary) << "old bytes";
    const Bytes bytes = {1, 2, 3};
    // The new file cannot be made (a folder stands where it would go).
    std::filesystem::create_directory(root.path / "old.wav.wavora-saving");
    EXPECT_FALSE(replaceFileSafely(target, bytes).reason.empty());
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old bytes");
    // A folder that is gone is named as the reason; nothing is created.
    const WriteFailure gone = replaceFileSafely(root.path / "gone" / "a.wav", bytes);
    EXPECT_NE(gone.reason.find("フォルダが見つかりません"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(root.path / "gone"));
    std::filesystem::remove(root.path / "old.wav.wavora-saving");
    EXPECT_FALSE(replaceFileSafely(target, bytes));
    EXPECT_EQ(std::filesystem::file_size(target), 3u);
    EXPECT_FALSE(std::filesystem::exists(root.path / "old.wav.wavora-saving"));
}

} // namespace
} // namespace wavora
