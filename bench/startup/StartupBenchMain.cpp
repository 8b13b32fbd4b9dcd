// startup_bench: the editor's start-up to a ready frame (the frame answering,
// its tool window and the helper up) against a bare window program under the
// same Wine, each started several times; prints the medians and their ratio.
// With a second install folder (another build of the editor, an older one for
// instance), its editor is started in turn with this one, each in a clean
// folder, and both medians are printed.
//   startup_bench [RUNS [OTHER_STAGE]]
#include "Driver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The tests' window search looks every 50 ms, too coarse for starts of a
// tenth of a second: here every 2 ms. A window the user sees counts only
// once shown; the helper's window is never shown.
HWND waitFor(const wchar_t* cls, const wchar_t* title, DWORD pid, bool shown) {
    const auto end = Clock::now() + 20s;
    do {
        if (HWND w = e2e::findWindow(cls, title, pid); w && (!shown || IsWindowVisible(w))) return w;
        Sleep(2);
    } while (Clock::now() < end);
    return nullptr;
}

bool answers(HWND w) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
}

// Seconds from the start of the process until its window answers; -1 when it never does.
double bare(const std::filesystem::path& exe, const wchar_t* cls, const wchar_t* title, bool shown) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe.wstring() + L"\"";
    const auto begin = Clock::now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    HWND w = waitFor(cls, title, pi.dwProcessId, shown);
    const bool ok = w && answers(w);
    const double t = std::chrono::duration<double>(Clock::now() - begin).count();
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ok ? t : -1;
}

double editor(const std::filesystem::path& folder) {
    const auto begin = Clock::now();
    e2e::Process p = e2e::startEditor(folder);
    if (!p.handle) return -1;
    HWND frame = waitFor(L"NORMAL0", L"Wavora", p.id, true);
    HWND tools = frame ? waitFor(L"TBWindow", nullptr, p.id, true) : nullptr;
    HWND helper = tools ? waitFor(L"ModelApp", L"圧縮ファイルBMP変換だぞ", 0, false) : nullptr;
    const bool ok = helper && answers(frame);
    const double t = std::chrono::duration<double>(Clock::now() - begin).count();
    if (!frame || !e2e::closeEditor(frame, p)) p.kill();
    if (helper) e2e::waitProcessGone(e2e::processOf(helper), 10s);
    CloseHandle(p.handle);
    return ok ? t : -1;
}

// A clean folder holding a copy of another install.
std::filesystem::path freshInstallOf(const std::filesystem::path& stage, const std::wstring& name) {
    const std::filesystem::path folder = e2e::stageFolder().parent_path() / L"e2e-work" / name;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(stage / L"Wavora.exe", folder / L"Wavora.exe");
    std::filesystem::copy(stage / L"Wavora部品", folder / L"Wavora部品", std::filesystem::copy_options::recursive);
    return folder;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path bareExe = std::filesystem::path(self).parent_path() / L"bare_window.exe";
    // The helper alone: the editor waits for its window at every start.
    const std::filesystem::path helperExe = e2e::stageFolder() / L"Wavora部品" / L"Pictra.exe";
    std::filesystem::path other = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::path();
    if (!other.empty() && other.wstring()[0] == L'/') other = L"Z:" + other.wstring();
    std::vector<double> bareTimes, editorTimes, helperTimes, otherTimes;
    for (int i = 0; i < runs; ++i) {
        const double b = bare(bareExe, L"BareWindow", L"Bare", true);
        const double h = bare(helperExe, L"ModelApp", L"圧縮ファイルBMP変換だぞ", false);
        helperTimes.push_back(h);
        // With another editor to compare, every second run starts that one
        // first, so neither always comes after the same work.
        const bool otherFirst = !other.empty() && i % 2 == 1;
        const double o1 = otherFirst ? editor(freshInstallOf(other, L"startup-bench-other")) : 0;
        const double e = editor(e2e::freshInstall(L"startup-bench"));
        if (b < 0 || e < 0) {
            std::printf("startup: run %d failed (bare %.3f s, editor %.3f s)\n", i + 1, b, e);
            return 1;
        }
        bareTimes.push_back(b);
        editorTimes.push_back(e);
        std::printf("startup: run %d: bare window %.3f s, helper alone %.3f s, editor %.3f s\n", i + 1, b, h, e);
        if (!other.empty()) {
            const double o = otherFirst ? o1 : editor(freshInstallOf(other, L"startup-bench-other"));
            otherTimes.push_back(o);
            std::printf("startup: run %d: other editor %.3f s\n", i + 1, o);
        }
    }
    const double b = median(bareTimes), e = median(editorTimes);
    std::printf("startup: medians of %d runs: bare window %.3f s, helper alone %.3f s, editor to a ready frame %.3f s, "
                "ratio %.2f\n", runs, b, median(helperTimes), e, e / b);
    if (!other.empty())
        std::printf("startup: medians of %d runs, clean folder: this editor %.3f s, other editor %.3f s\n", runs, e,
                    median(otherTimes));
    return 0;
}
