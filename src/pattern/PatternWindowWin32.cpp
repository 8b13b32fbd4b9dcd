#include "pattern/PatternWindowWin32.h"

#include "core/EditorState.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "pattern/PatternWindow.h"
#include "pattern/ToolBarWin32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

namespace wavora {

namespace {

// Where the tool bar sits: below the drawing area, beside the shift buttons.
constexpr int ToolBarX = 265;
constexpr int ToolBarY = 256;

struct OpenPattern {
    EditorState* state = nullptr;
    HWND window = nullptr;
    HWND owner = nullptr;
    std::unique_ptr<PatternWindow> model;
    ToolBar toolBar;
    int result = 0;
} g;

HMENU g_menu = nullptr;

void appendItem(HMENU menu, int id, const wchar_t* text) {
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), text);
}

HMENU buildMenu() {
    HMENU bar = CreateMenu();
    HMENU open = CreatePopupMenu();
    appendItem(open, OpenPatternFileId, L"波形パターンファイル");
    HMENU narrow = CreatePopupMenu();
    appendItem(narrow, StepWholeId, L"そのまま入力");
    appendItem(narrow, StepHalfId, L"半分にして入力");
    appendItem(narrow, StepQuarterId, L"1/4にして入力");
    appendItem(narrow, StepEighthId, L"1/8にして入力");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(open), L"開く");
    appendItem(bar, OpenImageId, L"画像ファイルを開く");
    appendItem(bar, ClearAllId, L"全部消す");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(narrow), L"横幅を縮小して");
    appendItem(bar, ChangeFrequencyId, L"波形の周波数を変える");
    return bar;
}

// The step in use carries a tick.
void markStep(int step) {
    const int ids[] = {StepWholeId, StepHalfId, StepQuarterId, StepEighthId};
    const int steps[] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i)
        CheckMenuItem(g_menu, static_cast<UINT>(ids[i]),
                      MF_BYCOMMAND | (steps[i] == step ? MF_CHECKED : MF_UNCHECKED));
}

void createControls(HWND w) {
    bool firstRadio = true;
    for (const PatternControl& c : patternControls()) {
        DWORD style = WS_CHILD | WS_VISIBLE;
        const wchar_t* cls = L"BUTTON";
        switch (c.kind) {
        case PatternControlKind::Button:
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            break;
        case PatternControlKind::Label:
            cls = L"STATIC";
            break;
        case PatternControlKind::Radio:
            style |= BS_AUTORADIOBUTTON | WS_TABSTOP | (firstRadio ? WS_GROUP : 0);
            firstRadio = false;
            break;
        }
        HWND h =
            CreateWindowExW(0, cls, widen(c.text).c_str(), style, c.x, c.y, c.width, c.height, w,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), app().instance, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(app().fonts[0]), FALSE);
    }
    CheckRadioButton(w, TargetWaveId, TargetPitchId, TargetWaveId + g.state->pattern.PatternTarget);
}

void showDrawing(HWND w) {
    RECT area{0, 0, PatternAreaWidth, PatternAreaHeight};
    InvalidateRect(w, &area, FALSE);
}

// Commands that may ask the user something: while their box, dialog or file
// dialog is open the window takes no clicks.
bool asksTheUser(int id) {
    switch (id) {
    case InputContinuousId:
    case InputOnceId:
    case ChangeFrequencyId:
    case ClearAllId:
    case OpenImageId:
    case OpenPatternFileId:
        return true;
    default:
        return false;
    }
}

void onCommand(HWND w, int id) {
    const bool asks = asksTheUser(id);
    if (asks) EnableWindow(w, FALSE);
    const PatternAfter after = patternCommand(*g.state, *g.model, id);
    // A message box or the general dialog gives its owner, the frame, its
    // input back when it closes; the frame stays disabled while this window
    // is open.
    if (g.owner) EnableWindow(g.owner, FALSE);
    if (asks) {
        EnableWindow(w, TRUE);
        SetActiveWindow(w);
    }
    markStep(g.state->pattern.PatternStep);
    if (after == PatternAfter::Close) {
        g.result = id == PatternCancelId ? -1 : 0;
        DestroyWindow(w);
        return;
    }
    showDrawing(w);
}

