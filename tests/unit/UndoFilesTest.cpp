// The bytes the undo store leaves on disk, the layer steps, and the saved
// effect source. The expected records are laid out here field by field, at the
// offsets other programs reading these files rely on.
#include "UndoTestSupport.h"

namespace wavora::test {
namespace {

using UndoFiles = UndoFixture;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    b[at] = static_cast<std::uint8_t>(u);
    b[at + 1] = static_cast<std::uint8_t>(u >> 8);
    b[at + 2] = static_cast<std::uint8_t>(u >> 16);
    b[at + 3] = static_cast<std::uint8_t>(u >> 24);
}

std::vector<std::uint8_t> pattern(std::size_t n, int seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(i * 31 + static_cast<std::size_t>(seed));
    return v;
}

// Slot 2 with layer 3 active and every recorded field set to a distinct value.
struct Layout : UndoFixture {
    SoundDoc* d = nullptr;
    void prepare() {
        s->ActWndNum = 2;
        d = &s->docs[2];
        d->WindowHandle = fake.createSoundWindow("音");
        s->WindowCount = 1;
        s->CurrentTool = 7;
        d->DataLen = 300;
        auto samples = pattern(300, 1), volume = pattern(300, 2), pitch = pattern(300, 3);
        std::copy(samples.begin(), samples.end(), d->Samples.begin());
        std::copy(volume.begin(), volume.end(), d->VolumeGraph.begin());
        std::copy(pitch.begin(), pitch.end(), d->PitchGraph.begin());
        d->HasSelection = 1;
        d->HasMarker = 1;
        d->SelRect = {11, 0, 222, 768};
        d->SelStart = 33;
        d->SelLength = 44;
        d->LayerCount = 2;
        d->LayerIds = {0, 3, 1, 0, 0, 0, 5};
        d->ActiveLayer = 3;
        d->Channels = 2;
        d->BitsParSample = 16;
        d->SRATE = 22050;
        LayerPool& p = s->layers;
        p.LyPixelX[3] = -5;
        p.LyScreenX[3] = 77;
        p.LyLen[3] = 50;
        p.LyStart[3] = 0x01020304;
        p.LySamples[3] = pattern(1050, 4);
        p.LyVolume[3] = pattern(1050, 5);
        p.LyPitch[3] = pattern(1050, 6);
        p.LyInUse[3] = 1;
        std::fill(s->ScratchBuffer.begin(), s->ScratchBuffer.end(), static_cast<std::uint8_t>(0xAB));
    }
};

TEST_F(Layout, RecordsAndDataFilesHoldTheFieldsAtTheirOffsets) {
    prepare();
    snapshot(*s, 16);

    std::vector<std::uint8_t> info(53, 0);
    info[0] = 7;
    put32(info, 1, 2);
    put32(info, 5, 300);
    put32(info, 9, 1);
    put32(info, 13, 1);
    put32(info, 17, 11);
    put32(info, 21, 33);
    put32(info, 25, 222);
    put32(info, 29, 44);
    put32(info, 33, 2);
    put32(info, 37, 3);
    put32(info, 41, 2);
    put32(info, 45, 16);
    put32(info, 49, 22050);
    EXPECT_EQ(fileBytes("UnDo_Info_02_00.txt"), info);

    std::vector<std::uint8_t> layer(77, 0);
    layer[0] = 7;
    put32(layer, 1, 2);
    put32(layer, 5, 3);
    put32(layer, 9, 2);
    put32(layer, 13, -5);
    put32(layer, 17, 77);
    put32(layer, 21, 50);
    put32(layer, 25, 0x01020304);
    put32(layer, 29, 1);
    put32(layer, 33, 11);
    put32(layer, 37, 33);
    put32(layer, 41, 222);
    put32(layer, 45, 44);
    put32(layer, 49, 3);
    // Offset 53 is never filled in: it keeps what the buffer held there.
    for (std::size_t i = 53; i < 57; ++i)
        layer[i] = 0xAB;
    put32(layer, 57, 3);
    put32(layer, 61, 1);
    EXPECT_EQ(fileBytes("UnDo_LyInfo_03_00.txt"), layer);
    EXPECT_EQ(layer[13], 0xFB); // -5, little-endian two's complement

    EXPECT_EQ(fileBytes("UnDo_Nami_02_00.txt"), pattern(300, 1));
    EXPECT_EQ(fileBytes("UnDo_Vol_02_00.txt"), pattern(300, 2));
    EXPECT_EQ(fileBytes("UnDo_Hz_02_00.txt"), pattern(300, 3));
    auto lyFirst = [](int seed) {
        auto v = pattern(1050, seed);
        v.resize(50);
        return v;
    };
    EXPECT_EQ(fileBytes("UnDo_LyNami_03_00.txt"), lyFirst(4));
    EXPECT_EQ(fileBytes("UnDo_LyVol_03_00.txt"), lyFirst(5));
    EXPECT_EQ(fileBytes("UnDo_LyHz_03_00.txt"), lyFirst(6));
    // Nothing was written under the background's id or another slot.
    EXPECT_FALSE(std::filesystem::exists(undoFile("UnDo_LyInfo_00_00.txt")));
    EXPECT_FALSE(std::filesystem::exists(undoFile("UnDo_Info_00_00.txt")));

    // The next change moves all eight files to step 1 unchanged.
    snapshot(*s, 2);
    EXPECT_EQ(fileBytes("UnDo_Info_02_01.txt"), info);
    EXPECT_EQ(fileBytes("UnDo_LyInfo_03_01.txt"), layer);
    EXPECT_EQ(fileBytes("UnDo_LyHz_03_01.txt"), lyFirst(6));
    EXPECT_EQ(fileBytes("UnDo_Nami_02_01.txt"), pattern(300, 1));
}

TEST_F(Layout, AnEffectSourceComesBackAsOftenAsAsked) {
    prepare();
    s->ScratchBuffer[0] = 0x5A;
    restoreEffectSource(*s); // nothing saved yet: nothing happens
    EXPECT_EQ(d->Samples[0], pattern(300, 1)[0]);
    EXPECT_TRUE(fake.boxes.empty());

    saveEffectSource(*s);
    EXPECT_EQ(d->HasGenOn, 1);
    std::vector<std::uint8_t> expected(9, 0);
    expected[0] = 0x5A; // not set: whatever the buffer held
    put32(expected, 1, 2);
    put32(expected, 5, 300);
    auto samples = pattern(300, 1);
    expected.insert(expected.end(), samples.begin(), samples.end());
    EXPECT_EQ(fileBytes("GenOn_02.txt"), expected);

    for (int round = 0; round < 3; ++round) {
        std::fill_n(d->Samples.begin(), 400, static_cast<std::uint8_t>(round));
        d->DataLen = 400;
        int paints = fake.windows[d->WindowHandle].invalidations;
        EXPECT_TRUE(restoreEffectSource(*s));
        EXPECT_EQ(d->DataLen, 300);
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), d->Samples.begin()));
        EXPECT_EQ(d->HasGenOn, 1);
        EXPECT_GT(fake.windows[d->WindowHandle].invalidations, paints);
    }

    // A damaged source changes nothing and says so.
    truncateFile("GenOn_02.txt", 100);
    d->Samples[0] = 99;
    EXPECT_FALSE(restoreEffectSource(*s));
    EXPECT_EQ(d->Samples[0], 99);
    EXPECT_EQ(d->DataLen, 300);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "<(_ _)>");
}

