// Open and Save as the user meets them: the helper's dialog (played by
// Pictra's own record handling), the new window, the boxes, the file, and a
// close that keeps a sound whose save failed.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "app/Commands.h"
#include "app/Frame.h"
#include "converter/HelperClient.h"
#include "converter/pictra/PictraState.h"
#include "core/SlotTable.h"
#include "input/SoundWindowLifetime.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "view/SoundWindows.h"
#include "wavfile/WavCommands.h"
#include "wavfile/WavConvert.h"
#include "wavfile/WavFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavora {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void putFile(const std::filesystem::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

struct WavCommands : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    pictra::PictraState helper;
    std::string chosen; // the path the user picks; empty: Cancel

    void SetUp() override {
        s.runCommand = dispatchCommand;
        fake.onHelperRecord = [this](std::uintptr_t n, const std::string& block) {
            if (pictra::handleRecord(helper, n, block.data(), block.size()) == pictra::RecordAction::None) return;
            pictra::storeDialogResult(helper, !chosen.empty(), utf8ToShiftJis(chosen) + '\0');
            onHelperCopyData(s, 1, helper.PathBuffer.data(), helper.PathBuffer.size());
        };
        fake.onRequestClose = [this](WindowId w) { onClose(s, s.slotOfWindow(w)); };
        fake.onDestroy = [this](WindowId w) { onDestroy(s, s.slotOfWindow(w)); };
    }
    std::string at(const char* name) { return utf8FromPath(root.path / name); }
    int soundOf(const Bytes& samples) {
        const int slot = createSoundWindow(s, "音", DefaultClientWidth, DefaultClientHeight);
        allocateNewSound(s);
        std::copy(samples.begin(), samples.end(), s.active().Samples.begin());
        s.active().DataLen = static_cast<std::int32_t>(samples.size());
        return slot;
    }
};

TEST_F(WavCommands, OpenReadsTheChosenFileIntoANewWindow) {
    const Bytes data = {0x00, 0x10, 0xFF, 0x7F};
    putFile(root.path / "in.wav", wavFileBytes(data, 1, 22050, 16));
    chosen = at("in.wav");
    openWavCommand(s);
    ASSERT_EQ(s.WindowCount, 1);
    const SoundDoc& d = s.docs[0];
    EXPECT_EQ(fake.windows[d.WindowHandle].title, "in.wav");
    EXPECT_EQ(d.DataLen, 4);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), d.Samples.begin()));
    EXPECT_EQ(d.Samples[4], 0); // silence of the 16-bit sound after the data
    EXPECT_EQ(d.BitsParSample, 16);
    EXPECT_EQ(d.SRATE, 22050);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(utf8ToShiftJis("一度に読み込めるのは１つだけです") + std::string(2, '\0'), fake.helperRecords[3].block);
    EXPECT_EQ(s.frame.FileOpenPath, utf8FromPath(root.path) + "/");
}

TEST_F(WavCommands, AFileThatCannotBeReadLeavesASilentWindowOfAHoldableLength) {
    Bytes notPcm = wavFileBytes(Bytes(56, 0x20), 1, 8000, 8);
    notPcm[20] = 3;
    putFile(root.path / "float.wav", notPcm);
    putFile(root.path / "huge.wav", Bytes(600000, 1));
    for (auto [name, caption, length] : {std::tuple{"float.wav", "PCM形式でない", 101}, {"huge.wav", "開く", DATALENMAX}}) {
        chosen = at(name);
        openWavCommand(s);
        const SoundDoc& d = s.active();
        ASSERT_NE(d.WindowHandle, 0u);
        EXPECT_EQ(fake.lastBox().caption, caption);
        EXPECT_EQ(d.DataLen, length);
        EXPECT_TRUE(std::all_of(d.Samples.begin(), d.Samples.end(), [](std::uint8_t b) { return b == 128; }));
    }
    chosen.clear(); // Cancel: nothing more
    openWavCommand(s);
    EXPECT_EQ(s.WindowCount, 2);
}

