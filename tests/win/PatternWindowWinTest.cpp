// The real pattern window: opened from the menu with its controls, tool bar,
// menu and guide line; a pattern drawn with mouse messages and put in; images
// made by ImageMagick traced through the real Pictra; a pattern saved and
// read back through the helper's real dialogs.
#include "Driver.h"
#include "WinHarness.h"

#include "pattern/PatternWindow.h"
#include "pattern/PatternWindowWin32.h"
#include "pattern/ToolBarWin32.h"
#include "ui/GeneralDialogWin32.h"
#include "ui/ToolWindowWin32.h"

#include <commctrl.h>

namespace wintest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The square wave every test draws or traces: row 60 over columns 100..199,
// down at column 200, row 190 over 200..300. Traced, that is 100 values of
// 60 and 100 of 190 (the last column is dropped).
std::uint8_t squareWave(std::size_t i) {
    return i % 200 < 100 ? 60 : 190;
}

struct PatternWin : EditorTest {
    void SetUp() override {
        EditorTest::SetUp();
        // A sound to put patterns into, made with the new-sound dialog's defaults.
        ASSERT_TRUE(whileWindowOpen(
            L"NORMALDLG", nullptr, [&] { command(1001); },
            [](HWND d) { PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }));
        pump(300ms);
        ASSERT_EQ(state().WindowCount, 1);
    }
    // Opens the window from the frame's menu (1102) and runs `inside` on a second thread
    // while the editor's thread sits in the window's loop; returns when the
    // window has closed.
    void withPatternWindow(const std::function<void(HWND)>& inside) {
        ASSERT_TRUE(whileWindowOpen(
            L"HakeiPat", L"HakeiPat", [&] { command(1102); }, inside));
        pump(200ms);
        EXPECT_EQ(wavora::patternWindow(), nullptr);
    }
    static void click(HWND w, int id) { PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    static void shoot(const std::wstring& name) {
        e2e::runUnix("import -window root " + e2e::quoted(e2e::stageFolder().parent_path() / name));
    }
    // The general dialog's OK, then the helper's file dialog answered with `file`.
    void answerDialogs(int command, const std::wstring& title, const fs::path& file) {
        std::atomic<bool> done{false};
        std::thread user([&] {
            HWND d = nullptr;
            for (int i = 0; i < 300 && !(d = findOwnWindow(L"NORMALDLG")); ++i)
                Sleep(20);
            Sleep(200);
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            if (HWND f = e2e::waitForFileDialog(title)) e2e::chooseInDialog(f, file.wstring());
            done = true;
        });
        // The command runs inside this pump, in the dialogs' loops, until it ends.
        PostMessageW(frame(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        pump(20s, [&] { return done.load(); });
        user.join();
        pump(300ms);
    }
};

TEST_F(PatternWin, OpensWithItsControlsAndADrawnPatternGoesInContinuously) {
    ASSERT_NE(wavora::toolWindow(), nullptr);
    withPatternWindow([&](HWND w) {
        EXPECT_FALSE(IsWindowEnabled(frame()));
        EXPECT_FALSE(IsWindowEnabled(wavora::toolWindow()));
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right - r.left, wavora::PatternWindowWidth);
        EXPECT_EQ(r.bottom - r.top, wavora::PatternWindowHeight);
        for (const wavora::PatternControl& c : wavora::patternControls()) {
            SCOPED_TRACE(c.text);
            HWND h = GetDlgItem(w, c.id);
            ASSERT_NE(h, nullptr);
            EXPECT_EQ(utf8(textOf(h)), c.text);
            RECT cr{};
            GetWindowRect(h, &cr);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&cr), 2);
            EXPECT_EQ(cr.left, c.x);
            EXPECT_EQ(cr.top, c.y);
            EXPECT_EQ(cr.right - cr.left, c.width);
        }
        EXPECT_EQ(SendMessageW(GetDlgItem(w, wavora::TargetWaveId), BM_GETCHECK, 0, 0), BST_CHECKED);
        HWND bar = GetDlgItem(w, wavora::ToolBarControlId);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 3);
        EXPECT_NE(SendMessageW(bar, TB_GETHOTIMAGELIST, 0, 0), 0);
        HMENU menu = GetMenu(w);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemCount(menu), 5);
        wchar_t text[64] = {};
        GetMenuStringW(menu, wavora::ChangeFrequencyId, text, 64, MF_BYCOMMAND);
        EXPECT_EQ(utf8(text), "波形の周波数を変える");
        EXPECT_TRUE(GetMenuState(menu, wavora::StepWholeId, MF_BYCOMMAND) & MF_CHECKED);
        // The strips went into the editor's folder, whole, and the platform
        // reads them as image lists of three.
        for (const wchar_t* strip : {L"ToolBarBmp＠＠.bmp", L"ToolBarHotBmp＠＠.bmp", L"ToolBarMukouBmp＠＠.bmp"}) {
            EXPECT_EQ(e2e::readBytes(folder / strip).size(), 4454u);
            HIMAGELIST list = ImageList_LoadImageW(nullptr, (folder / strip).c_str(), 22, 0, RGB(255, 0, 255),
                                                   IMAGE_BITMAP, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(ImageList_GetImageCount(list), 3);
            ImageList_Destroy(list);
        }

        // A square wave drawn free-hand, as the mouse sends it.
        const POINT stroke[] = {{100, 60}, {200, 60}, {200, 190}, {300, 190}};
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(stroke[0].x, stroke[0].y));
        for (const POINT& p : stroke)
            PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(300, 190));
        Sleep(500);
        HDC dc = GetDC(w);
        EXPECT_EQ(GetPixel(dc, 150, 60), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 600, wavora::GuideRow), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc, 600, 100), RGB(255, 255, 255));
        ReleaseDC(w, dc);
        shoot(L"pattern-window.png");
        click(w, wavora::InputContinuousId);
    });
    EXPECT_TRUE(IsWindowEnabled(frame()));
    EXPECT_TRUE(IsWindowEnabled(wavora::toolWindow()));
    const wavora::SoundDoc& d = state().active();
    ASSERT_GT(d.DataLen, 1000);
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.DataLen); ++i)
        ASSERT_EQ(d.Samples[i], squareWave(i)) << i;
    EXPECT_EQ(state().pattern.PatternLen, 200);
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "16");
}

