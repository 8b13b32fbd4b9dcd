// Bytes cut or copied with the context menu, pasted at the marker or over the
// selection, and a file's data put in place of the selection.
#include "ToolTestSupport.h"
#include "layers/Clipboard.h"
#include "app/LoadIntoSelection.h"
#include "converter/HelperClient.h"
#include "converter/pictra/PictraState.h"
#include "layers/Layers.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "wavfile/WavFile.h"

#include <fstream>

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

TEST_F(Paste, AWavFileGoesIntoTheSelectionOnlyAtTheSoundsOwnRateAndDepth) {
    pictra::PictraState helper;
    std::string chosen;
    fake.onHelperRecord = [&](std::uintptr_t n, const std::string& block) {
        if (pictra::handleRecord(helper, n, block.data(), block.size()) == pictra::RecordAction::None) return;
        pictra::storeDialogResult(helper, true, utf8ToShiftJis(chosen) + '\0');
        onHelperCopyData(s, 1, helper.PathBuffer.data(), helper.PathBuffer.size());
    };
    auto wav = [&](const char* name, std::int32_t rate, std::uint8_t bits) {
        const std::vector<std::uint8_t> data(300, 9), file = wavFileBytes(data, 1, rate, bits);
        std::ofstream(root.path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        chosen = utf8FromPath(root.path / name);
    };
    loadWavIntoSelectionCommand(s);
    EXPECT_EQ(fake.lastBox().text, "現在アクティブなウィンドウに選択範囲がありません。");
    doc(w).HasSelection = 1;
    doc(w).SelStart = 1000;
    doc(w).SelLength = 1000;
    wav("other.wav", 11025, 8);
    loadWavIntoSelectionCommand(s);
    EXPECT_EQ(fake.lastBox().caption, "(;ﾟДﾟ)!");
    EXPECT_EQ(doc(w).SRATE, 8000);
    EXPECT_EQ(doc(w).DataLen, 3000);
    wav("same.wav", 8000, 8);
    loadWavIntoSelectionCommand(s);
    EXPECT_EQ(doc(w).DataLen, 2300);
    EXPECT_EQ(doc(w).Samples[1299], 9);
    EXPECT_EQ(doc(w).Samples[1300], 128);
    EXPECT_EQ(doc(w).UnDoFlag.substr(doc(w).UnDoFlag.size() - 2), "10");
    EXPECT_EQ(s.BusyFlag, 0);
}

} // namespace
} // namespace wavora::test