TEST_F(WavCommands, SaveShowsItsBoxesAndWritesTheMixOfTheLayers) {
    soundOf({10, 20, 30, 40});
    SoundDoc& d = s.active();
    fake.setWindowTitle(d.WindowHandle, "mix");
    d.LayerCount = 1;
    d.LayerIds[1] = 1;
    s.layers.LySamples[1] = {200, 201, 202, 203};
    s.layers.LyLen[1] = 4;
    s.layers.LyStart[1] = 2; // reaches two bytes past the background
    chosen = at("out.wav");
    saveWavCommand(s);
    EXPECT_EQ(pictra::textOf(helper.PathBuffer), utf8ToShiftJis(chosen));
    EXPECT_EQ(fake.helperRecords[1].block, std::string("mix.wav") + std::string(2, '\0'));
    ASSERT_EQ(fake.boxes.size(), 4u);
    const std::string folder = utf8FromPath(root.path) + "/";
    EXPECT_EQ(fake.boxes[0].caption, "FileHozonFolderPath  ");
    EXPECT_EQ(fake.boxes[0].text, folder);
    EXPECT_EQ(fake.boxes[1].caption, "SaveFilePath  ");
    EXPECT_EQ(fake.boxes[1].text, folder + "out.wav");
    EXPECT_EQ(fake.boxes[2].caption, "FileNameByPictraRetPath  ");
    EXPECT_EQ(fake.boxes[2].text, chosen);
    EXPECT_EQ(fake.boxes[3].caption, "WAVE保存 END");
    EXPECT_EQ(fake.boxes[3].text, "4\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0");
    EXPECT_EQ(fileBytes(root.path / "out.wav"), wavFileBytes(Bytes{10, 20, 200, 201, 202, 203}, 1, 44100, 8));
}

TEST_F(WavCommands, AFailedSaveIsToldAndKeepsTheWindowOnClose) {
    const int slot = soundOf({1, 2, 3});
    const WindowId window = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
    chosen = utf8FromPath(root.path / "gone" / "a.wav");
    fake.requestClose(window); // "を保存しますか？" answered Yes
    EXPECT_EQ(fake.boxes[0].text, "音を保存しますか？");
    EXPECT_EQ(fake.boxCount("(;ﾟ0ﾟ) 保存できません"), 1);
    EXPECT_NE(fake.boxes[4].text.find(chosen), std::string::npos);
    EXPECT_FALSE(fake.windows[window].destroyed);
    EXPECT_EQ(s.WindowCount, 1);
    // The program does not close over it either; once the save works, it does.
    EXPECT_FALSE(frameCloseRequested(s));
    chosen = at("a.wav");
    EXPECT_TRUE(frameCloseRequested(s));
    EXPECT_TRUE(fake.windows[window].destroyed);
    EXPECT_EQ(fileBytes(root.path / "a.wav").size(), 44u + 3 + 1);
}

// A float file of `frames` frames of +0.5 (16384 once converted).
Bytes floatWav(std::uint32_t frames) {
    Bytes f = wavFileBytes(Bytes(frames * 4), 1, 8000, 32);
    f[20] = 3;
    for (std::uint32_t i = 0; i < frames; ++i) f[44 + 4 * i + 3] = 0x3F; // 0x3F000000
    return f;
}

