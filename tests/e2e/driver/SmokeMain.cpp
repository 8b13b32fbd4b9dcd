// wavora_smoke: starts the editor of an install folder, waits for its frame,
// lets the caller take a screenshot, then closes it as a user would.
//   wavora_smoke start FOLDER   -> exits 0 once the frame is up (editor keeps running)
//   wavora_smoke close          -> closes the running editor with "はい", exits 0 when it ended
//   wavora_smoke command ID     -> chooses menu command ID in the running editor
//   wavora_smoke ok             -> presses OK in the editor's open parameter dialog
#include "Driver.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"start") {
        e2e::Process p = e2e::startEditor(argv[2]);
        if (!p.handle) {
            std::fprintf(stderr, "smoke: cannot start the editor\n");
            return 1;
        }
        HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
        if (!frame) {
            std::fprintf(stderr, "smoke: no frame window appeared\n");
            p.kill();
            return 1;
        }
        Sleep(1500); // let the first paint settle before the screenshot
        std::printf("smoke: frame is up\n");
        return 0;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"command") {
        HWND frame = e2e::findWindow(L"NORMAL0", L"Wavora");
        if (!frame) return 1;
        PostMessageW(frame, WM_COMMAND, static_cast<WPARAM>(_wtoi(argv[2])), 0);
        Sleep(1000);
        return 0;
    }
    if (argc >= 2 && std::wstring(argv[1]) == L"ok") {
        HWND frame = e2e::findWindow(L"NORMAL0", L"Wavora");
        HWND dialog = frame ? e2e::findWindow(L"NORMALDLG", nullptr, e2e::processOf(frame)) : nullptr;
        if (!dialog) return 1;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Sleep(1000);
        return 0;
    }
    if (argc >= 2 && std::wstring(argv[1]) == L"close") {
        HWND frame = e2e::findWindow(L"NORMAL0", L"Wavora");
        if (!frame) {
            std::fprintf(stderr, "smoke: no editor is running\n");
            return 1;
        }
        DWORD pid = e2e::processOf(frame);
        e2e::Process p;
        p.handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        p.id = pid;
        if (!e2e::closeEditor(frame, p)) {
            std::fprintf(stderr, "smoke: the editor did not close\n");
            p.kill();
            return 1;
        }
        std::printf("smoke: closed cleanly\n");
        return 0;
    }
    std::fprintf(stderr, "usage: wavora_smoke start FOLDER | close\n");
    return 2;
}