TEST_F(PatternWin, AFrequencyChangeRedrawsThePatternAtTheNewPeriod) {
    const int rate = state().active().SRATE;
    const std::vector<std::uint8_t> before(state().active().Samples.begin(), state().active().Samples.begin() + 1000);
    std::wstring offered, caption;
    withPatternWindow([&](HWND w) {
        PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 60));
        PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(299, 60));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(299, 60));
        Sleep(300);
        click(w, wavora::ChangeFrequencyId);
        HWND d = nullptr;
        for (int i = 0; i < 300 && !(d = findOwnWindow(L"NORMALDLG")); ++i)
            Sleep(20);
        ASSERT_NE(d, nullptr);
        Sleep(300);
        caption = textOf(d);
        shoot(L"pattern-frequency-dialog.png");
        offered = textOf(GetDlgItem(d, wavora::DialogEditId(1)));
        // Half the frequency: a period of 398 samples instead of 199.
        const std::wstring hz = std::to_wstring(rate / 398.5);
        SendMessageW(GetDlgItem(d, wavora::DialogEditId(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hz.c_str()));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int i = 0; i < 200 && state().pattern.PatternLen == 199; ++i)
            Sleep(20);
        Sleep(500);
        HDC dc = GetDC(w);
        EXPECT_EQ(GetPixel(dc, 0, 60), RGB(0, 0, 0)); // drawn anew from the left edge
        EXPECT_EQ(GetPixel(dc, 390, 60), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 420, 60), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc, 600, wavora::GuideRow), RGB(255, 0, 0));
        ReleaseDC(w, dc);
        shoot(L"pattern-frequency.png");
        click(w, wavora::PatternCancelId);
    });
    EXPECT_EQ(utf8(caption), "波形の周波数を変える");
    EXPECT_EQ(offered, std::to_wstring(rate / 199));
    EXPECT_NEAR(state().pattern.PatternLen, 398, 1); // the stretch floors its length
    for (int i = 0; i < state().pattern.PatternLen; ++i)
        ASSERT_EQ(state().pattern.PatternBuf[static_cast<std::size_t>(i)], 60) << i;
    EXPECT_EQ(std::vector<std::uint8_t>(state().active().Samples.begin(), state().active().Samples.begin() + 1000),
              before); // the sound is not touched
    EXPECT_TRUE(boxes->seen().empty());
}

