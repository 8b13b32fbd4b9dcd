// Bytes cut or copied with the context menu, pasted at the marker or over the
// selection, and a file's data put in place of the selection.
#include "ToolTestSupport.h"
#include "layers/Clipboard.h"
#include "layers/Layers.h"

namespace wavora::test {
namespace {

struct Paste : ToolFixture {
    int w = open(3000);
    // Copies `n` bytes holding 7 into the clipboard.
    void copyBytes(std::int32_t n) {
        std::fill_n(doc(w).Samples.begin() + 2000, n, std::uint8_t{7});
        doc(w).HasSelection = 1;
        doc(w).SelStart = 2000;
        doc(w).SelLength = n;
        copyCommand(s);
        doc(w).HasSelection = 0;
    }
};

TEST_F(Paste, AtAMarkerBeyondTheEndTheSoundIsLengthenedFirst) {
    copyBytes(100);
    doc(w).HasMarker = 1;
    doc(w).SelStart = 3500;
    pasteCommand(s);
    EXPECT_EQ(doc(w).DataLen, 3600);
    EXPECT_EQ(doc(w).Samples[3499], 128);
    EXPECT_EQ(doc(w).Samples[3500], 7);
    EXPECT_EQ(doc(w).Samples[3599], 7);
    EXPECT_EQ(doc(w).HasMarker, 0);
    EXPECT_EQ(doc(w).UnDoFlag.substr(doc(w).UnDoFlag.size() - 2), "19");
}

TEST_F(Paste, ASelectionOfAThousandBytesGivesWayToFourHundred) {
    copyBytes(400);
    for (int i = 1500; i < 3000; ++i) doc(w).Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 200);
    doc(w).HasSelection = 1;
    doc(w).SelStart = 500;
    doc(w).SelLength = 1000;
    pasteCommand(s);
    EXPECT_EQ(doc(w).DataLen, 2400);
    EXPECT_EQ(doc(w).Samples[500], 7);
    EXPECT_EQ(doc(w).Samples[899], 7);
    for (int i = 1500; i < 3000; ++i) ASSERT_EQ(doc(w).Samples[static_cast<std::size_t>(i - 600)], i % 200);
    EXPECT_EQ(doc(w).SelLength, 400);
}

TEST_F(Paste, RefusedWithoutAPlaceOrWithAnotherBitDepth) {
    copyBytes(10);
    fake.popupChoices = {MenuPaste};
    openLayerContextMenu(s, w, 300, 30);
    EXPECT_EQ(fake.lastBox().caption, "貼り付ける場所が指定されていません<(_ _)>");
    int wide = open(3000, 0, 16);
    doc(wide).HasMarker = 1;
    s.ActWndNum = wide;
    pasteCommand(s);
    EXPECT_EQ(fake.lastBox().text, "ビット数が違うので貼り付けできません。");
    EXPECT_EQ(doc(wide).DataLen, 3000);
}

TEST_F(Paste, CutCopiesThenDeletesTheSelection) {
    doc(w).HasSelection = 1;
    doc(w).SelStart = 10;
    doc(w).SelLength = 20;
    cutCommand(s);
    EXPECT_EQ(s.clip.length, 20);
    EXPECT_EQ(commands, std::vector<int>{1208});
}

TEST_F(Paste, AFileTooLongForTheRoomLeftChangesNothing) {
    doc(w).HasSelection = 1;
    doc(w).SelStart = 100;
    doc(w).SelLength = 50;
    std::vector<std::uint8_t> data(DATALENMAX, 9);
    EXPECT_FALSE(replaceSelectionWithData(s, data.data(), DATALENMAX - 2950));
    EXPECT_EQ(fake.lastBox().caption, "データの長さがオーバー");
    EXPECT_EQ(fake.lastBox().text, "オーバーした長さ=0");
    EXPECT_EQ(doc(w).DataLen, 3000);
    EXPECT_TRUE(replaceSelectionWithData(s, data.data(), 70));
    EXPECT_EQ(doc(w).DataLen, 3020);
    EXPECT_EQ(doc(w).Samples[169], 9);
    EXPECT_EQ(doc(w).Samples[170], 128);
    EXPECT_EQ(doc(w).SelLength, 70);
}

} // namespace
} // namespace wavora::test
