// help_shots: takes the screenshots of the help pages from the real editor.
// It starts the editor in a fresh copy of the install, works it as a user
// would (new sound, the wave menu's generators, their dialogs) and saves the
// part of the screen that each page shows as a 24-bit BMP file.
//   help_shots OUTPUT-FOLDER          the pictures of the pages
//   help_shots OUTPUT-FOLDER viewer   the help window itself: the index and
//                                     some pages, to look at after a change
// tools/help-screenshots.sh runs it and turns the files into the small
// palette pictures that the pages use.
#include "Driver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path g_out;
DWORD g_pid = 0;

// Copies a rectangle of the screen (as the virtual desktop shows it) into a
// bottom-up 24-bit BMP file.
bool saveScreen(const RECT& r, const std::wstring& name) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{0x4D42, 54 + size, 0, 0, 54};
    std::ofstream out(g_out / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    std::printf("help_shots: %s %dx%d\n", e2e::utf8(name).c_str(), w, h);
    return static_cast<bool>(out);
}

void settle(HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Sleep(600);
}

bool shootWindow(HWND w, const std::wstring& name) {
    settle(w);
    RECT r{};
    GetWindowRect(w, &r);
    return saveScreen(r, name);
}

// A part of a window's client area, in client coordinates.
bool shootClient(HWND w, RECT part, const std::wstring& name) {
    settle(w);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&part), 2);
    return saveScreen(part, name);
}

HWND waitDialog(const wchar_t* caption) {
    return e2e::waitForWindow(L"NORMALDLG", caption, g_pid, 10s);
}

void pressOk(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i)
        Sleep(50);
    Sleep(400);
}

// Chooses a wave-menu generator, optionally shoots its dialog, ticks one of
// its rows' radio buttons (0 = leave the default), types a value into one
// row (0 = none) and presses OK.
bool generate(HWND frame, int command, const wchar_t* caption, const std::wstring& dialogShot = L"",
              int radioRow = 0, int editRow = 0, const wchar_t* value = L"") {
    PostMessageW(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND d = waitDialog(caption);
    if (!d) {
        std::fprintf(stderr, "help_shots: no dialog for command %d\n", command);
        return false;
    }
    Sleep(500);
    if (!dialogShot.empty()) shootWindow(d, dialogShot);
    if (radioRow) {
        PostMessageW(GetDlgItem(d, 500 + radioRow), BM_CLICK, 0, 0);
        Sleep(300);
    }
    if (editRow) {
        SendMessageW(GetDlgItem(d, 200 + editRow), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
        Sleep(300);
    }
    pressOk(d);
    return true;
}

// The mouse as the user moves it: press, a few moves, release.
void drag(HWND w, POINT from, POINT to) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int i = 1; i <= 8; ++i)
        PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Sleep(600);
}

// A selection dragged over a sine, then a marker clicked into it, each shot
// as the selection and marker pages show them.
void shootMarkerAndSelection(HWND frame, HWND sound, int top) {
    generate(frame, 1101, L"Sin波（サイン波）");
    PostMessageW(frame, WM_COMMAND, 1205, 0); // the selection and marker tool, nothing chosen
    Sleep(400);
    drag(sound, {380, top + 60}, {560, top + 60});
    shootClient(sound, {200, top, 760, top + 260}, L"ShotSentaku.bmp");
    // A click, without a move between press and release: a move, even on the
    // same spot, would start a selection again.
    PostMessageW(sound, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(470, top + 60));
    PostMessageW(sound, WM_LBUTTONUP, 0, MAKELPARAM(470, top + 60));
    Sleep(600);
    shootClient(sound, {200, top, 760, top + 260}, L"ShotMarker.bmp");
}

// The pattern window with one period drawn free-hand.
void shootPatternWindow(HWND frame) {
    PostMessageW(frame, WM_COMMAND, 1102, 0);
    HWND w = e2e::waitForWindow(L"HakeiPat", L"HakeiPat", g_pid, 10s);
    if (!w) {
        std::fprintf(stderr, "help_shots: no pattern window\n");
        return;
    }
    Sleep(500);
    const POINT stroke[] = {{60, 127}, {110, 40}, {160, 60}, {210, 127}, {260, 200}, {310, 215}, {360, 127}};
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(stroke[0].x, stroke[0].y));
    for (const POINT& p : stroke)
        PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(360, 127));
    Sleep(500);
    shootWindow(w, L"ShotPatternWindow.bmp");
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0); // きゃんせる
    for (int i = 0; i < 100 && IsWindow(w); ++i)
        Sleep(50);
}

