// The real editor's tool window, seen from outside: beside the frame at the
// first start, and back where the user left it after a restart.
#include "Driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

RECT rectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

TEST(ToolWindow, ComesBackWhereItWasLeft) {
    fs::path folder = e2e::freshInstall(L"tool-window");
    e2e::Process p = e2e::startEditor(folder);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);
    HWND tools = e2e::waitForWindow(L"TBWindow", nullptr, p.id);
    ASSERT_NE(tools, nullptr);
    RECT r = rectOf(tools);
    EXPECT_EQ(r.left, 13 + 950 + 1);
    EXPECT_EQ(r.top, 52);
    const int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_LT(width, 60); // one column of 32-pixel buttons

    SetWindowPos(tools, nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(e2e::closeEditor(frame, p));
    EXPECT_EQ(e2e::readBytes(folder / L"Wavora個人設定" / L"TBWindowPos.wavora"), std::string("300\r\n400\r\n") + '\0');

    e2e::Process again = e2e::startEditor(folder);
    frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", again.id);
    ASSERT_NE(frame, nullptr);
    tools = e2e::waitForWindow(L"TBWindow", nullptr, again.id);
    ASSERT_NE(tools, nullptr);
    r = rectOf(tools);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 400);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    EXPECT_TRUE(e2e::closeEditor(frame, again));
}

} // namespace
