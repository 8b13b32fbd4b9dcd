// The settings files: line reading in every line-end style, the NUL the
// writer leaves, the folder fallback and the rectangle rules.
#include "FakePlatform.h"
#include "app/Settings.h"
#include "text/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace wavora {
namespace {

namespace fs = std::filesystem;
using test::FakePlatform;

std::string withNul(const std::string& text) { return text + '\0'; }

struct Settings : ::testing::Test {
    fs::path dir;
    FakePlatform fake;
    std::unique_ptr<EditorState> s;
    void SetUp() override {
        // The process id too: another checkout's tests may run at the same time.
        dir = fs::temp_directory_path() / ("wavora-settings-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        s = std::make_unique<EditorState>(fake, dir);
        s->frame.CurrentDir = "/home/user/音";
        createWorkingFolders(*s);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path file(const std::string& name) { return dir / pathFromUtf8(name); }
    void write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(Settings, EveryLineEndStyleGivesTheSameLines) {
    for (const std::string& bytes : {std::string("a\nb\nc"), std::string("a\r\nb\r\nc"), std::string("a\n\rb\n\rc"),
                                     std::string("a\rb\rc\r\n"), std::string("a\r\nb\r\nc\r\n\0", 10)}) {
        write(file("t.txt"), bytes);
        EXPECT_EQ(readLine(fake, file("t.txt"), 0), "a");
        EXPECT_EQ(readLine(fake, file("t.txt"), 1), "b");
        EXPECT_EQ(readLine(fake, file("t.txt"), 2), "c");
        EXPECT_EQ(readLine(fake, file("t.txt"), 3), "");
    }
    // Two line ends in a row of different kinds count as one; a third starts
    // an empty line.
    write(file("t.txt"), "a\n\n\nb");
    EXPECT_EQ(readLine(fake, file("t.txt"), 1), "");
    EXPECT_EQ(readLine(fake, file("t.txt"), 2), "b");
    // Nothing after a NUL is read; control characters are dropped.
    write(file("t.txt"), std::string("x\ty\0z\nw", 7));
    EXPECT_EQ(readLine(fake, file("t.txt"), 0), "xy");
    EXPECT_EQ(readLine(fake, file("t.txt"), 1), "");
    EXPECT_EQ(readLine(fake, file("missing.txt"), 0), "");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Settings, LongLinesAreCutWithoutSplittingACharacter) {
    write(file("t.txt"), std::string(5000, 'x') + "\r\nnext");
    std::string line = readLine(fake, file("t.txt"), 0);
    EXPECT_EQ(line, std::string(ReadLineMax, 'x'));
    EXPECT_EQ(readLine(fake, file("t.txt"), 1), "next");
    // 1003 bytes would end in the first half of a double-byte character.
    std::string sjisA = "\x82\xA0"; // あ
    std::string bytes;
    for (int i = 0; i < 2500; ++i) bytes += sjisA;
    write(file("t.txt"), bytes);
    line = readLine(fake, file("t.txt"), 0);
    EXPECT_EQ(line.size(), 501u * 3u); // 501 whole characters, as UTF-8
    EXPECT_EQ(line.substr(0, 3), "あ");
    // A file far larger than any settings file is read only as far as needed.
    write(file("t.txt"), "12\r\n" + std::string(3u << 20, 'y'));
    EXPECT_EQ(readLine(fake, file("t.txt"), 0), "12");
    EXPECT_EQ(readLine(fake, file("t.txt"), 1), std::string(ReadLineMax, 'y'));
}

TEST_F(Settings, WrittenTextIsShiftJisWithOneNul) {
    ASSERT_TRUE(writeText(file("t.txt"), "音\r\n"));
    EXPECT_EQ(read(file("t.txt")), withNul("\x89\xB9\r\n"));
    EXPECT_EQ(readLine(fake, file("t.txt"), 0), "音");
    // Rewriting a longer file leaves nothing of the old text behind.
    ASSERT_TRUE(writeText(file("t.txt"), "0123456789"));
    ASSERT_TRUE(writeText(file("t.txt"), "7"));
    EXPECT_EQ(read(file("t.txt")), withNul("7"));
    EXPECT_FALSE(writeText(file("no/such/folder/t.txt"), "x"));
    EXPECT_TRUE(fileExists(dir, "t.txt"));
    EXPECT_FALSE(fileExists(dir, "Wavora個人設定")); // a folder is no file
}

TEST_F(Settings, FoldersFallBackToTheCurrentDirectory) {
    loadFolderSettings(*s);
    EXPECT_EQ(s->frame.FileOpenPath, "/home/user/音");
    EXPECT_EQ(s->frame.FileHozonPath, "/home/user/音");
    writeText(file("Wavora個人設定/FileOpenPath.wavora"), "C:");
    writeText(file("Wavora個人設定/FileHozonPath.wavora"), "D:\\音声");
    loadFolderSettings(*s);
    EXPECT_EQ(s->frame.FileOpenPath, "/home/user/音");
    EXPECT_EQ(s->frame.FileHozonPath, "D:\\音声");
}

TEST_F(Settings, FrameRectangleRoundTripAndNarrowRule) {
    loadFramePosition(*s);
    EXPECT_EQ(s->frame.left, 13);
    EXPECT_EQ(s->frame.top, 50);
    EXPECT_EQ(s->frame.width, 950);
    EXPECT_EQ(s->frame.height, 534);
    s->frame.left = -4;
    s->frame.top = 7;
    s->frame.width = 99;
    s->frame.height = 100;
    s->frame.FileOpenPath = "E:\\開く";
    saveSettings(*s);
    EXPECT_EQ(read(file("Wavora個人設定/WindowPos.wavora")), withNul("-4\r\n7\r\n300\r\n100\r\n"));
    loadFramePosition(*s);
    EXPECT_EQ(s->frame.left, -4);
    EXPECT_EQ(s->frame.width, 300);
    EXPECT_EQ(s->frame.height, 100);
    EXPECT_EQ(read(file("Wavora個人設定/FileOpenPath.wavora")), withNul("E:\\\x8A\x4A\x82\xAD"));
    // Lines that are no numbers read as 0.
    write(file("Wavora個人設定/WindowPos.wavora"), "x\n\n");
    loadFramePosition(*s);
    EXPECT_EQ(s->frame.left, 0);
    EXPECT_EQ(s->frame.height, 0);
    // A number too large for the frame stops at the largest one.
    write(file("Wavora個人設定/WindowPos.wavora"), "99999999999999999999\n-99999999999999999999\n");
    loadFramePosition(*s);
    EXPECT_EQ(s->frame.left, 2147483647);
    EXPECT_EQ(s->frame.top, -2147483647 - 1);
}

TEST_F(Settings, ToolWindowPosition) {
    loadToolWindowPosition(*s);
    EXPECT_EQ(s->frame.toolLeft, 1);
    EXPECT_EQ(s->frame.toolTop, 2);
    saveToolWindowPosition(*s, 640, 12);
    loadToolWindowPosition(*s);
    EXPECT_EQ(s->frame.toolLeft, 640);
    EXPECT_EQ(s->frame.toolTop, 12);
}

} // namespace
} // namespace wavora