int run() {
    fs::path folder = e2e::freshInstall(L"help-shots");
    e2e::Process p = e2e::startEditor(folder);
    HWND frame = p.handle ? e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id) : nullptr;
    if (!frame) {
        std::fprintf(stderr, "help_shots: the editor did not start\n");
        return 1;
    }
    g_pid = p.id;
    // A frame big enough for a sound window that shows all three bands.
    MoveWindow(frame, 0, 0, 1100, 990, TRUE);
    Sleep(500);

    PostMessageW(frame, WM_COMMAND, 1001, 0);
    HWND d = waitDialog(L"長さは11.3秒まで");
    if (!d) return 2;
    Sleep(500);
    shootWindow(d, L"ShotNewSound.bmp");
    pressOk(d);
    HWND mdi = FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
    HWND sound = mdi ? FindWindowExW(mdi, nullptr, L"document", nullptr) : nullptr;
    if (!sound) return 3;
    MoveWindow(sound, 0, 0, 1060, 860, TRUE);
    Sleep(500);
    // The window is taller than the three bands, which it centres.
    RECT client{};
    GetClientRect(sound, &client);
    const int top = client.bottom > 768 ? (client.bottom - 768) / 2 : 0;

    generate(frame, 1101, L"Sin波（サイン波）", L"ShotSinDialog.bmp");
    shootWindow(frame, L"ShotGamen.bmp");
    shootClient(sound, {0, top, 470, top + 270}, L"ShotHakeiGraph.bmp");
    // The volume and pitch bands with the marks of their label strip.
    generate(frame, 1101, L"Sin波（サイン波）", L"", 6);
    generate(frame, 1224, L"Sin+Sin波", L"", 8);
    shootClient(sound, {0, top + 250, 470, top + 768}, L"ShotGraphs.bmp");

    struct Wave {
        int command;
        const wchar_t* caption;
        const wchar_t* shot;
    } waves[] = {{1224, L"Sin+Sin波", L"ShotSinSin.bmp"},
                 {1226, L"Sin×Sin波", L"ShotSinKakeSin.bmp"},
                 {1228, L"音の高さがSinの波", L"ShotTakasaSin.bmp"},
                 {1223, L"ランダムノイズ", L"ShotNoise.bmp"}};
    for (const Wave& w : waves) {
        if (!generate(frame, w.command, w.caption, w.command == 1228 ? L"ShotTakasaSinDialog.bmp" : L""))
            continue;
        // Rows 20..239 of the waveform band hold every amplitude up to 108.
        shootClient(sound, {200, top + 20, 620, top + 240}, w.shot);
    }
    shootMarkerAndSelection(frame, sound, top);
    shootPatternWindow(frame);
    // Leave without saving: close, "はい", then "いいえ" to saving the sound.
    return e2e::closeEditor(frame, p) ? 0 : 4;
}

// Opens help, shoots the index, then each page whose button id is given
// (scrolled down `scroll` lines when asked).
int shootViewer() {
    fs::path folder = e2e::freshInstall(L"help-viewer-shots");
    e2e::Process p = e2e::startEditor(folder);
    HWND frame = p.handle ? e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id) : nullptr;
    if (!frame) return 1;
    g_pid = p.id;
    PostMessageW(frame, WM_COMMAND, 1250, 0);
    HWND help = e2e::waitForWindow(L"NORMAL6", L"Wavoraヘルプ", p.id, 10s);
    if (!help) return 2;
    Sleep(800);
    shootWindow(help, L"ViewerIndex.bmp");
    struct Page {
        int id, scroll;
        const wchar_t* shot;
    } pages[] = {{1001, 0, L"ViewerWavora.bmp"},  {1002, 0, L"ViewerGamen.bmp"},
                 {1090, 0, L"ViewerSinIgai.bmp"}, {1091, 0, L"ViewerNijuu.bmp"},
                 {1082, 30, L"ViewerGraph.bmp"},  {1005, 0, L"ViewerSample.bmp"},
                 {1003, 0, L"ViewerTool.bmp"},    {1085, 0, L"ViewerLayer.bmp"}};
    for (const Page& pg : pages) {
        PostMessageW(help, WM_COMMAND, static_cast<WPARAM>(pg.id), 0);
        Sleep(1200);
        for (int i = 0; i < pg.scroll; ++i)
            PostMessageW(help, WM_VSCROLL, SB_LINEDOWN, 0);
        Sleep(500);
        shootWindow(help, pg.shot);
        PostMessageW(help, WM_COMMAND, 1000, 0);
        Sleep(500);
    }
    return e2e::closeEditor(frame, p) ? 0 : 4;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: help_shots OUTPUT-FOLDER\n");
        return 1;
    }
    g_out = argv[1];
    std::error_code ec;
    fs::create_directories(g_out, ec);
    if (argc >= 3 && std::wstring(argv[2]) == L"viewer") return shootViewer();
    return run();
}
