// The real sound devices under Wine, with ALSA writing what is played into a
// file: the captured bytes are the rendered sound, loop play writes it again
// until Stop, a recording overwrites the whole sound and can be undone, and
// without a device the open fails with its message and the program goes on.
#include "WinHarness.h"

#include "FakePlatform.h"
#include "LiteralPlay.h"
#include "core/DeviceErrors.h"
#include "core/MenuPositions.h"
#include "undo/UndoStore.h"

#include <fstream>
#include <iterator>

namespace wintest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct SoundDevice : EditorTest {
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        ASSERT_EQ(state().WindowCount, 1);
    }
    // The ALSA file of the test run's home (see tools/setup.sh).
    fs::path playedFile() const { return folder.parent_path().parent_path() / L"winehome" / L"played.raw"; }
    std::vector<std::uint8_t> played() const {
        std::ifstream in(playedFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The active sound as `length` bytes of a pattern, recorded as a change.
    wavora::SoundDoc& sound(std::int32_t rate, std::uint8_t bits, std::uint16_t channels, std::int32_t length) {
        wavora::SoundDoc& d = state().active();
        d.SRATE = rate;
        d.BitsParSample = bits;
        d.Channels = channels;
        d.DataLen = length;
        for (std::int32_t i = 0; i < length; ++i)
            d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(60 + (i * 7) % 131);
        wavora::snapshot(state(), 20);
        return d;
    }
    // What Play should send, rendered by the literal algorithm on a copy.
    std::vector<std::uint8_t> rendered(const wavora::SoundDoc& d) {
        wavora::test::FakePlatform fake;
        wavora::EditorState copy(fake);
        wavora::SoundDoc& c = copy.active();
        c.Samples = d.Samples;
        c.VolumeGraph = d.VolumeGraph;
        c.PitchGraph = d.PitchGraph;
        c.DataLen = d.DataLen;
        c.BitsParSample = d.BitsParSample;
        EXPECT_TRUE(wavora::test::literalPitchStretch(copy));
        wavora::ApplyVolumeGraph(copy, 0, c.DataLen);
        return {c.Samples.begin(), c.Samples.begin() + c.DataLen};
    }
    void playAndWait(int id = 1201) {
        std::error_code ec;
        fs::remove(playedFile(), ec);
        command(id);
        pump(10s, [&] { return !state().play.PlayingFlag; });
        pump(200ms);
    }
    // The device writes the bytes (whole frames: a stereo sound stretched to
    // an odd length loses its last byte) and then a little padding.
    void expectPlayed(std::vector<std::uint8_t> expect) {
        const wavora::SoundDoc& d = state().active();
        expect.resize(expect.size() / static_cast<std::size_t>(d.Channels * d.BitsParSample / 8) *
                      static_cast<std::size_t>(d.Channels * d.BitsParSample / 8));
        const auto got = played();
        ASSERT_GE(got.size(), expect.size());
        const auto differ = std::mismatch(expect.begin(), expect.end(), got.begin());
        EXPECT_EQ(differ.first - expect.begin(), expect.end() - expect.begin()) << "first byte that differs";
        EXPECT_LT(got.size(), expect.size() + 16384);
    }
};

TEST_F(SoundDevice, PlayedBytesAreTheRenderedSound) {
    struct Case {
        std::int32_t rate;
        std::uint8_t bits;
        std::uint16_t channels;
        const char* graph;
    };
    for (const Case c : {Case{44100, 8, 1, "volume"}, Case{8000, 16, 1, "pitch"}, Case{22050, 8, 2, "both"},
                         Case{11025, 16, 1, "volume"}}) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz " + std::to_string(c.bits) + " bit " + c.graph);
        wavora::SoundDoc& d = sound(c.rate, c.bits, c.channels, 6000);
        const std::string g = c.graph;
        if (g != "pitch") std::fill_n(d.VolumeGraph.begin() + 1000, 2000, std::uint8_t{40});
        if (g != "volume") std::fill_n(d.PitchGraph.begin() + 2000, 1500, std::uint8_t{90});
        const auto expect = rendered(d);
        playAndWait();
        expectPlayed(expect);
        EXPECT_EQ(std::vector<std::uint8_t>(d.Samples.begin(), d.Samples.begin() + d.DataLen), expect);
        EXPECT_EQ(state().BusyFlag, 0);
        EXPECT_EQ(d.VolumeGraph[1500], 128);
        EXPECT_EQ(d.PitchGraph[2500], 128);
    }
    EXPECT_TRUE(boxes->seen().empty());
}