TEST_F(UndoFiles, LayerStepsComeBackWithTheirDataAndRegistration) {
    openSound(1000);
    SoundDoc& d = s->active();
    LayerPool& p = s->layers;
    // A layer made from the selection (id 2) ...
    d.LayerCount = 1;
    d.LayerIds[1] = 2;
    d.ActiveLayer = 2;
    d.TopLayer = 2;
    p.LayerPoolNext = 2;
    p.LyInUse[2] = 1;
    p.LyLen[2] = 100;
    p.LyStart[2] = 50;
    p.LyPixelX[2] = 40;
    p.LySamples[2].assign(1100, 1);
    p.LyVolume[2].assign(1100, 2);
    p.LyPitch[2].assign(1100, 3);
    snapshot(*s, 4);
    // ... then drawn on and shortened.
    p.LyLen[2] = 80;
    p.LyStart[2] = 60;
    p.LyPixelX[2] = 45;
    std::fill(p.LySamples[2].begin(), p.LySamples[2].end(), static_cast<std::uint8_t>(9));
    snapshot(*s, 2);

    // The pool has let the layer go meanwhile, and the slot's sixth list entry
    // is its own: the file does not reach that far.
    p.LyInUse[2] = 0;
    p.LayerPoolNext = 1;
    d.TopLayer = 0;
    d.LayerIds[6] = 3;
    undoCommand(*s);
    EXPECT_EQ(d.LayerCount, 1);
    EXPECT_EQ(d.ActiveLayer, 2);
    EXPECT_EQ(d.LayerIds[1], 2);
    EXPECT_EQ(d.LayerIds[6], 3);
    EXPECT_EQ(p.LyLen[2], 100);
    EXPECT_EQ(p.LyStart[2], 50);
    EXPECT_EQ(p.LyPixelX[2], 40);
    EXPECT_TRUE(
        std::all_of(p.LySamples[2].begin(), p.LySamples[2].begin() + 100, [](auto v) { return v == 1; }));
    EXPECT_EQ(p.LyVolume[2][99], 2);
    EXPECT_EQ(p.LyPitch[2][99], 3);
    EXPECT_EQ(p.LyInUse[2], 1);
    EXPECT_EQ(d.TopLayer, 2);
    EXPECT_EQ(p.LayerPoolNext, 2);

    // Redo: the layer is in use, so it is not handed out a second time.
    redoCommand(*s);
    EXPECT_EQ(p.LyLen[2], 80);
    EXPECT_EQ(p.LySamples[2][0], 9);
    EXPECT_EQ(p.LayerPoolNext, 2);

    // Back to the sound as it was created: no layers.
    undoCommand(*s);
    undoCommand(*s);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_EQ(d.LayerCount, 0);
    EXPECT_EQ(d.ActiveLayer, 0);
}

