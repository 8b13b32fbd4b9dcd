#include "app/HistoryWindowWin32.h"

#include "audio/Audition.h"
#include "core/EditorState.h"
#include "core/WinText.h"
#include "undo/History.h"

#include <string>
#include <vector>

namespace wavora {

namespace {

constexpr int ListId = 100;
constexpr int Width = 280, Height = 360, ButtonHeight = 28, Margin = 6;

// What the list shows now, so that it is rebuilt only when that changes.
std::vector<std::string> shown;

HWND list() { return GetDlgItem(app().historyWindow, ListId); }

void layout(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    const int inner = r.right - 2 * Margin;
    MoveWindow(list(), Margin, Margin, inner, r.bottom - ButtonHeight - 3 * Margin, TRUE);
    MoveWindow(GetDlgItem(w, IDOK), Margin, r.bottom - ButtonHeight - Margin, inner, ButtonHeight, TRUE);
}

void goToSelected() {
    EditorState* s = app().state.get();
    const auto row = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
    if (s && row != LB_ERR) goToHistoryRow(*s, row);
}

LRESULT CALLBACK historyWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: layout(w); return 0;
    case WM_CLOSE: ShowWindow(w, SW_HIDE); return 0; // it comes back where it was
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == ListId && HIWORD(wParam) == LBN_DBLCLK)) {
            goToSelected();
            return 0;
        }
        if (LOWORD(wParam) == ListId && HIWORD(wParam) == LBN_SELCHANGE) {
            EditorState* s = app().state.get();
            const auto row = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
            if (s && row != LB_ERR && !s->BusyFlag) auditionStoredState(*s, row);
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcW(w, message, wParam, lParam);
}

HWND create() {
    Win32App& a = app();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = historyWindowProc;
    wc.hInstance = a.instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = a.buttonFace;
    wc.lpszClassName = L"WavoraHistory";
    RegisterClassExW(&wc);
    RECT frame{};
    GetWindowRect(a.frame, &frame);
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"WavoraHistory", L"作業の履歴",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, frame.right - Width - 20,
                             frame.top + 60, Width, Height, a.frame, nullptr, a.instance, nullptr);
    if (!w) return nullptr;
    HWND l = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 0,
                             0, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ListId)), a.instance, nullptr);
    HWND b = CreateWindowExW(0, L"BUTTON", L"この状態にする", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0,
                             0, 0, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), a.instance, nullptr);
    for (HWND c : {l, b}) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(a.fonts[0]), FALSE);
    a.historyWindow = w;
    layout(w);
    shown.clear();
    return w;
}

} // namespace

void showHistoryWindow() {
    Win32App& a = app();
    if (!a.historyWindow && !create()) return;
    shown.assign(1, std::string(1, '\0')); // whatever it showed before, fill it now
    refreshHistoryWindow();
    ShowWindow(a.historyWindow, SW_SHOWNORMAL);
    SetForegroundWindow(a.historyWindow);
}

void refreshHistoryWindow() {
    Win32App& a = app();
    if (!a.historyWindow || !a.state) return;
    std::vector<std::string> rows;
    int current = -1;
    for (const HistoryRow& r : historyRows(*a.state)) {
        if (r.current) current = static_cast<int>(rows.size());
        rows.push_back(r.text);
    }
    if (rows == shown) return;
    shown = rows;
    HWND l = list();
    SendMessageW(l, WM_SETREDRAW, FALSE, 0);
    SendMessageW(l, LB_RESETCONTENT, 0, 0);
    for (const std::string& r : rows) SendMessageW(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(r).c_str()));
    SendMessageW(l, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(l, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(l, nullptr, TRUE);
}

bool historyWindowMessage(MSG& msg) {
    HWND w = app().historyWindow;
    return w && IsWindowVisible(w) && (msg.hwnd == w || IsChild(w, msg.hwnd)) && IsDialogMessageW(w, &msg);
}

void destroyHistoryWindow() {
    Win32App& a = app();
    if (a.historyWindow) DestroyWindow(a.historyWindow);
    a.historyWindow = nullptr;
    shown.clear();
}

} // namespace wavora