TEST_F(SoundDevice, AMarkerOrASelectionPlaysItsPartOnly) {
    wavora::SoundDoc& d = sound(8000, 8, 1, 4000);
    d.HasMarker = 1;
    d.SelStart = 1000;
    playAndWait();
    expectPlayed({d.Samples.begin() + 1000, d.Samples.begin() + 4000});
    d.HasMarker = 0;
    d.HasSelection = 1;
    d.SelStart = 500;
    d.SelLength = 700;
    d.VolumeGraph[600] = 0; // a selection is played as it is
    playAndWait();
    expectPlayed({d.Samples.begin() + 500, d.Samples.begin() + 1200});
    EXPECT_EQ(d.VolumeGraph[600], 0);
}

// Whole copies of `once` at the start of `got`, each after the silence the
// device plays while it waits for the next write.
int passes(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& once) {
    int n = 0;
    for (std::size_t at = 0;; at += once.size(), ++n) {
        while (at < got.size() && got[at] == 128) ++at;
        if (got.size() - at < once.size() || !std::equal(once.begin(), once.end(), got.begin() + at)) return n;
    }
}

TEST_F(SoundDevice, LoopPlayWritesTheBufferAgainUntilStop) {
    wavora::SoundDoc& d = sound(8000, 8, 1, 2000);
    const std::vector<std::uint8_t> once(d.Samples.begin(), d.Samples.begin() + 2000);
    std::error_code ec;
    fs::remove(playedFile(), ec);
    command(1238);
    pump(10s, [&] { return passes(played(), once) >= 3; });
    EXPECT_EQ(state().play.PlayingFlag, 1);
    command(1227);
    pump(300ms);
    EXPECT_EQ(state().play.PlayingFlag, 0);
    EXPECT_EQ(state().play.LoopPlay, 0);
    EXPECT_GE(passes(played(), once), 3);
    // The fix commands swap their captions in the real menu.
    command(1259);
    wchar_t caption[64] = {};
    GetMenuStringW(wavora::app().popups[wavora::PlayPopup], wavora::FixPitchGraphPosition, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(utf8(caption), "高さグラフ固定 解除する(&H)");
    command(1259);
    GetMenuStringW(wavora::app().popups[wavora::PlayPopup], wavora::FixPitchGraphPosition, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(utf8(caption), "高さグラフ固定する(&H)");
    const auto size = fs::file_size(playedFile(), ec);
    pump(500ms);
    EXPECT_EQ(fs::file_size(playedFile(), ec), size); // Stop silenced it
    EXPECT_TRUE(boxes->seen().empty());
}

TEST_F(SoundDevice, ARecordingFillsTheSoundWithTheDevicesSilenceAndCanBeUndone) {
    wavora::SoundDoc& d = sound(8000, 8, 1, 12000); // 1.5 seconds: no wait dialog
    std::fill_n(d.Samples.begin(), 12000, std::uint8_t{50});
    wavora::snapshot(state(), 20);
    command(1215);
    pump(10s, [&] { return !boxes->seen().empty(); });
    pump(300ms);
    const auto seen = boxes->seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "録音終了");
    EXPECT_EQ(seen[0].text, "");
    EXPECT_TRUE(std::all_of(d.Samples.begin(), d.Samples.begin() + 12000, [](std::uint8_t v) { return v == 128; }));
    EXPECT_EQ(state().BusyFlag, 0);
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "17");
    command(1212);
    EXPECT_EQ(d.Samples[6000], 50);
}

// Run on its own (tests/win's CMake entry), with ALSA pointed at a device
// that does not exist.
using NoSoundDevice = SoundDevice;

TEST_F(NoSoundDevice, PlayShowsTheOpenErrorAndTheProgramGoesOn) {
    wavora::SoundDoc& d = sound(8000, 8, 1, 2000);
    command(1201);
    pump(500ms);
    auto seen = boxes->seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "waveOutOpen");
    EXPECT_EQ(seen[0].text, "BADDEVICEID デバイス識別子が無効である   エラーコード定数＝2");
    EXPECT_EQ(state().play.PlayingFlag, 0);
    EXPECT_EQ(state().BusyFlag, 0);
    command(1215); // recording cannot open either, and leaves nothing locked
    pump(500ms);
    seen = boxes->seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, "waveInOpen");
    EXPECT_EQ(seen[1].text, seen[0].text);
    EXPECT_EQ(state().BusyFlag, 0);
    command(1221); // and the next command runs
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "12");
}

} // namespace
} // namespace wintest
