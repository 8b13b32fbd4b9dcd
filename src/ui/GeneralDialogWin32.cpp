#include "ui/GeneralDialogWin32.h"

#include "core/CommonControlsWin32.h"
#include "core/EditorState.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "ui/DialogLayout.h"
#include "ui/GeneralDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace wavora {

namespace {

struct RowControls {
    HWND label = nullptr, edit = nullptr, spin = nullptr, check = nullptr, radio = nullptr, trackbar = nullptr;
};

// The one open general dialog (it is modal, so there is never a second).
struct OpenDialog {
    EditorState* state = nullptr;
    HWND window = nullptr;
    HWND owner = nullptr;
    std::array<RowControls, DialogMaxRows + 1> rows{};
    HWND ok = nullptr, cancel = nullptr;
    HFONT dialogFont = nullptr;
    bool syncing = false; // controls being set by the dialog itself, not by the user
} g_dialog;

int rowCount() { return g_dialog.state ? std::clamp(g_dialog.state->dialog.DialogRowCount, 0, DialogMaxRows) : 0; }

std::wstring textOf(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring t(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
    GetWindowTextW(w, t.data(), n + 1);
    t.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return t;
}

DialogControls readControls() {
    DialogControls c;
    for (int r = 1; r <= DialogMaxRows; ++r) {
        const RowControls& rc = g_dialog.rows[static_cast<std::size_t>(r)];
        c.text[static_cast<std::size_t>(r)] = narrow(textOf(rc.edit));
        const DialogRow& row = g_dialog.state->dialog.DialogRows[static_cast<std::size_t>(r)];
        HWND button = row.Kind == RowRadio ? rc.radio : rc.check;
        c.checked[static_cast<std::size_t>(r)] = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    return c;
}

void setChecked(HWND button, bool on) { SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

HWND child(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int id) {
    HWND w = CreateWindowExW(exStyle, cls, nullptr, WS_CHILD | style, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app().instance, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(app().fonts[0]), FALSE);
    return w;
}

void createControls(HWND w) {
    ensureCommonControls(); // the spin buttons and sliders
    for (int r = 1; r <= DialogMaxRows; ++r) {
        RowControls& rc = g_dialog.rows[static_cast<std::size_t>(r)];
        rc.label = child(w, L"STATIC", 0, 0, DialogLabelId(r));
        rc.edit = child(w, L"EDIT", ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, DialogEditId(r));
        rc.spin = child(w, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS, 0, DialogSpinId(r));
        rc.check = child(w, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, DialogCheckId(r));
        rc.radio = child(w, L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, DialogRadioId(r));
        if (r <= DialogTrackbarRows) rc.trackbar = child(w, TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS, 0, DialogTrackbarId(r));
    }
    g_dialog.ok = child(w, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, DialogOkId);
    g_dialog.cancel = child(w, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, DialogCancelId);
    SetWindowTextW(g_dialog.ok, L"OK");
    SetWindowTextW(g_dialog.cancel, L"キャンセル");
}

void place(HWND w, const ControlRect& r) {
    if (!w) return;
    MoveWindow(w, r.x, r.y, r.w, r.h, FALSE);
    ShowWindow(w, r.shown ? SW_SHOW : SW_HIDE);
}

// Text widths as the first label's fresh device context measures them.
int measure(const std::string& text) {
    HWND label = g_dialog.rows[1].label;
    HDC dc = GetDC(label);
    std::wstring w = widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    ReleaseDC(label, dc);
    return size.cx;
}

void layOut(HWND w) {
    EditorState& s = *g_dialog.state;
    DialogRequest& d = s.dialog;
    SendMessageW(w, DM_SETDEFID, DialogOkId, 0);
    DialogPosition at = readDialogPosition(s);
    SetWindowTextW(w, widen(d.DialogCaption).c_str());
    g_dialog.dialogFont = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                      L"System");
    for (int r = 1; r <= rowCount(); ++r) {
        SendMessageW(g_dialog.rows[static_cast<std::size_t>(r)].label, WM_SETFONT,
                     reinterpret_cast<WPARAM>(g_dialog.dialogFont), FALSE);
        SendMessageW(g_dialog.rows[static_cast<std::size_t>(r)].edit, WM_SETFONT,
                     reinterpret_cast<WPARAM>(g_dialog.dialogFont), FALSE);
    }

    DialogLayout layout = computeDialogLayout(d, measure);
    DialogControls initial = initialControls(d);
    g_dialog.syncing = true;
    for (int r = 1; r <= DialogMaxRows; ++r) {
        const RowLayout& rl = layout.rows[static_cast<std::size_t>(r)];
        RowControls& rc = g_dialog.rows[static_cast<std::size_t>(r)];
        place(rc.label, rl.label);
        place(rc.edit, rl.edit);
        place(rc.check, rl.check);
        place(rc.radio, rl.radio);
        place(rc.trackbar, rl.trackbar);
        place(rc.spin, rl.spin);
        if (r > rowCount()) continue;
        const DialogRow& row = d.DialogRows[static_cast<std::size_t>(r)];
        SetWindowTextW(rc.label, widen(row.Label).c_str());
        SetWindowTextW(rc.edit, widen(initial.text[static_cast<std::size_t>(r)]).c_str());
        setChecked(rc.check, initial.checked[static_cast<std::size_t>(r)] && row.Kind == RowCheck);
        setChecked(rc.radio, initial.checked[static_cast<std::size_t>(r)] && row.Kind == RowRadio);
        SetWindowTextW(rc.check, L"");
        SetWindowTextW(rc.radio, L"");
        if (rl.spin.shown) {
            SendMessageW(rc.spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(rc.edit), 0);
            SendMessageW(rc.spin, UDM_SETRANGE32, static_cast<WPARAM>(rl.spinRange.min), rl.spinRange.max);
            SendMessageW(rc.spin, UDM_SETPOS32, 0, rl.spinRange.pos);
            // Attaching the buddy rewrites its text; the row's own value stands.
            SetWindowTextW(rc.edit, widen(initial.text[static_cast<std::size_t>(r)]).c_str());
        }
        if (rl.trackbar.shown) {
            SendMessageW(rc.trackbar, TBM_SETRANGEMIN, FALSE, rl.trackbarRange.min);
            SendMessageW(rc.trackbar, TBM_SETRANGEMAX, FALSE, rl.trackbarRange.max);
            SendMessageW(rc.trackbar, TBM_SETPOS, TRUE, rl.trackbarRange.pos);
        }
    }
    place(g_dialog.ok, layout.ok);
    place(g_dialog.cancel, layout.cancel);
    MoveWindow(w, at.left, at.top, layout.width, layout.height, TRUE);
    ShowWindow(w, SW_SHOW);
    SendMessageW(g_dialog.rows[1].edit, EM_SETSEL, 0, -1);
    SetFocus(g_dialog.rows[1].edit);
    g_dialog.syncing = false;
    dialogLaidOut(s);
}

void closeDialog(int code) {
    HWND w = g_dialog.window;
    if (g_dialog.owner) EnableWindow(g_dialog.owner, TRUE);
    if (w) DestroyWindow(w);
    PostQuitMessage(code);
}

void applyUpdate(const EditUpdate& u) {
    if (!u.limitChanged) return;
    SetWindowTextW(g_dialog.window, widen(u.caption).c_str());
    SendMessageW(g_dialog.rows[1].spin, UDM_SETRANGE32, static_cast<WPARAM>(u.spinMin), u.spinMax);
}

int rowOfControl(int id, int base) {
    int r = id - base;
    return r >= 1 && r <= DialogMaxRows ? r : 0;
}

void onCommand(WORD id, WORD code) {
    EditorState& s = *g_dialog.state;
    if (id == DialogOkId && code == BN_CLICKED) {
        if (dialogOk(s, readControls())) closeDialog(DialogResultOk);
        return;
    }
    if (id == DialogCancelId && code == BN_CLICKED) {
        dialogCancel(s);
        closeDialog(DialogResultCancel);
        return;
    }
    if (g_dialog.syncing || !s.dialog.DialogReady) return;
    if (int r = rowOfControl(id, 200); r && code == EN_UPDATE) {
        applyUpdate(dialogEditChanged(s, r, readControls()));
        applyUpdate(dialogControlsChanged(s, readControls()));
        return;
    }
    int radio = rowOfControl(id, 500);
    if ((radio || rowOfControl(id, 400)) && code == BN_CLICKED) {
        if (radio) {
            DialogControls c = readControls();
            selectRadioRow(s.dialog, c, radio);
            g_dialog.syncing = true;
            for (int r = 1; r <= DialogMaxRows; ++r)
                if (s.dialog.DialogRows[static_cast<std::size_t>(r)].Kind == RowRadio)
                    setChecked(g_dialog.rows[static_cast<std::size_t>(r)].radio, c.checked[static_cast<std::size_t>(r)]);
            g_dialog.syncing = false;
        }
        applyUpdate(dialogControlsChanged(s, readControls()));
    }
}

// A trackbar moved: its row's edit box takes the focus and the position.
void onTrackbar(HWND bar) {
    for (int r = 1; r <= DialogTrackbarRows; ++r) {
        RowControls& rc = g_dialog.rows[static_cast<std::size_t>(r)];
        if (rc.trackbar != bar) continue;
        SetFocus(rc.edit);
        auto pos = static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
        SetWindowTextW(rc.edit, std::to_wstring(pos).c_str());
    }
}

// A spin button clicked: its row's trackbar follows.
void onSpin(HWND spin) {
    for (int r = 1; r <= DialogTrackbarRows; ++r) {
        RowControls& rc = g_dialog.rows[static_cast<std::size_t>(r)];
        if (rc.spin != spin) continue;
        LRESULT pos = SendMessageW(spin, UDM_GETPOS32, 0, 0);
        SendMessageW(rc.trackbar, TBM_SETPOS, TRUE, pos);
    }
}

LRESULT CALLBACK generalDialogProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_dialog.state) return DefWindowProcW(w, message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_ARROW)); return TRUE;
    case WM_INITDIALOG: layOut(w); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL:
        if (lParam && g_dialog.state->dialog.DialogReady) onTrackbar(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        if (lParam && g_dialog.state->dialog.DialogReady) onSpin(reinterpret_cast<HWND>(lParam));
        return 0;
    case DM_GETDEFID: return MAKELRESULT(DialogOkId, DC_HASDEFID);
    case WM_CLOSE: closeDialog(dialogCloseRequested(*g_dialog.state)); return 0;
    case WM_DESTROY: {
        RECT r{};
        GetWindowRect(w, &r);
        dialogDestroyed(*g_dialog.state, DialogPosition{r.left, r.top});
        if (g_dialog.dialogFont) DeleteObject(g_dialog.dialogFont);
        g_dialog.dialogFont = nullptr;
        g_dialog.window = nullptr;
        return 0;
    }
    default: return DefWindowProcW(w, message, wParam, lParam);
    }
}

} // namespace

int runGeneralDialog(EditorState& state, HWND owner) {
    if (g_dialog.window) return DialogResultCancel; // never two at once
    g_dialog = OpenDialog{};
    g_dialog.state = &state;
    g_dialog.owner = owner;
    std::uint8_t busyBefore = state.frame.DialogBusy;
    state.frame.DialogBusy = 1; // the active slot must not move while the user answers

    HWND w = CreateWindowExW(WS_EX_CONTROLPARENT, L"NORMALDLG", L"HanyouDialog", WS_CAPTION, CW_USEDEFAULT,
                             CW_USEDEFAULT, 314, 421, owner, nullptr, app().instance, nullptr);
    if (!w) {
        state.frame.DialogBusy = busyBefore;
        return DialogResultCancel;
    }
    g_dialog.window = w;
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(generalDialogProc));
    dialogCreated(state);
    createControls(w);
    SendMessageW(w, WM_INITDIALOG, 0, 0);
    ShowWindow(w, SW_SHOW);
    if (owner) EnableWindow(owner, FALSE);

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g_dialog.window && IsDialogMessageW(g_dialog.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    state.frame.DialogBusy = busyBefore;
    g_dialog.state = nullptr;
    return static_cast<int>(msg.wParam);
}

} // namespace wavora
