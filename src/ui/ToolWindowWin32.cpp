#include "ui/ToolWindowWin32.h"

#include "core/CommonControlsWin32.h"
#include "core/EditorState.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "text/Paths.h"
#include "ui/ToolWindow.h"

#include <commctrl.h>

#include <utility>

namespace wavora {

namespace {

constexpr UINT_PTR SyncTimer = 1;

struct ToolWindowState {
    HWND window = nullptr;
    HWND tips = nullptr;
    std::array<HICON, 16> icons{};
    std::function<void(int, int)> onDestroy;
    int shown = -1; // the button last shown pressed in
};

ToolWindowState& tw() {
    static ToolWindowState state;
    return state;
}

HWND buttonOf(int id) { return GetDlgItem(tw().window, id); }

// A missing icon leaves the button blank; it works all the same.
HICON loadIcon(const ToolButton& b) {
    const std::wstring file = L"Wavora部品\\" + widen(b.icon);
    return static_cast<HICON>(
        LoadImageW(nullptr, file.c_str(), IMAGE_ICON, ToolButtonSize, ToolButtonSize, LR_LOADFROMFILE));
}

// The icons read ahead by startLoadingToolIcons, until the window takes them.
struct Preload {
    HANDLE thread = nullptr;
    std::array<HICON, 16> icons{};
};

Preload& preload() {
    static Preload p;
    return p;
}

DWORD WINAPI preloadIcons(LPVOID) {
    std::size_t k = 0;
    for (const ToolButton& b : toolButtons()) preload().icons[k++] = loadIcon(b);
    return 0;
}

// The read-ahead icons once their thread is done; none when nothing was read ahead.
std::array<HICON, 16> takePreloadedIcons() {
    Preload& p = preload();
    if (!p.thread) return {};
    WaitForSingleObject(p.thread, INFINITE);
    CloseHandle(p.thread);
    p.thread = nullptr;
    return std::exchange(p.icons, {});
}

void addButton(HWND w, int k, const ToolButton& b, HICON icon) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_CHECKBOX | BS_PUSHLIKE | BS_ICON, 0,
                                  k * ToolButtonSize, ToolButtonSize, ToolButtonSize, w,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), app().instance, nullptr);
    if (!icon) icon = loadIcon(b);
    tw().icons[static_cast<std::size_t>(k)] = icon;
    if (icon) SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void createButtons(HWND w) {
    const std::array<HICON, 16> ready = takePreloadedIcons();
    int k = 0;
    for (const ToolButton& b : toolButtons()) {
        addButton(w, k, b, ready[static_cast<std::size_t>(k)]);
        ++k;
    }
}

void releaseIcons() {
    for (HICON& icon : tw().icons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

LRESULT CALLBACK toolWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED || id < FirstToolButton || id >= FirstToolButton + 16) break;
        // The keys of the sound window keep working: the frame passes the
        // focus on to the active sound window.
        if (app().frame) SetFocus(app().frame);
        if (EditorState* s = app().state.get()) toolButtonPressed(*s, id);
        syncToolButtons();
        return 0;
    }
    case WM_TIMER:
        if (wParam == SyncTimer) syncToolButtons();
        return 0;
    case WM_GETMINMAXINFO: {
        // One column of buttons: narrower than the platform lets a captioned
        // window be by default, and never resized.
        const Size size = toolWindowSize(app().borderWidth, app().captionHeight);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {size.width, size.height};
        info->ptMaxTrackSize = {size.width, size.height};
        return 0;
    }
    case WM_DESTROY: {
        KillTimer(w, SyncTimer);
        RECT r{};
        GetWindowRect(w, &r);
        if (tw().onDestroy) tw().onDestroy(r.left, r.top);
        releaseIcons();
        tw().window = nullptr;
        tw().tips = nullptr;
        tw().shown = -1;
        break;
    }
    default: break;
    }
    return DefWindowProcW(w, message, wParam, lParam);
}

void registerToolWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = toolWindowProc;
    wc.hInstance = app().instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = app().buttonFace ? app().buttonFace : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TBWindow";
    RegisterClassExW(&wc);
}

} // namespace

void addToolWindowTips() {
    HWND w = tw().window;
    if (!w || tw().tips) return;
    ensureCommonControls();
    tw().tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w, nullptr, app().instance, nullptr);
    SendMessageW(tw().tips, TTM_SETMAXTIPWIDTH, 0, 1000);
    for (const ToolButton& b : toolButtons()) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = w;
        ti.uId = reinterpret_cast<UINT_PTR>(buttonOf(b.id));
        std::wstring tip = widen(b.tip);
        ti.lpszText = tip.data();
        SendMessageW(tw().tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void startLoadingToolIcons() {
    if (!preload().thread) preload().thread = CreateThread(nullptr, 0, preloadIcons, nullptr, 0, nullptr);
}

HWND createToolWindow(HWND frame, int left, int top, std::function<void(int, int)> onDestroy) {
    registerToolWindowClass();
    const Size size = toolWindowSize(app().borderWidth, app().captionHeight);
    tw().onDestroy = std::move(onDestroy);
    HWND w = CreateWindowExW(0, L"TBWindow", L"", WS_POPUP | WS_CAPTION | WS_THICKFRAME, left, top,
                             size.width, size.height, frame, nullptr, app().instance, nullptr);
    if (!w) return nullptr;
    tw().window = w;
    createButtons(w);
    // Made there already as a rule; a move to the same place would only cost
    // the window system a round trip on the way to the first picture.
    RECT r{};
    GetWindowRect(w, &r);
    if (r.left != left || r.top != top || r.right - r.left != size.width || r.bottom - r.top != size.height)
        SetWindowPos(w, nullptr, left, top, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    SetTimer(w, SyncTimer, 150, nullptr);
    syncToolButtons();
    return w;
}

HWND toolWindow() { return tw().window; }

void setToolWindowEnabled(bool enabled) {
    if (tw().window) EnableWindow(tw().window, enabled);
}

void syncToolButtons() {
    EditorState* s = app().state.get();
    if (!tw().window || !s) return;
    const int pressed = pressedToolButton(*s);
    if (pressed == tw().shown) return;
    tw().shown = pressed;
    for (const ToolButton& b : toolButtons())
        SendMessageW(buttonOf(b.id), BM_SETCHECK, b.id == pressed ? BST_CHECKED : BST_UNCHECKED, 0);
}

void destroyToolWindow() {
    if (tw().window) DestroyWindow(tw().window);
}

} // namespace wavora
