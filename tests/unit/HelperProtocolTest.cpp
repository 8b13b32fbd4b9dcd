// The converter protocol from both ends: the editor's filter, records and
// reply parse, and Pictra's handling of whatever records arrive.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "converter/HelperClient.h"
#include "converter/pictra/BmpFile.h"
#include "converter/pictra/PictraState.h"
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavora {
namespace {

using namespace test;
using namespace std::string_literals;

std::string sjis(const std::string& utf8) { return utf8ToShiftJis(utf8); }

TEST(HelperFilter, PairsPerExtensionThenAllFiles) {
    const std::string all = sjis("すべてのファイル(*)") + '\0' + "*" + '\0';
    EXPECT_EQ(buildHelperFilter("wav"), "wav(*.wav)\0*.wav\0"s + all + '\0');
    EXPECT_EQ(buildHelperFilter("wav")->size(), 40u);
    EXPECT_EQ(buildHelperFilter("bmp,jpg,gif,png")->size(), 91u);
    // An empty item between commas gives the all-files pair in its place.
    EXPECT_EQ(buildHelperFilter("a,,b"), "a(*.a)\0*.a\0"s + all + "b(*.b)\0*.b\0"s + all + '\0');
    EXPECT_FALSE(buildHelperFilter("abcdefghijkl"));              // an item of 12 characters
    const std::string eleven = "abcdefghijk";
    std::string six = eleven;
    for (int i = 0; i < 5; ++i) six += "," + eleven;
    EXPECT_EQ(buildHelperFilter(six.substr(0, 59))->size(), 228u);
    EXPECT_FALSE(buildHelperFilter(six)); // 269 bytes: more than the helper's 264
    EXPECT_FALSE(buildHelperFilter(std::string(104, 'a'))); // 104 characters
}

// The editor with a helper played by Pictra's own record handling: the
// dialog's answer is scripted, the reply goes back as the real one does.
struct Helper : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    pictra::PictraState pictra;
    bool chosen = true;
    std::string answer; // the chosen path(s), Shift-JIS with its zero bytes
    std::string shownKind;

    void SetUp() override {
        fake.onHelperRecord = [this](std::uintptr_t n, const std::string& block) {
            auto action = pictra::handleRecord(pictra, n, block.data(), block.size());
            if (action == pictra::RecordAction::None) return;
            shownKind = action == pictra::RecordAction::ShowOpenDialog ? "open" : "save";
            pictra::storeDialogResult(pictra, chosen, answer);
            onHelperCopyData(s, 1, pictra.PathBuffer.data(), pictra.PathBuffer.size());
        };
    }
    std::filesystem::path settings(const char* name) { return root.path / u8"Wavora個人設定" / name; }
};

TEST_F(Helper, RecordsInTheirOrderAndASingleFileAnswer) {
    answer = sjis("C:\\音\\a.wav") + '\0';
    EXPECT_EQ(AskHelperForFile(s, SaveDialog, "wav", "保存先", "C:\\sounds\\", "long initial name.wav", 0), 1);
    ASSERT_EQ(fake.helperRecords.size(), 6u);
    const std::uintptr_t numbers[] = {SetFilter, SetFileName, SetFolder, SetTitle, fake.frame, ShowDialog};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(fake.helperRecords[i].number, numbers[i]);
    EXPECT_EQ(fake.helperRecords[2].block, "C:\\sounds\0\0"s); // no trailing backslash
    EXPECT_EQ(fake.helperRecords[3].block, sjis("保存先") + "\0\0"s);
    EXPECT_EQ(fake.helperRecords[4].block.size(), 4u);
    EXPECT_EQ(fake.helperRecords[5].block, "1\0\0"s);
    EXPECT_EQ(shownKind, "save");
    EXPECT_EQ(pictra.ReplyWindow, fake.frame);
    // The helper cleared the longer initial name: the path is followed by zeros.
    EXPECT_EQ(s.frame.ChosenNames[0], "a.wav");
    EXPECT_EQ(s.frame.FileHozonPath, "C:\\音\\");
    EXPECT_EQ(helperReplyPath(s), "C:\\音\\a.wav");
    std::ifstream in(settings("FileHozonPath.wavora"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), sjis("C:\\音\\") + '\0');
}

TEST_F(Helper, SeveralFilesAndCancelAndNoHelper) {
    s.frame.ChosenNames[0] = "before";
    chosen = false;
    EXPECT_EQ(AskHelperForFile(s, OpenDialog, "wav", "t", "C:\\x", ".wav", 0), 0);
    EXPECT_EQ(shownKind, "open");
    EXPECT_EQ(s.frame.ChosenNames[0], "before");
    EXPECT_FALSE(std::filesystem::exists(settings("FileOpenPath.wavora")));

    chosen = true;
    answer = "C:\\d\0one.wav\0two.wav\0\0"s;
    EXPECT_EQ(AskHelperForFile(s, OpenDialog, "wav", "t", "C:\\x", "", 1), 2);
    EXPECT_EQ(fake.helperRecords[fake.helperRecords.size() - 2].number, AllowMultiSelect);
    EXPECT_EQ(pictra::dialogFlags(pictra), pictra::MultiSelectDialogFlags);
    EXPECT_EQ(s.frame.FileOpenPath, "C:\\d");
    EXPECT_EQ(s.frame.ChosenNames[1], "two.wav");

    // Gone helper: the earlier reply is not taken for an answer, and the user
    // is told why nothing opens.
    fake.helperPresent = false;
    fake.boxes.clear();
    EXPECT_EQ(AskHelperForFile(s, OpenDialog, "wav", "t", "C:\\x", "", 0), 0);
    EXPECT_TRUE(s.frame.HelperReply.empty());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, HelperGoneCaption);
}

