// The undo folder lives on disk between changes, where anything may damage it.
// Whatever a damaged record says, restoring it must either be refused or leave
// a sound that painting and the generators can work on without reading or
// writing outside its buffers (the sanitizers watch every access).
#include "UndoTestSupport.h"
#include "synth/PitchNoise.h"
#include "synth/SineGenerators.h"
#include "undo/UndoFiles.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <random>

using namespace wavora;

namespace {

class DamagedHistory : public test::UndoFixture {
  protected:
    std::mt19937 rng{20261208};

    void writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(undoFile(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Overwrites a few 32-bit fields with the values most likely to break
    // arithmetic: extremes, negatives, just past the limits, or noise.
    void damage(std::vector<std::uint8_t>& record) {
        static const std::int32_t nasty[] = {
            0, 1, -1, 2, 7, 16, 255, 256, DATALENMAX, DATALENMAX + 1, 1 << 30, INT32_MAX, INT32_MIN, -500000};
        const int fields = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < fields; ++k) {
            const std::size_t at = rng() % (record.size() - 3);
            const std::int32_t value =
                rng() % 3 == 0 ? static_cast<std::int32_t>(rng()) : nasty[rng() % std::size(nasty)];
            putInt32(record.data() + at, value);
        }
    }

    // Everything a user would do next with the sound that came back.
    void useTheSound() {
        SoundDoc& d = s->active();
        ASSERT_GE(d.DataLen, 0);
        ASSERT_LE(d.DataLen, DATALENMAX);
        ASSERT_TRUE(d.BitsParSample == 8 || d.BitsParSample == 16);
        ASSERT_TRUE(d.Channels == 1 || d.Channels == 2);
        ASSERT_LE(d.LayerCount, 6);
        PaintSoundWindow(*s, s->ActWndNum);
        sineBlock(*s, 100, 440, d.DataLen, 0.0f);
        pitchSineFill(*s, 50, 440, 3.0f, d.DataLen, PitchJumpsRandomly);
        noiseFill(*s, 20, d.DataLen);
    }
};

TEST_F(DamagedHistory, DamagedRecordsAreRefusedOrGiveAUsableSound) {
    createSharedSurfaces(*s);
    const int slot = createSoundWindow(*s, "音", 1100, 768);
    ASSERT_EQ(slot, 0);
    SoundDoc& d = s->active();
    d.DataLen = 3000;
    snapshot(*s, 0);
    change(20, 10);
    change(14, 20);
    const std::vector<std::uint8_t> info = fileBytes("UnDo_Info_00_01.txt");
    const std::vector<std::uint8_t> layer = fileBytes("UnDo_LyInfo_00_01.txt");
    ASSERT_EQ(info.size(), StateRecordSize);
    ASSERT_EQ(layer.size(), LayerRecordSize);

    int refused = 0, restored = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<std::uint8_t> badInfo = info, badLayer = layer;
        if (round % 2 == 0) damage(badInfo);
        if (round % 3 != 1) damage(badLayer);
        writeFile("UnDo_Info_00_01.txt", badInfo);
        writeFile("UnDo_LyInfo_00_01.txt", badLayer);
        if (restoreStep(*s, 1))
            ++restored;
        else
            ++refused;
        useTheSound();
        if (HasFatalFailure()) return;
    }
    // Both outcomes must really have been exercised for the test to mean anything.
    EXPECT_GT(refused, 20);
    EXPECT_GT(restored, 20);
}

} // namespace