TEST_F(PatternWin, GifAndPngImagesAreTracedThroughPictra) {
    // One column wider than the drawing area, so the new picture can be told
    // from the window's own.
    const fs::path gif = folder / L"波形.gif", png = folder / L"clear.png";
    const std::string draw =
        "+antialias -stroke black -draw 'line 100,60 199,60' -draw 'line 200,60 200,190' "
        "-draw 'line 200,190 300,190' ";
    // The PNG draws on transparency: what is clear must trace as paper.
    ASSERT_TRUE(e2e::runUnix("convert -size 801x256 xc:white " + draw + e2e::quoted(gif) +
                             "; convert -size 801x256 xc:none " + draw + "PNG32:" + e2e::quoted(png)));
    for (const fs::path& image : {gif, png}) {
        SCOPED_TRACE(utf8(image.filename().wstring()));
        std::fill_n(state().active().Samples.begin(), 1000, std::uint8_t{7});
        withPatternWindow([&](HWND w) {
            click(w, wavora::OpenImageId);
            HWND dialog = e2e::waitForFileDialog(L"波形パターンを読み込む");
            ASSERT_NE(dialog, nullptr);
            e2e::chooseInDialog(dialog, image.wstring());
            for (int i = 0; i < 200 && wavora::patternWindowModel()->PictureSize.width != 801; ++i)
                Sleep(20);
            Sleep(500);
            click(w, wavora::InputOnceId);
        });
        const wavora::SoundDoc& d = state().active();
        for (std::size_t i = 0; i < 200; ++i)
            ASSERT_EQ(d.Samples[i], squareWave(i)) << i;
        EXPECT_EQ(d.Samples[200], 7); // once: the rest stays
    }
    EXPECT_TRUE(boxes->seen().empty());
}

TEST_F(PatternWin, APatternSavedAndReadBackThroughTheDialogsComesBackByteForByte) {
    auto& p = state().pattern;
    p.PatternLen = 300;
    for (int i = 0; i < 300; ++i)
        p.PatternBuf[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 37 % 256);
    const std::vector<std::uint8_t> pattern(p.PatternBuf.begin(), p.PatternBuf.begin() + 300);
    const fs::path file = folder / L"パターン.wpat";
    answerDialogs(1203, L"保存先(フォルダ)と名前を決めてください", file);
    const std::string saved = e2e::readBytes(file);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin(), saved.end()), pattern);

    std::fill_n(p.PatternBuf.begin(), 300, std::uint8_t{0});
    answerDialogs(1204, L"波形パターンを読み込む", file); // into the pattern, as preselected
    EXPECT_EQ(p.PatternLen, 300);
    EXPECT_EQ(std::vector<std::uint8_t>(p.PatternBuf.begin(), p.PatternBuf.begin() + 300), pattern);

    // Opened in the window, it is drawn there.
    std::fill_n(p.PatternBuf.begin(), 300, std::uint8_t{0});
    withPatternWindow([&](HWND w) {
        click(w, wavora::OpenPatternFileId);
        if (HWND f = e2e::waitForFileDialog(L"波形パターンを読み込む"))
            e2e::chooseInDialog(f, file.wstring());
        for (int i = 0; i < 200 && p.PatternBuf[1] == 0; ++i)
            Sleep(20);
        Sleep(300);
        HDC dc = GetDC(w);
        EXPECT_EQ(GetPixel(dc, 1, 37), RGB(0, 0, 0));
        ReleaseDC(w, dc);
        PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); // the close box
    });
    EXPECT_EQ(std::vector<std::uint8_t>(p.PatternBuf.begin(), p.PatternBuf.begin() + 300), pattern);
    EXPECT_EQ(p.PatternWindowOpen, 0);
    EXPECT_TRUE(IsWindowEnabled(frame()));
    EXPECT_TRUE(IsWindowEnabled(wavora::toolWindow()));
}

} // namespace
} // namespace wintest
