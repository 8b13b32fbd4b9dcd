// The real editor in a fresh install folder: what a first start creates, where
// the frame goes, the helper program beside it, and a clean close.
#include "Driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The bytes of a text written by the editor: the text and its closing NUL.
std::string withNul(const char* text) { return std::string(text) + '\0'; }

RECT frameRect(HWND frame) {
    RECT r{};
    GetWindowRect(frame, &r);
    return r;
}

TEST(StartupShutdown, FirstStartMakesTheFoldersAndCloseAsksFirst) {
    fs::path folder = e2e::freshInstall(L"first-start");
    e2e::Process p = e2e::startEditor(folder);
    ASSERT_NE(p.handle, nullptr);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);

    EXPECT_TRUE(fs::is_directory(folder / L"WavoraUnDo"));
    EXPECT_TRUE(fs::is_directory(folder / L"Wavora個人設定"));
    EXPECT_TRUE(fs::is_directory(folder / L"Wavoraメモ"));
    RECT r = frameRect(frame);
    EXPECT_EQ(r.left, 13);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 950);
    EXPECT_EQ(r.bottom - r.top, 534);

    // The helper runs as its own process with its hidden window.
    HWND helper = e2e::waitForWindow(L"ModelApp", L"圧縮ファイルBMP変換だぞ", 0, 5s);
    ASSERT_NE(helper, nullptr);
    DWORD helperPid = e2e::processOf(helper);
    EXPECT_NE(helperPid, p.id);
    EXPECT_FALSE(IsWindowVisible(helper));

    // No keeps everything running.
    PostMessageW(frame, WM_CLOSE, 0, 0);
    HWND box = e2e::waitForMessageBox(L"(ﾟoﾟ)!　Wavoraを閉じる", p.id);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(e2e::utf8(e2e::messageBoxText(box)),
              "本当にWavoraを閉じますか？　はい(y)＝閉じる　いいえ(n)＝閉じない");
    e2e::answer(box, IDNO);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(p.running());
    EXPECT_TRUE(IsWindow(frame));

    // Yes ends both programs and clears the undo folder.
    ASSERT_TRUE(e2e::closeEditor(frame, p));
    EXPECT_TRUE(e2e::waitProcessGone(helperPid, 10s));
    EXPECT_FALSE(fs::exists(folder / L"WavoraUnDo"));
    EXPECT_EQ(e2e::readBytes(folder / L"Wavora個人設定" / L"WindowPos.wavora"),
              withNul("13\r\n50\r\n950\r\n534\r\n"));
    // Both remembered folders fall back to the install folder on a first start.
    std::string open = e2e::readBytes(folder / L"Wavora個人設定" / L"FileOpenPath.wavora");
    ASSERT_FALSE(open.empty());
    EXPECT_EQ(open.back(), '\0');
    EXPECT_EQ(open, e2e::readBytes(folder / L"Wavora個人設定" / L"FileHozonPath.wavora"));
}

TEST(StartupShutdown, RememberedRectangleComesBack) {
    fs::path folder = e2e::freshInstall(L"window-pos");
    fs::path pos = folder / L"Wavora個人設定" / L"WindowPos.wavora";
    // LF-only lines are read like CR LF ones.
    e2e::writeBytes(pos, "40\n60\n1000\n600\n");
    e2e::Process p = e2e::startEditor(folder);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);
    RECT r = frameRect(frame);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 1000);
    EXPECT_EQ(r.bottom - r.top, 600);
    ASSERT_TRUE(e2e::closeEditor(frame, p));
    EXPECT_EQ(e2e::readBytes(pos), withNul("40\r\n60\r\n1000\r\n600\r\n"));
    // An undo folder removed at the end is made again, empty, at the next start.
    EXPECT_FALSE(fs::exists(folder / L"WavoraUnDo"));
}

TEST(StartupShutdown, MinimisedFrameRemembersItsRestoredRectangle) {
    fs::path folder = e2e::freshInstall(L"minimised");
    fs::path pos = folder / L"Wavora個人設定" / L"WindowPos.wavora";
    e2e::writeBytes(pos, "20\r\n30\r\n1000\r\n600\r\n");
    e2e::Process p = e2e::startEditor(folder);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_MINIMIZE);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(IsIconic(frame));
    // The icon's small rectangle would bring the frame back far off at its
    // next start; the rectangle it is restored to is kept instead.
    ASSERT_TRUE(e2e::closeEditor(frame, p));
    EXPECT_EQ(e2e::readBytes(pos), withNul("20\r\n30\r\n1000\r\n600\r\n"));
}

} // namespace

namespace {

TEST(StartupShutdown, MissingHelperIsReportedAndTheEditorStillRuns) {
    std::filesystem::path folder = e2e::freshInstall(L"no-helper");
    std::filesystem::remove(folder / L"Wavora部品" / L"Pictra.exe");
    e2e::Process p = e2e::startEditor(folder);
    HWND box = e2e::waitForMessageBox(L"(;ﾟ0ﾟ) Pictraがありません", p.id);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(e2e::utf8(e2e::messageBoxText(box)).find("Pictra.exe"), std::string::npos);
    e2e::answer(box, IDOK);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(e2e::closeEditor(frame, p));
}

} // namespace
