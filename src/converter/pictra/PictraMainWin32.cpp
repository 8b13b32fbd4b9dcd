// Pictra: the editor's helper. It has one hidden topmost window, found by the
// editor through its title, shows the Open and Save dialogs on the editor's
// behalf and converts images, until it is told to end. What it makes of each
// record is in PictraState; this file is the window, the loop and the dialogs.
#include "converter/HelperLaunch.h"
#include "converter/pictra/ConvertImageWin32.h"
#include "converter/pictra/PictraResources.h"
#include "converter/pictra/PictraState.h"
#include "core/LateBoundWin32.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t WindowTitle[] = L"圧縮ファイルBMP変換だぞ";
constexpr UINT ShiftJis = 932; // the protocol's texts, whatever the system's code page
constexpr UINT ReplyTimeoutMs = 10000;
// Posted by the watch on the editor once the editor's process has ended.
constexpr UINT WM_EDITORGONE = WM_APP + 1;
// How long the helper gives its own window to end before it ends the process.
constexpr DWORD LastWordMs = 2000;

pictra::PictraState state;

std::wstring wideOf(std::string_view sjis) {
    if (sjis.empty()) return {};
    const int n = MultiByteToWideChar(ShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(ShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), w.data(), n);
    return w;
}

// False when a character of the text has no Shift-JIS form: the editor could
// not name that file, so it must not get a look-alike name instead.
bool sjisOf(std::wstring_view w, std::string& out) {
    out.clear();
    if (w.empty()) return true;
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(ShiftJis, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(ShiftJis, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return true;
}

// The dialog's answer as the reply carries it: one path and its zero byte, or
// with several files allowed the folder and each name with their zero bytes
// and one more zero byte.
bool chosenList(const std::array<wchar_t, 260>& file, std::string& list) {
    list.clear();
    std::size_t at = 0;
    do {
        std::size_t end = at;
        while (end < file.size() && file[end] != L'\0') ++end;
        if (end == file.size()) return false; // not terminated inside the buffer
        std::string part;
        if (!sjisOf(std::wstring_view(file.data() + at, end - at), part)) return false;
        list += part;
        list += '\0';
        at = end + 1;
    } while (state.MultiSelectFlag && at < file.size() && file[at] != L'\0');
    if (state.MultiSelectFlag) list += '\0';
    return true;
}

void sendDialogResult(HWND self) {
    COPYDATASTRUCT reply{};
    reply.dwData = 1;
    reply.cbData = static_cast<DWORD>(state.PathBuffer.size());
    reply.lpData = state.PathBuffer.data();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(reinterpret_cast<HWND>(state.ReplyWindow), WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                        reinterpret_cast<LPARAM>(&reply), SMTO_ABORTIFHUNG, ReplyTimeoutMs, &ignored);
}

void showDialog(HWND self, bool open) {
    const std::wstring filter = wideOf(pictra::filterList(state));
    const std::wstring title = wideOf(pictra::textOf(state.DialogTitle));
    const std::wstring folder = wideOf(pictra::textOf(state.InitialFolder));
    std::array<wchar_t, 260> file{};
    const std::wstring name = wideOf(pictra::textOf(state.PathBuffer));
    name.copy(file.data(), std::min(name.size(), file.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = nullptr;
    ofn.lpstrFilter = filter.empty() || filter[0] == L'\0' ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = pictra::dialogFlags(state);
    // The dialogs' library (and the common controls it brings) is loaded at
    // the first dialog: the editor waits for this program's window at start.
    static const auto openDialog = wavora::lateBound<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    static const auto saveDialog = wavora::lateBound<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    const auto dialog = open ? openDialog : saveDialog;
    const bool chosen = dialog && dialog(&ofn) != FALSE;

    std::string list;
    const bool answered = chosen && chosenList(file, list);
    pictra::storeDialogResult(state, answered, list);
    sendDialogResult(self);
}

BOOL CALLBACK cancelDialog(HWND w, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring_view(cls) == L"#32770") PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

struct Watch {
    HANDLE editor;
    HWND window;
};

// Waits for the editor's end. The window is asked to end first, so that a
// conversion being written is finished; a helper that does not manage within
// LastWordMs (a dialog that would not close) ends anyway.
DWORD WINAPI watchEditor(LPVOID parameter) {
    const Watch watch = *static_cast<Watch*>(parameter);
    delete static_cast<Watch*>(parameter);
    WaitForSingleObject(watch.editor, INFINITE);
    PostMessageW(watch.window, WM_EDITORGONE, 0, 0);
    Sleep(LastWordMs);
    ExitProcess(0);
}

// False when the editor named on the command line has already ended.
bool watchTheEditor(HWND window, PWSTR commandLine) {
    const DWORD pid = commandLine ? wavora::editorProcessOf(commandLine) : 0;
    if (pid == 0) return true; // started without an editor to watch: runs until told to end
    HANDLE editor = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!editor) return GetLastError() != ERROR_INVALID_PARAMETER; // no such process any more
    auto* watch = new Watch{editor, window};
    HANDLE thread = CreateThread(nullptr, 0, watchEditor, watch, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
    } else {
        delete watch;
        CloseHandle(editor);
    }
    return true;
}

LRESULT CALLBACK helperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!record) return 0;
        const pictra::RecordAction action = pictra::handleRecord(state, record->dwData, record->lpData, record->cbData);
        if (action != pictra::RecordAction::None) showDialog(window, action == pictra::RecordAction::ShowOpenDialog);
        return 0;
    }
    case WM_SETTEXT: {
        // The text names an image to convert; the window keeps its title, by
        // which the editor finds it.
        const auto* path = reinterpret_cast<const wchar_t*>(lParam);
        if (path) pictra::ConvertImage(path, wideOf(pictra::textOf(state.OutputPath)));
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_EDITORGONE:
        // Nobody is left to answer: an open dialog is cancelled and the loop ends.
        EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = helperWindowProc;
    wc.hInstance = instance;
    // Its own icon (Pictra.rc), the one Explorer shows for the file, rather
    // than Windows' default.
    auto icon = [&](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(PICTRA_ICON), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height), LR_SHARED));
    };
    wc.hIcon = icon(SM_CXICON, SM_CYICON);
    wc.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ModelApp";
    RegisterClassExW(&wc);

    HWND window = CreateWindowExW(0, L"ModelApp", WindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!watchTheEditor(window, commandLine)) return 0;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
