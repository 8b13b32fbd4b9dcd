#include "ui/WaitDialogWin32.h"

#include "core/CommonControlsWin32.h"
#include "core/Win32App.h"
#include "core/WinText.h"

#include <commctrl.h>

namespace wavora {

namespace {

struct WaitWindow {
    HWND window = nullptr;
    HWND progress = nullptr;
    HWND face = nullptr;
    HFONT font = nullptr;
} g_wait;

LRESULT CALLBACK waitDialogProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: DestroyWindow(w); return 0;
    case WM_DESTROY:
        if (g_wait.font) DeleteObject(g_wait.font);
        g_wait = WaitWindow{};
        return 0;
    default: return DefWindowProcW(w, message, wParam, lParam);
    }
}

void initialise(HWND w) {
    Win32App& a = app();
    ensureCommonControls(); // the progress bar
    g_wait.progress = CreateWindowExW(WS_EX_STATICEDGE, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 26, 33, 189,
                                      24, w, nullptr, a.instance, nullptr);
    g_wait.face = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE, 29, 9, 189, 12, w, nullptr,
                                  a.instance, nullptr);
    SendMessageW(g_wait.progress, WM_SETFONT, reinterpret_cast<WPARAM>(a.fonts[1]), TRUE);
    SendMessageW(g_wait.face, WM_SETFONT, reinterpret_cast<WPARAM>(a.fonts[1]), TRUE);
    g_wait.font = CreateFontW(10, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                              L"ＭＳ Ｐゴシック");
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(g_wait.font), TRUE);
    SetWindowTextW(w, L" お待ちください");
    SetWindowTextW(g_wait.face, L"|  <(_ _)>");
    MoveWindow(w, 400, 200, 250, 117, TRUE);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
}

} // namespace

void createWaitDialog(HWND owner) {
    if (g_wait.window) return;
    HWND w = CreateWindowExW(0, L"NORMALDLG", L"WaitDialog", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             250, 117, owner, nullptr, app().instance, nullptr);
    if (!w) return;
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(waitDialogProc));
    g_wait.window = w;
    initialise(w);
}

HWND waitDialogWindow() { return g_wait.window; }

void setWaitDialogRange(std::uint32_t total) {
    if (!g_wait.progress) return;
    SendMessageW(g_wait.progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    SendMessageW(g_wait.progress, PBM_SETSTEP, 1, 0);
    SendMessageW(g_wait.progress, PBM_SETPOS, 0, 0);
}

void stepWaitDialog(std::uint32_t times) {
    if (!g_wait.progress) return;
    // One move of n steps looks the same as n single steps and costs one message.
    SendMessageW(g_wait.progress, PBM_DELTAPOS, static_cast<WPARAM>(times), 0);
}

void setWaitDialogFace(const std::string& face) {
    if (g_wait.face) SetWindowTextW(g_wait.face, widen(face).c_str());
}

void destroyWaitDialog() {
    if (g_wait.window) DestroyWindow(g_wait.window);
}

} // namespace wavora
