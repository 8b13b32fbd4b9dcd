// The frame window: stage 2 of start-up in its creation, the shutdown in its
// destruction, and the per-message bookkeeping that keeps the active slot in
// step with the active sound window.
#include "app/AppWin32.h"
#include "app/Commands.h"
#include "app/Frame.h"
#include "app/HistoryWindowWin32.h"
#include "app/Settings.h"
#include "audio/Playback.h"
#include "audio/Recording.h"
#include "audio/WaveDeviceWin32.h"
#include "converter/HelperClient.h"
#include "converter/HelperStartWin32.h"
#include "core/CommonControlsWin32.h"
#include "core/EditorState.h"
#include "core/LateBoundWin32.h"
#include "text/Paths.h"
#include "core/TextFiles.h"
#include "core/WinText.h"
#include "ui/ToolWindow.h"
#include "ui/ToolWindowWin32.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "wavfile/WavCommands.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace wavora {

namespace {

void createMdiClient(Win32App& a, HWND frame) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = a.popups[0];
    ccs.idFirstChild = 9000;
    a.mdiClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 33, 0, 0,
                                  frame, nullptr, a.instance, &ccs);
}

void setRecordingFormat(EditorState& s) {
    WaveFormat& f = s.play.DeviceFormat;
    f.FormatTag = 1;
    f.Channels = 1;
    f.SamplesPerSec = static_cast<std::uint32_t>(s.active().SRATE);
    f.BitsPerSample = 8;
    f.BlockAlign = 1;
    f.AvgBytesPerSec = f.SamplesPerSec;
}

// Beside the frame, unless the user has put it elsewhere before.
void openToolWindow(HWND frame, EditorState& s) {
    RECT r{};
    GetWindowRect(frame, &r);
    Point at = defaultToolWindowPosition(r.left, r.top, r.right - r.left);
    if (fileExists(s.root, std::string(SettingsFolder) + "/TBWindowPos.wavora")) {
        loadToolWindowPosition(s);
        at = {s.frame.toolLeft, s.frame.toolTop};
    }
    createToolWindow(frame, at.x, at.y, [](int left, int top) {
        if (EditorState* st = app().state.get()) saveToolWindowPosition(*st, left, top);
    });
    s.CurrentTool = 1;
}

// The start-up read the remembered rectangle (loadFramePosition) and made the
// frame there; the frame is moved only when the window system made it
// elsewhere (a rectangle smaller than the frame's least size), since a move
// to where it already is would only cost the window system a round trip.
void placeFrame(HWND frame, const FrameState& at) {
    RECT r{};
    GetWindowRect(frame, &r);
    if (r.left == at.left && r.top == at.top && r.right - r.left == at.width && r.bottom - r.top == at.height) return;
    SetWindowPos(frame, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER);
}

void stageTwo(Win32App& a, HWND frame) {
    EditorState& s = *a.state;
    a.frame = frame;
    SetMenu(frame, a.menuBar);
    createWorkingFolders(s);
    initialUndoMenu(s);
    createMdiClient(a, frame);
    s.frame.CurrentDir = utf8FromPath(std::filesystem::current_path());
    loadFolderSettings(s);
    loadAutoAudition(s);
    placeFrame(frame, s.frame);
    setRecordingFormat(s);
    createSharedSurfaces(s);
    openToolWindow(frame, s);
    SetTimer(frame, 0, 100, nullptr);
}

// The rectangle to remember: a minimised frame would otherwise come back at
// the far-off icon position on the next start.
void takeFrameRectangle(HWND frame, EditorState& s) {
    RECT r{};
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (IsIconic(frame) && GetWindowPlacement(frame, &wp)) r = wp.rcNormalPosition;
    else GetWindowRect(frame, &r);
    s.frame.left = r.left;
    s.frame.top = r.top;
    s.frame.width = r.right - r.left;
    s.frame.height = r.bottom - r.top;
}

void shutdown(Win32App& a, HWND frame) {
    EditorState& s = *a.state;
    stopPlayback(s);
    releaseRecording(s);
    KillTimer(frame, 0);
    clearUndoFolder(s);
    if (a.helper) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(a.helper, WM_DESTROY, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
        a.helper = nullptr;
    }
    if (a.mmTimer) timeKillEvent(a.mmTimer);
    a.mmTimer = 0;
    destroyToolWindow(); // writes its position
    destroyHistoryWindow();
    takeFrameRectangle(frame, s);
    saveSettings(s);
    s.SelectionTint.reset();
    s.PlayLineSurface.reset();
    if (a.mdiClient) DestroyWindow(a.mdiClient);
    a.mdiClient = nullptr;
    PostQuitMessage(0);
}