TEST_F(Helper, TextsLongerThanTheHelperHoldsAreNotSentCut) {
    answer = "C:\\a.wav\0"s;
    AskHelperForFile(s, OpenDialog, "wav", std::string(700, 't'), std::string(300, 'f'), std::string(300, 'n'), 0);
    EXPECT_EQ(fake.helperRecords[1].block, "\0\0"s); // name and folder: empty rather than another place
    EXPECT_EQ(fake.helperRecords[2].block, "\0\0"s);
    EXPECT_EQ(pictra::textOf(pictra.DialogTitle).size(), 663u);
}

TEST(HelperReply, OnlyRecordOneAndAtMost500Bytes) {
    FakePlatform fake;
    EditorState s{fake};
    const std::string big(800, 'x');
    onHelperCopyData(s, 2, big.data(), big.size());
    EXPECT_TRUE(s.frame.HelperReply.empty());
    onHelperCopyData(s, 1, big.data(), big.size());
    EXPECT_EQ(s.frame.HelperReply.size(), 500u);
    onHelperCopyData(s, 1, nullptr, 40);
    EXPECT_TRUE(s.frame.HelperReply.empty());
}

TEST(PictraRecords, HostileRecordsNeverOverrun) {
    pictra::PictraState st;
    const std::string noEnd(5000, 'A'); // claims far more than any buffer, no terminator
    for (std::uintptr_t n : {0u, 2u, 3u, 77u})
        EXPECT_EQ(pictra::handleRecord(st, n, noEnd.data(), noEnd.size()), pictra::RecordAction::None);
    EXPECT_EQ(pictra::textOf(st.DialogTitle).size(), 663u);
    EXPECT_EQ(pictra::textOf(st.PathBuffer).size(), 259u);
    EXPECT_EQ(pictra::textOf(st.InitialFolder).size(), 263u);
    EXPECT_EQ(pictra::textOf(st.OutputPath).size(), 263u);
    EXPECT_EQ(st.ReplyWindow, 77u);
    pictra::handleRecord(st, 2, "ab", 2); // a short name after a long one ends right after itself
    EXPECT_EQ(std::string(st.PathBuffer.data(), 4), "ab\0\0"s);

    const std::string filter = "a\0*.a\0\0"s;
    pictra::handleRecord(st, 1, filter.data(), filter.size());
    pictra::handleRecord(st, 1, noEnd.data(), 265); // longer than the list can be: ignored
    EXPECT_EQ(pictra::filterList(st), filter);
    pictra::handleRecord(st, 1, noEnd.data(), 264); // fits, but never ends: it is ended
    EXPECT_EQ(pictra::filterList(st).size(), 264u);
    EXPECT_EQ(pictra::handleRecord(st, 5, nullptr, 10), pictra::RecordAction::None); // bytes it does not carry
    EXPECT_EQ(pictra::handleRecord(st, 5, "0", 1), pictra::RecordAction::ShowOpenDialog);
    EXPECT_EQ(pictra::handleRecord(st, 5, "01", 2), pictra::RecordAction::ShowSaveDialog);
    // A double-byte character is never cut in half.
    const std::string kana = sjis(std::string(200, 'a') + "ああああああああああああああああああああああああああああああああ");
    pictra::handleRecord(st, 2, kana.data(), kana.size());
    EXPECT_EQ(pictra::textOf(st.PathBuffer).size(), 258u);
    // A choice too long for the reply counts as no choice.
    pictra::storeDialogResult(st, true, std::string(300, 'p') + '\0');
    EXPECT_EQ(st.PathBuffer[0], '\0');
}

TEST(PictraBitmap, DepthRuleAndFileBytes) {
    using namespace pictra::pixel;
    EXPECT_EQ(pictra::bitmapFormatFor(0x30803), 0x30803u);          // 8 bits indexed stays
    EXPECT_EQ(pictra::bitmapFormatFor(0x21808), 0x21808u);          // 24 bits stays
    EXPECT_EQ(pictra::bitmapFormatFor(0x26200A), Format32bppARGB);  // alpha: 32 with alpha
    EXPECT_EQ(pictra::bitmapFormatFor(0x61007), Format32bppARGB);   // 16 bits with alpha bit too
    EXPECT_EQ(pictra::bitmapFormatFor(0x10300C), Format32bppRGB);   // 48 bits: 32 without alpha
    EXPECT_EQ(pictra::bitmapFormatFor(0x101004), Format32bppRGB);   // 16-bit grey is not drawable

    pictra::BitmapImage img{3, 2, 8, false, {0xFF102030, 0x80405060}, {0, 1, 0, 0, 1, 1, 0, 0}};
    const auto b = pictra::bmpFileBytes(img);
    auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24; };
    ASSERT_EQ(b.size(), 14u + 40 + 8 + 8);
    EXPECT_EQ(u32(2), 70);  // file size
    EXPECT_EQ(u32(10), 62); // pixels after the two-colour palette
    EXPECT_EQ(b[28], 8);    // bits per pixel
    EXPECT_EQ(u32(46), 2);  // colours used
    EXPECT_EQ(u32(54), 0x102030); // alpha dropped
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 62, b.end()),
              (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 1, 0, 0})); // bottom row first

    pictra::BitmapImage argb{1, 1, 32, false, {}, {1, 2, 3, 0x7F}};
    const auto a = pictra::bmpFileBytes(argb);
    EXPECT_EQ(a[28], 32);
    EXPECT_EQ(a.back(), 0x7F); // the alpha byte is kept
    argb.pixels.pop_back();
    EXPECT_TRUE(pictra::bmpFileBytes(argb).empty()); // rows that do not match the size
}

} // namespace
} // namespace wavora
