// Stage 1 of start-up (the program entry's part), the message loop and what
// is released after it.
#include "app/AppWin32.h"
#include "app/Commands.h"
#include "app/HistoryWindowWin32.h"
#include "app/MenuTable.h"
#include "app/PlatformWin32.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SingleEditorWin32.h"
#include "app/StartupRecovery.h"
#include "audio/Audition.h"
#include "audio/Playback.h"
#include "converter/HelperStartWin32.h"
#include "core/EditorState.h"
#include "pattern/PatternWindowWin32.h"
#include "ui/HelpViewer.h"
#include "ui/HelpWindowWin32.h"
#include "ui/ToolWindowWin32.h"

#include <vector>

namespace wavora {

Win32App& app() {
    static Win32App instance;
    return instance;
}

namespace {

void createFonts(Win32App& a) {
    for (HFONT& f : a.fonts)
        f = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 3, 2, 1, 0x20,
                        L"ＭＳ Ｐゴシック");
    a.buttonFace = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

struct ClassIcons {
    HICON large = nullptr, small = nullptr; // none: Windows' default icon
};

// The program's own icon (Wavora.rc) at the sizes the task switcher and the
// title bar and task bar ask for. A program built without it (the in-process
// tests) keeps Windows' default.
ClassIcons programIcons(HINSTANCE instance) {
    auto load = [&](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(WAVORA_ICON), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height), LR_SHARED));
    };
    return {load(SM_CXICON, SM_CYICON), load(SM_CXSMICON, SM_CYSMICON)};
}

void registerClass(const wchar_t* name, WNDPROC proc, HBRUSH background, ClassIcons icons = {}) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = app().instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icons.large ? icons.large : LoadIconW(nullptr, IDI_APPLICATION);
    wc.hIconSm = icons.small;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc); // a second start in the same process finds it registered
}

void loadCursors(Win32App& a) {
    const wchar_t* files[3] = {L"Wavora部品\\名無し0のカーソルのカーソル.cur", L"Wavora部品\\拡大カーソル.cur",
                               L"Wavora部品\\縮小カーソル.cur"};
    for (int i = 0; i < 3; ++i) a.cursors[static_cast<std::size_t>(i)] = LoadCursorFromFileW(files[i]);
}

// The first device whose capabilities can be read is the one used; with none,
// the index ends at the device count and opening it later fails with the
// device error.
template <typename Caps, typename Query>
UINT firstAnsweringDevice(UINT count, Query query) {
    UINT i = 0;
    for (; i < count; ++i) {
        Caps caps{};
        if (query(i, &caps, sizeof caps) == MMSYSERR_NOERROR) break;
    }
    return i;
}

void chooseDevices(Win32App& a) {
    a.waveInDevice = firstAnsweringDevice<WAVEINCAPSW>(waveInGetNumDevs(), waveInGetDevCapsW);
    a.waveOutDevice = firstAnsweringDevice<WAVEOUTCAPSW>(waveOutGetNumDevs(), waveOutGetDevCapsW);
    a.waveInDevice = firstAnsweringDevice<WAVEINCAPSW>(waveInGetNumDevs(), waveInGetDevCapsW);
}

// The first query wakes the sound system, which takes a good part of the
// start-up: it runs beside the windows being made, and the devices are only
// read after waitForDeviceChoice.
DWORD WINAPI chooseDevicesThread(LPVOID) {
    chooseDevices(app());
    return 0;
}

// On the timer's own thread: count, and leave everything else to the
// interface thread.
void CALLBACK multimediaTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    Win32App& a = app();
    if (!a.state || !a.frame) return;
    const TimerTick t = onTimerTick(a.state->play);
    if (t.moveCursor) PostMessageW(a.frame, WM_PLAYCURSORMOVED, 0, 0);
    if (t.recordSecond) PostMessageW(a.frame, WM_RECORDSECOND, 0, 0);
}

WORD virtualKey(Key k) {
    switch (k) {
    case Key::Space: return VK_SPACE;
    case Key::Escape: return VK_ESCAPE;
    case Key::Delete: return VK_DELETE;
    case Key::F1: return VK_F1;
    case Key::I: return 'I';
    case Key::N: return 'N';
    case Key::O: return 'O';
    case Key::S: return 'S';
    case Key::Y: return 'Y';
    case Key::Z: return 'Z';
    }
    return 0;
}

