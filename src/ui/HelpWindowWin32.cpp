#include "ui/HelpWindowWin32.h"

#include "core/EditorState.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "ui/HelpViewer.h"

#include <memory>

namespace wavora {

namespace {

class Win32HelpHost : public HelpWindowHost {
  public:
    explicit Win32HelpHost(HWND w) : w_(w) {}
    HWND window() const { return w_; }
    void setTitle(const std::string& title) override { SetWindowTextW(w_, widen(title).c_str()); }
    void showTopicButtons(bool shown) override {
        for (const HelpTopic& t : HelpTopics)
            ShowWindow(GetDlgItem(w_, t.id), shown ? SW_SHOW : SW_HIDE);
    }
    HelpRect windowRect() override {
        RECT r{};
        GetWindowRect(w_, &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    void placeWindow(const HelpRect& r) override {
        SetWindowPos(w_, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int clientHeight() override {
        RECT r{};
        GetClientRect(w_, &r);
        return r.bottom - r.top;
    }
    int scrollBarHeight() override { return GetSystemMetrics(SM_CYHSCROLL); }
    int workAreaHeight() override {
        RECT r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return r.bottom - r.top;
    }
    void setScrollBar(int max, int page, int pos) override {
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        max,
                        static_cast<UINT>(std::max(0, page)),
                        pos,
                        0};
        SetScrollInfo(w_, SB_VERT, &info, TRUE);
    }
    void show() override { ShowWindow(w_, SW_SHOW); }
    void hide() override { ShowWindow(w_, SW_HIDE); }
    void repaint() override { InvalidateRect(w_, nullptr, FALSE); }
    void setTopmost(bool on) override {
        SetWindowPos(w_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

  private:
    HWND w_;
};

struct HelpWindow {
    std::unique_ptr<Win32HelpHost> host;
    std::unique_ptr<HelpViewer> viewer;
} g_help;

HWND makeButton(HWND parent, int id, const char* text, int x, int y, int w, int h, bool visible) {
    HWND b = CreateWindowExW(0, L"BUTTON", widen(text).c_str(),
                             WS_CHILD | BS_PUSHBUTTON | (visible ? WS_VISIBLE : 0), x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app().instance, nullptr);
    SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(app().fonts[0]), FALSE);
    return b;
}

// The buttons are made when the viewer first needs them, not with the window
// at start-up: the window stays hidden until help is asked for, and thirty
// buttons made for nothing are a good part of the start-up's last steps.
void createButtons(HWND w) {
    makeButton(w, HelpMenuButtonId, HelpMenuButtonText, 50, 2, 400, 20, true);
    for (const HelpTopic& t : HelpTopics)
        makeButton(w, t.id, t.label, t.x, t.y, t.width, t.height, false);
}

void create(HWND w) { g_help.host = std::make_unique<Win32HelpHost>(w); }

HelpViewer* viewerFor() {
    Win32App& a = app();
    if (!g_help.viewer && g_help.host && a.state) {
        createButtons(g_help.host->window());
        g_help.viewer = std::make_unique<HelpViewer>(a.state->platform, *g_help.host, a.state->root);
    }
    return g_help.viewer.get();
}

void paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT client{};
    GetClientRect(w, &client);
    HelpViewer* v = g_help.viewer.get();
    const Surface* page = v ? v->surface() : nullptr;
    int shown = 0;
    if (page && page->native()) {
        shown = std::max(0, std::min<int>(client.bottom, page->height() - v->scrollPos()));
        BitBlt(dc, 0, 0, std::min<int>(client.right, page->width()), shown, static_cast<HDC>(page->native()),
               0, v->scrollPos(), SRCCOPY);
    }
    // Whatever the page does not cover shows the page's own colour.
    HBRUSH cream = CreateSolidBrush(RGB(255, 255, 234));
    RECT below{0, shown, client.right, client.bottom};
    FillRect(dc, &below, cream);
    if (page) {
        RECT right{page->width(), 0, client.right, shown};
        FillRect(dc, &right, cream);
    }
    DeleteObject(cream);
    EndPaint(w, &ps);
}

HelpScroll scrollRequest(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        return HelpScroll::LineUp;
    case SB_LINEDOWN:
        return HelpScroll::LineDown;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return HelpScroll::Thumb;
    default:
        return HelpScroll::Other;
    }
}

void popupMenu(HWND w, LPARAM lParam) {
    HelpViewer* v = viewerFor();
    if (!v) return;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, HelpTopmostCommand, widen(v->topmostCaption()).c_str());
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(w, &p);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, w, nullptr);
    DestroyMenu(menu);
}

} // namespace

LRESULT CALLBACK helpWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        create(w);
        return 0;
    case WM_CLOSE:
        // The window lives until the program ends; closing only hides it.
        if (HelpViewer* v = viewerFor())
            v->close();
        else
            ShowWindow(w, SW_HIDE);
        return 0;
    case WM_DESTROY:
        g_help.viewer.reset();
        g_help.host.reset();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint(w);
        return 0;
    case WM_COMMAND:
        if (HelpViewer* v = viewerFor()) v->command(LOWORD(wParam));
        SetFocus(w); // the wheel keeps scrolling the page after a button
        return 0;
    case WM_VSCROLL:
        if (HelpViewer* v = viewerFor()) {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(w, SB_VERT, &info);
            v->scroll(scrollRequest(wParam), info.nTrackPos);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (HelpViewer* v = viewerFor()) v->wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_RBUTTONUP:
        popupMenu(w, lParam);
        return 0;
    case WM_GETMINMAXINFO:
        if (HelpViewer* v = g_help.viewer.get()) {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
            mm->ptMinTrackSize = {v->minTrackSize().width, v->minTrackSize().height};
            mm->ptMaxTrackSize = {v->maxTrackSize().width, v->maxTrackSize().height};
        }
        return 0;
    default:
        return DefWindowProcW(w, message, wParam, lParam);
    }
}

void openHelpWindow() {
    if (HelpViewer* v = viewerFor()) v->open();
}

HelpViewer* helpViewer() {
    return viewerFor();
}

} // namespace wavora
