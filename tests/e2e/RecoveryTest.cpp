// The editor ended the hard way (TerminateProcess) and started again: the
// question, the sound back as it was shown, its history going on; No leaves
// an empty undo folder; the killed editor's helper goes by itself; one editor
// per folder, while editors in different folders run side by side.
#include "Driver.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const wchar_t* const Question = L"(o・ェ・)/前回の作業が残っています";

struct Editor {
    fs::path folder;
    e2e::Process p;
    HWND frame = nullptr;
    DWORD helperPid = 0;
    explicit Editor(const fs::path& f) : folder(f), p(e2e::startEditor(f)) {}
    ~Editor() { p.kill(); } // a test that stopped half-way leaves nothing running
    bool up() {
        frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
        HWND helper = frame ? e2e::waitForHelper(p.id) : nullptr;
        helperPid = helper ? e2e::processOf(helper) : 0;
        if (frame) MoveWindow(frame, 0, 0, 1100, 990, TRUE); // all three bands in view
        return helperPid != 0;
    }
    HWND sound() const {
        HWND mdi = FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
        return mdi ? FindWindowExW(mdi, nullptr, L"document", nullptr) : nullptr;
    }
    fs::path record() const { return folder / L"WavoraUnDo" / L"UnDo_Fukugen_00.txt"; }
    // A command, and the record it rewrites (a dialog closes before its step is stored).
    bool run(int id, bool dialog = false, const wchar_t* typed = nullptr) {
        const std::string before = e2e::readBytes(record());
        PostMessageW(frame, WM_COMMAND, static_cast<WPARAM>(id), 0);
        if (dialog) {
            HWND d = e2e::waitForWindow(L"NORMALDLG", nullptr, p.id, 10s);
            if (!d) return false;
            std::this_thread::sleep_for(300ms);
            if (typed) SendMessageW(FindWindowExW(d, nullptr, L"Edit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return changed(before);
    }
    bool changed(const std::string& before) const {
        for (auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(50ms))
            if (e2e::readBytes(record()) != before) return true;
        return false;
    }
    // A stroke with the drawing tool across a band of the sound window.
    bool draw(int row) {
        const std::string before = e2e::readBytes(record());
        HWND w = sound();
        RECT c{};
        GetClientRect(w, &c);
        const int y = (c.bottom > 768 ? (c.bottom - 768) / 2 : 0) + row;
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, y));
        for (int x = 300; x <= 700; x += 10) SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y - (x - 300) / 8));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(700, y - 50));
        return changed(before);
    }
    // Big enough for all three bands.
    HWND fit() const {
        HWND w = sound();
        if (w) MoveWindow(w, 0, 0, 1060, 860, TRUE);
        return w;
    }
    // The sound window's client area as it is painted.
    std::vector<std::uint32_t> picture() const {
        HWND w = fit();
        SetCursorPos(1270, 1015); // the mouse outside: no tracking line
        SetForegroundWindow(frame);
        std::this_thread::sleep_for(500ms);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        std::this_thread::sleep_for(500ms);
        RECT c{};
        GetClientRect(w, &c);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.right, -c.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        // Taken from the screen: another program's window DC gives nothing here.
        POINT at{0, 0};
        ClientToScreen(w, &at);
        HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, c.right, c.bottom, screen, at.x, at.y, SRCCOPY);
        const auto* px = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> out(px, px + c.right * c.bottom);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        return out;
    }
};

std::map<fs::path, std::string> undoFiles(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& f : fs::directory_iterator(folder / L"WavoraUnDo")) files[f.path()] = e2e::readBytes(f.path());
    return files;
}

// Killed, and its helper gone by itself; then started again in the folder.
std::unique_ptr<Editor> killAndRestart(std::unique_ptr<Editor> e, int answer) {
    e->p.kill();
    e->p.waitExit(5s);
    EXPECT_TRUE(e2e::waitProcessGone(e->helperPid, 5s));
    auto again = std::make_unique<Editor>(e->folder);
    HWND box = e2e::waitForMessageBox(Question, again->p.id);
    EXPECT_NE(box, nullptr);
    EXPECT_EQ(e2e::utf8(e2e::messageBoxText(box)), "前回、Wavoraは正しく終了しませんでした。\r\n"
                                                   "作業中だった音を元に戻しますか？\r\n"
                                                   "（いいえを選ぶと、残っていた作業の記録は消えます。）");
    e2e::answer(box, answer);
    EXPECT_TRUE(again->up());
    return again;
}

