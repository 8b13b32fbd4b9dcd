// The least a Windows program can do to show a window: the yardstick for the
// editor's start-up in the speed sweep.
#include <windows.h>

namespace {

LRESULT CALLBACK bareProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = bareProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BareWindow";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 13, 50, 950, 534, nullptr,
                             nullptr, instance, nullptr);
    ShowWindow(w, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