TEST_F(WavCommands, ConvertAndOpenLeavesAWindowOnlyForWhatItReads) {
    putFile(root.path / "float.wav", floatWav(3));
    putFile(root.path / "long.wav", floatWav(300000));
    putFile(root.path / "text.wav", Bytes(100, 'x'));
    for (const char* name : {"text.wav", "float.wav", "long.wav"}) {
        chosen = at(name);
        convertAndOpenCommand(s);
    }
    EXPECT_EQ(utf8ToShiftJis("変換して読み込むwavファイルを選んでください") + std::string(2, '\0'), fake.helperRecords[3].block);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].caption + fake.boxes[0].text, std::string(ConvertRefusedCaption) + NotWavText);
    EXPECT_EQ(fake.boxes[1].caption, "(o・ェ・)");
    EXPECT_EQ(fake.boxes[1].text, "長すぎるので、最初の31.25秒だけ読み込みました。\r\n（ファイル全体は37.5秒です）");
    ASSERT_EQ(s.WindowCount, 2); // none for the text file
    const SoundDoc& d = s.docs[0];
    EXPECT_EQ(fake.windows[d.WindowHandle].title, "float.wav");
    EXPECT_EQ(d.BitsParSample, 16);
    EXPECT_EQ(Bytes(d.Samples.begin(), d.Samples.begin() + 8), (Bytes{0, 0x40, 0, 0x40, 0, 0x40, 0, 0}));
    EXPECT_EQ(d.view.ExtentX, 6);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_EQ(s.docs[1].DataLen, DATALENMAX);
}

TEST_F(WavCommands, OpenOffersTheConverterAfterItsOwnRefusal) {
    putFile(root.path / "float.wav", floatWav(3));
    putFile(root.path / "text.wav", Bytes(100, 'x'));
    chosen = at("float.wav");
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        fake.boxes.clear();
        fake.answers = {MsgAnswer::Ok, answer};
        openWavCommand(s);
        ASSERT_EQ(fake.boxes.size(), 2u);
        EXPECT_EQ(fake.boxes[0].caption, "PCM形式でない"); // Open's own refusal as ever
        EXPECT_EQ(fake.boxes[1].caption, "(o・ェ・)");
        EXPECT_EQ(fake.boxes[1].text, "このファイルは「変換して読み込み」で開けます。\r\n変換して開きますか？");
        EXPECT_EQ(fake.boxes[1].buttons, MsgButtons::YesNo);
        const bool yes = answer == MsgAnswer::Yes;
        EXPECT_EQ(s.active().DataLen, yes ? 6 : 57); // No: the silent window of the file's size
        EXPECT_EQ(s.active().Samples[1], yes ? 0x40 : 0x80);
        EXPECT_EQ(s.active().UnDoFlag, yes ? "00" : "");
    }
    fake.boxes.clear();
    chosen = at("text.wav"); // the converter cannot read it either: no offer
    openWavCommand(s);
    EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(WavCommands, DroppedFilesOpenInOrderUntilTheWindowsRunOut) {
    std::vector<std::string> paths = {utf8FromPath(root.path / "WavoraUnDo")}; // a folder
    for (int i = 1; i <= 6; ++i) {
        putFile(root.path / ("d" + std::to_string(i) + ".wav"), floatWav(static_cast<std::uint32_t>(i)));
        paths.push_back(at(("d" + std::to_string(i) + ".wav").c_str()));
    }
    for (int busy = 0; busy < 3; ++busy) { // a command running, the helper's dialog, a modal window
        s.BusyFlag = busy == 0;
        s.frame.DialogBusy = busy == 1;
        openDroppedFiles(s, paths, busy == 2);
    }
    s.BusyFlag = s.frame.DialogBusy = 0;
    EXPECT_TRUE(fake.boxes.empty());
    openDroppedFiles(s, paths, false);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, NotWavText);
    EXPECT_EQ(fake.boxes[1].text, "画像は5枚までです。"); // once, for the sixth file
    ASSERT_EQ(s.WindowCount, 5);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(fake.windows[s.docs[static_cast<std::size_t>(slot)].WindowHandle].title, "d" + std::to_string(slot + 1) + ".wav");
        EXPECT_EQ(s.docs[static_cast<std::size_t>(slot)].DataLen, 2 * (slot + 1));
    }
    EXPECT_EQ(s.BusyFlag, 0);
}

} // namespace
} // namespace wavora
