#include "input/SoundWindowWin32.h"

#include "core/EditorState.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "core/WindowSurfaces.h"
#include "input/MouseTools.h"
#include "input/SoundWindowLifetime.h"
#include "view/SoundWindowEvents.h"

#include <windowsx.h>

namespace wavora {

namespace {

int slotOf(HWND w) {
    EditorState* s = app().state.get();
    return s ? s->slotOfWindow(reinterpret_cast<WindowId>(w)) : -1;
}

void registerDocumentClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = soundWindowProc;
    wc.hInstance = app().instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"document";
    RegisterClassExW(&wc); // registered again for every window; repeats simply fail
}

void addScrollBars(HWND w) {
    LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    SetWindowLongPtrW(w, GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

ScrollRequest requestOf(WORD code, bool horizontal) {
    switch (code) {
    case SB_LINELEFT: return horizontal ? ScrollRequest::LineLeft : ScrollRequest::LineUp;
    case SB_LINERIGHT: return horizontal ? ScrollRequest::LineRight : ScrollRequest::LineDown;
    case SB_THUMBPOSITION: return ScrollRequest::ThumbPosition;
    case SB_ENDSCROLL: return ScrollRequest::EndScroll;
    default: return ScrollRequest::Other;
    }
}

// The bar's position as a 32-bit number: the dragged position while the thumb
// moves, otherwise where the bar stands (a page click then keeps the view in
// place rather than sending it back to the start).
std::int32_t positionOf(HWND w, int bar, WORD code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(w, bar, &info);
    return code == SB_THUMBTRACK || code == SB_THUMBPOSITION ? info.nTrackPos : info.nPos;
}

void paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT client{};
    GetClientRect(w, &client);
    EditorState* s = app().state.get();
    int slot = slotOf(w);
    bool drawn = false;
    if (s && slot >= 0) {
        onPaint(*s, slot);
        const auto& ws = s->surfaces[static_cast<std::size_t>(slot)];
        if (ws && ws->ComposeSurface) {
            BitBlt(dc, 0, 0, 1000, 768, static_cast<HDC>(ws->ComposeSurface->native()), 0, 0, SRCCOPY);
            drawn = true;
        }
    }
    // The picture is at most 1000 x 768; the class has no background brush, so
    // the rest of a larger window is filled in the frame colour.
    HBRUSH grey = CreateSolidBrush(RGB(180, 180, 180));
    RECT right{drawn ? 1000 : 0, 0, client.right, client.bottom};
    RECT below{0, drawn ? 768 : 0, drawn ? 1000 : 0, client.bottom};
    if (right.left < right.right) FillRect(dc, &right, grey);
    if (below.top < below.bottom && below.left < below.right) FillRect(dc, &below, grey);
    DeleteObject(grey);
    EndPaint(w, &ps);
}

ArrowKey arrowOf(WPARAM key) {
    switch (key) {
    case VK_LEFT: return ArrowKey::Left;
    case VK_RIGHT: return ArrowKey::Right;
    case VK_UP: return ArrowKey::Up;
    case VK_DOWN: return ArrowKey::Down;
    default: return ArrowKey::Other;
    }
}

// The files' cursors where they were found, the system's otherwise.
HCURSOR cursorOf(ToolCursor c) {
    const auto& files = app().cursors;
    switch (c) {
    case ToolCursor::Drawing: return files[0] ? files[0] : LoadCursorW(nullptr, IDC_CROSS);
    case ToolCursor::ZoomIn: return files[1] ? files[1] : LoadCursorW(nullptr, IDC_CROSS);
    case ToolCursor::ZoomOut: return files[2] ? files[2] : LoadCursorW(nullptr, IDC_CROSS);
    case ToolCursor::Move: return LoadCursorW(nullptr, IDC_SIZEALL);
    case ToolCursor::Arrow: break;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

} // namespace

HWND createSoundWindowWin32(const std::string& title) {
    Win32App& a = app();
    if (!a.mdiClient) return nullptr;
    registerDocumentClass();
    std::wstring wideTitle = widen(title);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"document";
    mcs.szTitle = wideTitle.c_str();
    mcs.hOwner = a.instance;
    mcs.x = CW_USEDEFAULT;
    mcs.y = CW_USEDEFAULT;
    mcs.cx = CW_USEDEFAULT;
    mcs.cy = 440;
    mcs.style = 0;
    auto w = reinterpret_cast<HWND>(SendMessageW(a.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (w) addScrollBars(w);
    return w;
}

LRESULT CALLBACK soundWindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    EditorState* s = app().state.get();
    int slot = slotOf(w);
    if (s) {
        switch (message) {
        case WM_PAINT: paint(w); return 0;
        case WM_SIZE:
            if (slot >= 0) onSize(*s, slot, LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            if (slot < 0) break;
            bool horizontal = message == WM_HSCROLL;
            WORD code = LOWORD(wParam);
            std::int32_t pos = positionOf(w, horizontal ? SB_HORZ : SB_VERT, code);
            if (horizontal) onHorizontalScroll(*s, slot, requestOf(code, true), pos);
            else onVerticalScroll(*s, slot, requestOf(code, false), pos);
            return 0;
        }
        case WM_MOUSEWHEEL:
            if (slot >= 0) onMouseWheel(*s, slot, GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_MDIACTIVATE: onMdiActivate(*s); break;
        case WM_LBUTTONDOWN:
            if (slot >= 0) onLeftPress(*s, slot, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (slot >= 0)
                onMouseMove(*s, slot, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_LBUTTON) != 0);
            return 0;
        case WM_LBUTTONUP:
            if (slot >= 0) onLeftRelease(*s, slot, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_RBUTTONDOWN:
            if (slot >= 0) onRightPress(*s, slot, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_KEYDOWN:
            if (slot >= 0) onKeyDown(*s, slot, arrowOf(wParam));
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && !s->BusyFlag) {
                SetCursor(cursorOf(toolCursor(*s)));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            // The close handling destroys the window itself; the default
            // handling would destroy it a second time.
            if (slot >= 0) onClose(*s, slot);
            else break;
            return 0;
        case WM_DESTROY:
            if (slot >= 0) onDestroy(*s, slot);
            break;
        default: break;
        }
    }
    return DefMDIChildProcW(w, message, wParam, lParam);
}

} // namespace wavora
