// The editor's entry: no arguments are read, the exit code is always 0.
#include "app/AppWin32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!wavora::startEditor(instance, std::filesystem::current_path())) return 0;
    wavora::runMessageLoop();
    wavora::finishEditor();
    return 0;
}