// The client part of the active sound window: its window rectangle less the
// caption, the scroll bars and a further 5 pixels at the right and bottom.
bool cursorInsideActiveWindow(const Win32App& a, const EditorState& s) {
    HWND w = reinterpret_cast<HWND>(s.docs[static_cast<std::size_t>(s.activeSlot())].WindowHandle);
    if (!w) return false;
    RECT r{};
    GetWindowRect(w, &r);
    r.top += a.captionHeight;
    r.right -= GetSystemMetrics(SM_CXVSCROLL) + 5;
    r.bottom -= GetSystemMetrics(SM_CYHSCROLL) + 5;
    POINT p{};
    GetCursorPos(&p);
    return PtInRect(&r, p) != FALSE;
}

void bookkeeping(Win32App& a) {
    EditorState& s = *a.state;
    if (s.frame.SkipFlag == 1) return;
    if (s.frame.DialogBusy == 0 && a.mdiClient)
        followActiveWindow(s, static_cast<WindowId>(SendMessageW(a.mdiClient, WM_MDIGETACTIVE, 0, 0)));
    if (!s.frame.LayerDragging && !cursorInsideActiveWindow(a, s)) s.active().MouseTracking = false;
    if (s.frame.WaitCursorFlag == 1 && a.mdiClient) {
        HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
        SetClassLongPtrW(a.mdiClient, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(wait));
        SetCursor(wait);
        InvalidateRect(a.mdiClient, nullptr, TRUE);
    }
}

// Replies count only when they come from our own helper.
void copyHelperReply(Win32App& a, WPARAM sender, const COPYDATASTRUCT* cds) {
    if (!cds || !a.helper || reinterpret_cast<HWND>(sender) != a.helper) return;
    onHelperCopyData(*a.state, cds->dwData, cds->lpData, cds->cbData);
}

// The dropped paths in their order. A modal window (a message box, the
// general dialog, the pattern window) disables the frame while it is open.
// The shell's library is loaded at the first drop, not at every start.
void takeDrop(EditorState& s, HWND frame, HDROP drop) {
    static const auto query = lateBound<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static const auto finish = lateBound<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
    std::vector<std::string> paths;
    const UINT count = query ? query(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(query(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(query(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (!path.empty()) paths.push_back(narrow(path));
    }
    if (finish) finish(drop);
    openDroppedFiles(s, paths, !IsWindowEnabled(frame));
}

} // namespace

LRESULT CALLBACK frameWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32App& a = app();
    if (!a.state) return DefFrameProcW(frame, a.mdiClient, message, wParam, lParam);
    bookkeeping(a);
    EditorState& s = *a.state;
    switch (message) {
    case WM_CREATE: stageTwo(a, frame); break;
    case WM_DESTROY: shutdown(a, frame); break;
    case WM_SIZE:
        if (a.mdiClient) MoveWindow(a.mdiClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_CLOSE:
        if (!frameCloseRequested(s)) return 0;
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {FrameMinWidth, FrameMinHeight};
        info->ptMaxTrackSize = {a.workArea.right, a.workArea.bottom};
        break;
    }
    case WM_COPYDATA: copyHelperReply(a, wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam)); break;
    case WM_COMMAND: dispatchCommand(s, LOWORD(wParam)); break;
    case WM_DROPFILES: takeDrop(s, frame, reinterpret_cast<HDROP>(wParam)); return 0;
    case MM_WOM_DONE: onWaveOutDone(s, reportedWaveOutUser(lParam)); break;
    case MM_WIM_OPEN: onWaveInOpen(s); break;
    case MM_WIM_DATA: onWaveInData(s); break;
    case MM_WIM_CLOSE: onWaveInClose(s); break;
    case WM_PLAYCURSORMOVED: onPlayCursorMoved(s); break;
    case WM_RECORDSECOND: onRecordSecond(s); break;
    case WM_FINISHSTART:
        ensureCommonControls();
        addToolWindowTips();
        break;
    default: break;
    }
    return DefFrameProcW(frame, a.mdiClient, message, wParam, lParam);
}

} // namespace wavora