TEST_F(UndoFiles, ABackgroundRecordOfAnotherSlotIsNotApplied) {
    // Both sounds edit their background, so both write the layer files of id 0,
    // interleaved: step 1 of id 0 is the second sound's by the time the first undoes.
    openSound(300);
    change(20, 10);
    int second = openSound(300);
    SoundDoc& d2 = s->docs[static_cast<std::size_t>(second)];
    d2.HasSelection = 1;
    d2.SelStart = 7;
    d2.SelLength = 9;
    d2.SelRect = {3, 0, 30, 768};
    d2.LayerCount = 1;
    d2.LayerIds[1] = 5;
    snapshot(*s, 8);

    s->ActWndNum = 0;
    change(21, 20);
    std::vector<std::uint8_t> stepOne = fileBytes("UnDo_LyInfo_00_01.txt");
    ASSERT_EQ(stepOne.size(), 77u);
    ASSERT_EQ(stepOne[1], second); // the second sound's record
    undoCommand(*s);
    const SoundDoc& d1 = s->docs[0];
    EXPECT_TRUE(holds(d1, 10));
    EXPECT_EQ(d1.HasSelection, 0);
    EXPECT_EQ(d1.SelRect.left, 0);
    EXPECT_EQ(d1.SelLength, 300);
    EXPECT_EQ(d1.LayerCount, 0);
    EXPECT_EQ(d1.LayerIds[1], 0);
}

} // namespace
} // namespace wavora::test