HACCEL createAccelerators() {
    std::vector<ACCEL> table;
    for (const Accelerator& a : accelerators()) {
        BYTE flags = FVIRTKEY;
        if (a.ctrl) flags |= FCONTROL;
        if (a.shift) flags |= FSHIFT;
        table.push_back({flags, virtualKey(a.key), static_cast<WORD>(a.command)});
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

// The keys count while the frame or one of its sound windows is the active
// window, and never while a dialog of the program runs (its own loop then
// takes the messages; a window that is not the frame's gets them anyway).
bool translateKey(MSG& msg) {
    Win32App& a = app();
    if (!a.accelerators || !a.frame || !a.state || a.state->dialog.DialogOpen) return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (GetActiveWindow() != a.frame || (msg.hwnd != a.frame && !IsChild(a.frame, msg.hwnd))) return false;
    return TranslateAcceleratorW(a.frame, a.accelerators, &msg) != 0;
}

} // namespace

HWND startEditor(HINSTANCE instance, const std::filesystem::path& root) {
    Win32App& a = app();
    a.instance = instance;
    std::error_code ec;
    std::filesystem::current_path(root, ec);
    // Another editor works in this folder: it comes to the front, and this
    // one ends before it has touched a file or started a helper.
    if (claimFolder(root) == FolderClaim::TakenByAnother) return nullptr;
    // The helper's path is relative to the program folder, now current. It
    // starts first so that it comes up while the editor does the rest; the
    // frame's creation looks for its window.
    launchHelper();
    // So are the tool buttons' icons, read from their files beside the rest.
    startLoadingToolIcons();

    createFonts(a);
    createPatternMenu();
    registerClass(L"NORMALDLG", DefWindowProcW, a.buttonFace);
    a.borderWidth = GetSystemMetrics(SM_CXFRAME);
    a.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &a.workArea, 0);

    a.platform = std::make_unique<Win32Platform>();
    a.state = std::make_unique<EditorState>(*a.platform, std::filesystem::current_path(ec));
    a.state->runCommand = dispatchCommand;
    a.state->previewChanged = auditionPreview;
    a.mmTimer = timeSetEvent(20, 0, multimediaTick, 0, TIME_PERIODIC);
    loadCursors(a);
    a.deviceChoice = CreateThread(nullptr, 0, chooseDevicesThread, nullptr, 0, nullptr);
    if (!a.deviceChoice) chooseDevices(a);
    a.menuBar = buildMenuBar(a.popups);
    a.accelerators = createAccelerators();

    const ClassIcons icons = programIcons(instance);
    registerClass(L"NORMAL0", frameWindowProc, a.buttonFace, icons);
    // Made where its creation will put it (the remembered rectangle, or the
    // default one): moving a window just made costs the window system a round
    // trip on the way to the first picture, and it is not shown before then.
    loadFramePosition(*a.state);
    const FrameState& at = a.state->frame;
    a.frame = CreateWindowExW(WS_EX_ACCEPTFILES, L"NORMAL0", L"Wavora",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, at.left, at.top,
                              at.width, at.height, nullptr, nullptr, instance, nullptr);
    if (!a.frame) {
        abandonHelper();
        releaseFolder();
        return nullptr;
    }
    announceFrame(a.frame);

    registerClass(L"NORMAL2", DefWindowProcW, a.buttonFace);
    a.debugWindow = CreateWindowExW(0, L"NORMAL2", L"DebugWnd", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    606, 480, nullptr, nullptr, instance, nullptr);
    registerClass(L"NORMAL6", helpWindowProc, a.buttonFace, icons);
    a.helpWindow = CreateWindowExW(0, L"NORMAL6", L"Wavoraのヘルプ", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                   CW_USEDEFAULT, HelpIndexWidth, HelpIndexHeight, nullptr, nullptr, instance, nullptr);
    // The helper, started first thing, came up while all of the above was
    // made; it is looked for only now, and still before the first command
    // can run (none runs before the message loop, or during the question).
    a.helper = findHelper(a.frame);
    // The frame is up, no command has run and nothing has been written into
    // the undo folder: the moment to offer back what a run that died left.
    offerRecovery(*a.state);
    // What the frame does not show (the common controls, see
    // CommonControlsWin32.h, and the tool tips that need them) comes first
    // thing in the message loop, after the frame is up.
    PostMessageW(a.frame, WM_FINISHSTART, 0, 0);
    return a.frame;
}

void waitForDeviceChoice() {
    Win32App& a = app();
    if (!a.deviceChoice) return;
    WaitForSingleObject(a.deviceChoice, INFINITE);
    CloseHandle(a.deviceChoice);
    a.deviceChoice = nullptr;
}

void handleMessage(MSG& msg) {
    if (!translateKey(msg) && !historyWindowMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // What the message changed is heard (when the user wants it) and shown
    // in the history window.
    if (EditorState* s = app().state.get()) auditionIfChanged(*s);
    refreshHistoryWindow();
}

int runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) handleMessage(msg);
    return 0;
}

void finishEditor() {
    Win32App& a = app();
    waitForDeviceChoice();
    if (a.debugWindow) DestroyWindow(a.debugWindow);
    if (a.helpWindow) DestroyWindow(a.helpWindow);
    a.debugWindow = a.helpWindow = nullptr;
    destroyPatternMenu();
    for (HFONT& f : a.fonts) {
        if (f) DeleteObject(f);
        f = nullptr;
    }
    if (a.buttonFace) DeleteObject(a.buttonFace);
    a.buttonFace = nullptr;
    for (HCURSOR& c : a.cursors) {
        if (c) DestroyCursor(c);
        c = nullptr;
    }
    if (a.accelerators) DestroyAcceleratorTable(a.accelerators);
    a.accelerators = nullptr;
    a.state.reset();
    a.platform.reset();
    a.popups = {};
    a.menuBar = nullptr; // destroyed with the frame
    releaseFolder();
}

} // namespace wavora