void onNotify(LPARAM lp) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lp);
    if (tip->hdr.code != TTN_GETDISPINFOW) return;
    static std::wstring text;
    const char* t = toolTipOf(static_cast<int>(tip->hdr.idFrom));
    text = t ? widen(t) : std::wstring();
    tip->lpszText = text.data();
}

void onPaint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (g.model && g.model->WorkSurface) {
        composePatternWork(*g.model);
        BitBlt(dc, 0, 0, PatternAreaWidth, PatternAreaHeight,
               static_cast<HDC>(g.model->WorkSurface->native()), 0, 0, SRCCOPY);
    }
    EndPaint(w, &ps);
}

LRESULT CALLBACK patternProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (!g.model || !g.state) return DefWindowProcW(w, msg, wp, lp);
    switch (msg) {
    case WM_PAINT:
        onPaint(w);
        return 0;
    case WM_LBUTTONDOWN:
        patternPress(*g.model, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (g.model->drawing) SetCapture(w);
        showDrawing(w);
        return 0;
    case WM_MOUSEMOVE:
        if (g.model->drawing && (wp & MK_LBUTTON)) {
            patternDrag(*g.model, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            showDrawing(w);
        }
        return 0;
    case WM_LBUTTONUP:
        patternRelease(*g.model, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (GetCapture() == w) ReleaseCapture();
        showDrawing(w);
        return 0;
    case WM_CAPTURECHANGED:
        g.model->drawing = false;
        return 0;
    case WM_COMMAND:
        onCommand(w, LOWORD(wp));
        return 0;
    case WM_NOTIFY:
        onNotify(lp);
        return 0;
    case WM_CLOSE:
        g.result = 0;
        DestroyWindow(w);
        return 0;
    case WM_DESTROY:
        closePatternWindow(*g.state, *g.model);
        destroyToolBar(g.toolBar);
        SetMenu(w, nullptr); // the menu is kept for the next opening
        PostQuitMessage(g.result);
        return 0;
    default:
        return DefWindowProcW(w, msg, wp, lp);
    }
}

void registerPatternClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = patternProc;
    wc.hInstance = app().instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = app().buttonFace;
    wc.lpszClassName = L"HakeiPat";
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

void createPatternMenu() {
    if (!g_menu || !IsMenu(g_menu)) g_menu = buildMenu();
}

void destroyPatternMenu() {
    if (g_menu && IsMenu(g_menu)) DestroyMenu(g_menu);
    g_menu = nullptr;
}

int runPatternWindow(EditorState& state, HWND owner) {
    if (g.window) return -1; // never two at once
    g = OpenPattern{};
    g.state = &state;
    g.owner = owner;
    g.model = std::make_unique<PatternWindow>();
    registerPatternClass();
    createPatternMenu();

    if (!openPatternWindow(state, *g.model)) {
        closePatternWindow(state, *g.model);
        g = OpenPattern{};
        return -1;
    }
    HWND w = CreateWindowExW(
        0, L"HakeiPat", L"HakeiPat", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, PatternWindowWidth, PatternWindowHeight, owner, g_menu, app().instance, nullptr);
    if (!w) {
        closePatternWindow(state, *g.model);
        g = OpenPattern{};
        return -1;
    }
    g.window = w;
    g.model->window = reinterpret_cast<WindowId>(w);
    createControls(w);
    g.toolBar = BmpToPrompt(state, patternToolButtons(), w, false, ToolBarX, ToolBarY);
    markStep(state.pattern.PatternStep);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    if (owner) EnableWindow(owner, FALSE);

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    const int result = static_cast<int>(msg.wParam);
    g = OpenPattern{};
    return result;
}

HWND patternWindow() {
    return g.window;
}
PatternWindow* patternWindowModel() {
    return g.model.get();
}

} // namespace wavora
