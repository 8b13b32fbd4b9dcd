// Starting the converter program and finding its window by its title.
#include "converter/HelperStartWin32.h"
#include "converter/HelperLaunch.h"
#include "core/WinText.h"

#include <cstring>
#include <utility>

namespace wavora {

namespace {

// The search gives up after five seconds: a missing or broken helper must not
// keep the editor from starting.
constexpr DWORD HelperSearchMs = 5000;
constexpr DWORD RoundMs = 5;
constexpr int StepsPerRound = 513;

// The helper's window: found by its title, and when the launch told us which
// process it started, only in that process, so that a second editor (or a
// helper left over from an earlier run) is never taken for our own.
bool isHelper(HWND w, DWORD pid) {
    if (pid != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != pid) return false;
    }
    int length = GetWindowTextLengthW(w);
    if (length <= 0) return false;
    wchar_t title[1256] = {};
    GetWindowTextW(w, title, 1255);
    return std::wcscmp(title, HelperTitle) == 0;
}

// One pass through the top-level window order from the frame, towards the top
// of the order (previous windows) or towards its end (next windows).
HWND searchPass(HWND frame, bool towardsTop, DWORD pid) {
    HWND w = frame;
    for (int step = 0; step < StepsPerRound && w; ++step) {
        w = GetWindow(w, towardsTop ? GW_HWNDPREV : GW_HWNDNEXT);
        if (w && isHelper(w, pid)) return w;
    }
    return nullptr;
}

// What the launch left for the search; the launch and the search run at
// different moments of start-up. The launch runs on a thread of its own
// (starting a process keeps the caller waiting for several milliseconds);
// only the interface thread starts and joins it, and reads the rest after
// the join.
struct Launch {
    HANDLE thread = nullptr;
    bool launched = false;
    HANDLE process = nullptr;
    DWORD pid = 0;
};

Launch& pending() {
    static Launch launch;
    return launch;
}

void startHelperProcess() {
    Launch& l = pending();
    // The helper watches this process and ends by itself when it is gone
    // without having told it (killed, crashed).
    // A plain process start: the shell's way of opening a file costs the
    // editor's start-up tens of milliseconds more under some systems and
    // gives nothing here, where the program's own path is known.
    static const wchar_t program[] = L"Wavora部品\\Pictra.exe";
    std::wstring commandLine = std::wstring(L"\"") + program + L"\" " + editorProcessParameter(GetCurrentProcessId());
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    l.launched = CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                                &info) != FALSE;
    if (l.launched) CloseHandle(info.hThread);
    l.process = l.launched ? info.hProcess : nullptr;
    l.pid = l.process ? GetProcessId(l.process) : 0;
}

DWORD WINAPI launchThread(LPVOID) {
    startHelperProcess();
    return 0;
}

// The launch as it ended, taken out of the pending record.
Launch takeLaunch() {
    Launch& l = pending();
    if (l.thread) {
        WaitForSingleObject(l.thread, INFINITE);
        CloseHandle(l.thread);
        l.thread = nullptr;
    }
    return std::exchange(l, Launch{});
}

} // namespace

void launchHelper() {
    Launch& l = pending();
    if (l.thread || l.launched) return;
    l.thread = CreateThread(nullptr, 0, launchThread, nullptr, 0, nullptr);
    if (!l.thread) startHelperProcess(); // no thread: the launch waits here
}

void abandonHelper() {
    Launch l = takeLaunch();
    if (!l.process) return;
    TerminateProcess(l.process, 0);
    CloseHandle(l.process);
}

HWND findHelper(HWND frame) {
    Launch l = takeLaunch();
    HWND found = nullptr;
    const DWORD begin = GetTickCount();
    for (int round = 0; l.launched; ++round) {
        // The helper was started before the editor made its windows, so its
        // window is usually there at the first look. Until it is, the search
        // looks again every few milliseconds: the wait is on the start-up's
        // critical path. The pause is a
        // plain sleep: a wait that handled sent messages would let other
        // programs talk to the frame before it is finished.
        found = searchPass(frame, round % 2 == 0, l.pid);
        if (found || GetTickCount() - begin >= HelperSearchMs) break;
        Sleep(RoundMs);
    }
    if (l.process) {
        // A helper whose window came too late is never used (only the process
        // we launched counts) and would never be told to end: end it now
        // rather than leave a hidden process behind at every start.
        if (!found) TerminateProcess(l.process, 0);
        CloseHandle(l.process);
    }
    if (found) return found;
    MessageBoxW(frame,
                L"補助プログラム「Wavora部品\\Pictra.exe」が見つかりませんでした。\r\n"
                L"ファイルを開く・保存するなどのファイル操作はできません（キャンセル扱いになります）。\r\n"
                L"Wavora.exe と同じフォルダに「Wavora部品」フォルダがあるか確かめてください。",
                L"(;ﾟ0ﾟ) Pictraがありません", MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

} // namespace wavora