TEST(Recovery, AKilledEditorsSoundComesBackOneEditorPerFolderAndNoEmptiesTheFolder) {
    // A sound made, changed three times (a wave, the volume graph, the pitch
    // graph), the last change undone, renamed.
    auto e = std::make_unique<Editor>(e2e::freshInstall(L"recovery"));
    ASSERT_TRUE(e->up() && e->run(1001, true) && e->fit() && e->run(1101, true) && e->draw(300) && e->draw(600));
    const auto redone = e->picture();
    ASSERT_TRUE(e->run(1212) && e->run(1244, true, L"爆発音"));
    const auto undone = e->picture();
    const std::string record = e2e::readBytes(e->record());
    ASSERT_FALSE(undone == redone); // the pictures show what the undo changed

    e = killAndRestart(std::move(e), IDYES);
    ASSERT_NE(e->sound(), nullptr);
    EXPECT_EQ(e2e::utf8(e2e::windowText(e->sound())), "爆発音");
    // The same history (the rewritten record holds the same bytes), the same
    // picture, and undo and redo go on from there.
    EXPECT_EQ(e2e::readBytes(e->record()), record);
    EXPECT_TRUE(e->picture() == undone);
    ASSERT_TRUE(e->run(1222));
    EXPECT_TRUE(e->picture() == redone);
    ASSERT_TRUE(e->run(1212));
    EXPECT_TRUE(e->picture() == undone);

    // A second editor in this folder brings the first back and ends untouched.
    const auto before = undoFiles(e->folder);
    ShowWindow(e->frame, SW_MINIMIZE);
    std::this_thread::sleep_for(300ms);
    e2e::Process second = e2e::startEditor(e->folder);
    EXPECT_TRUE(second.waitExit(1s));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(IsIconic(e->frame));
    EXPECT_EQ(e2e::processOf(GetForegroundWindow()), e->p.id);
    EXPECT_EQ(e2e::findHelperOf(second.id), nullptr);
    EXPECT_TRUE(undoFiles(e->folder) == before);
    second.kill();

    e = killAndRestart(std::move(e), IDNO);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(e->sound(), nullptr);
    EXPECT_TRUE(fs::is_directory(e->folder / L"WavoraUnDo") && fs::is_empty(e->folder / L"WavoraUnDo"));
    EXPECT_TRUE(e2e::closeEditor(e->frame, e->p));
}

TEST(Recovery, EditorsInTwoFoldersRunSideBySide) {
    Editor a(e2e::freshInstall(L"side-a")), b(e2e::freshInstall(L"side-b"));
    ASSERT_TRUE(a.up());
    ASSERT_TRUE(b.up());
    EXPECT_NE(a.helperPid, b.helperPid);
    ASSERT_TRUE(e2e::runUnix("sox -n -r 8000 -b 8 " + e2e::quoted(a.folder / L"a.wav") + " synth 0.1 sine 440"));
    EXPECT_TRUE(e2e::closeEditor(b.frame, b.p));
    PostMessageW(a.frame, WM_COMMAND, 1003, 0);
    HWND dialog = e2e::waitForFileDialog(L"一度に読み込めるのは１つだけです");
    ASSERT_NE(dialog, nullptr);
    e2e::chooseInDialog(dialog, (a.folder / L"a.wav").wstring());
    HWND mdi = FindWindowExW(a.frame, nullptr, L"MDICLIENT", nullptr);
    HWND opened = nullptr;
    for (int i = 0; i < 200 && !opened; ++i, std::this_thread::sleep_for(50ms))
        opened = FindWindowExW(mdi, nullptr, L"document", L"a.wav");
    EXPECT_NE(opened, nullptr);
    EXPECT_TRUE(e2e::closeEditor(a.frame, a.p));
}

} // namespace
