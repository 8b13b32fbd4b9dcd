#include "Driver.h"

#include <tlhelp32.h>

#include <fstream>
#include <thread>

namespace e2e {

namespace fs = std::filesystem;

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

fs::path stageFolder() {
    wchar_t buf[2048] = {};
    DWORD n = GetEnvironmentVariableW(L"WAVORA_STAGE", buf, 2048);
    std::wstring p = n ? std::wstring(buf, n) : std::wstring(L"stage");
    // A Unix path handed over by the test runner lives on Wine's drive Z:.
    if (!p.empty() && p[0] == L'/') p = L"Z:" + p;
    return fs::path(p);
}

fs::path freshInstall(const std::wstring& name) {
    fs::path stage = stageFolder();
    fs::path folder = stage.parent_path() / L"e2e-work" / name;
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    fs::copy_file(stage / L"Wavora.exe", folder / L"Wavora.exe");
    fs::copy(stage / L"Wavora部品", folder / L"Wavora部品", fs::copy_options::recursive);
    return folder;
}

bool Process::running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }

bool Process::waitExit(std::chrono::milliseconds timeout) const {
    return handle && WaitForSingleObject(handle, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Process::kill() const {
    if (running()) TerminateProcess(handle, 1);
}

Process startEditor(const fs::path& folder) {
    std::wstring exe = (folder / L"Wavora.exe").wstring();
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    Process p;
    if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(), &si,
                       &pi)) {
        CloseHandle(pi.hThread);
        p.handle = pi.hProcess;
        p.id = pi.dwProcessId;
    }
    return p;
}

namespace {

struct Search {
    const wchar_t* cls;
    const wchar_t* title;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK match(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (s->pid && processOf(w) != s->pid) return TRUE;
    wchar_t buf[512] = {};
    if (s->cls) {
        GetClassNameW(w, buf, 512);
        if (std::wstring(buf) != s->cls) return TRUE;
    }
    if (s->title && windowText(w) != s->title) return TRUE;
    s->found = w;
    return FALSE;
}

template <typename F>
HWND poll(F find, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    do {
        if (HWND w = find()) return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

} // namespace

HWND findWindow(const wchar_t* cls, const wchar_t* title, DWORD pid) {
    Search s{cls, title, pid, nullptr};
    EnumWindows(match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND waitForWindow(const wchar_t* cls, const wchar_t* title, DWORD pid, std::chrono::milliseconds timeout) {
    return poll([&] { return findWindow(cls, title, pid); }, timeout);
}

HWND waitForMessageBox(const std::wstring& caption, DWORD pid, std::chrono::milliseconds timeout) {
    return poll([&] { return findWindow(L"#32770", caption.c_str(), pid); }, timeout);
}

std::wstring windowText(HWND w) {
    wchar_t buf[4096] = {};
    SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::wstring messageBoxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

void answer(HWND box, int id) { PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(id), 0); }

DWORD processOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

namespace {

DWORD parentOf(DWORD pid) {
    HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (all == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(all, &e); more && !parent; more = Process32NextW(all, &e))
        if (e.th32ProcessID == pid) parent = e.th32ParentProcessID;
    CloseHandle(all);
    return parent;
}

} // namespace

HWND findHelperOf(DWORD editor) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"ModelApp", nullptr); w;
         w = FindWindowExW(nullptr, w, L"ModelApp", nullptr))
        if (parentOf(processOf(w)) == editor) return w;
    return nullptr;
}

HWND waitForHelper(DWORD editor, std::chrono::milliseconds timeout) {
    return poll([&] { return findHelperOf(editor); }, timeout);
}

bool processAlive(DWORD pid) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h) return false;
    bool alive = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return alive;
}

bool waitProcessGone(DWORD pid, std::chrono::milliseconds timeout) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h) return true;
    bool gone = WaitForSingleObject(h, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    CloseHandle(h);
    return gone;
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool closeEditor(HWND frame, const Process& p) {
    PostMessageW(frame, WM_CLOSE, 0, 0);
    HWND box = waitForMessageBox(L"(ﾟoﾟ)!　Wavoraを閉じる", p.id);
    if (!box) return false;
    answer(box, IDYES);
    // Each open sound window then asks whether to save it: no.
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
        if (p.waitExit(std::chrono::milliseconds(100))) return true;
        if (HWND save = findWindow(L"#32770", L"閉じる", p.id)) {
            answer(save, IDNO);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
    return false;
}

} // namespace e2e

namespace e2e {

std::string unixPath(const std::filesystem::path& p) {
    std::string s = utf8(p.wstring());
    if (s.size() >= 2 && (s[0] == 'Z' || s[0] == 'z') && s[1] == ':') s.erase(0, 2);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

std::wstring windowsPath(const std::filesystem::path& p) {
    std::wstring w = p.wstring();
    for (wchar_t& c : w)
        if (c == L'/') c = L'\\';
    return w;
}

std::string quoted(const std::filesystem::path& p) { return "'" + unixPath(p) + "'"; }

bool runUnix(const std::string& shellCommand, std::chrono::milliseconds timeout) {
    static int serial = 0;
    const fs::path marker = stageFolder().parent_path() / (L"unix-done-" + std::to_wstring(GetCurrentProcessId()) +
                                                           L"-" + std::to_wstring(++serial));
    std::error_code ec;
    fs::remove(marker, ec);
    // The Unix child must not hold the test runner's pipes open.
    const std::string script =
        "exec </dev/null >/dev/null 2>&1; (" + shellCommand + "); touch " + quoted(marker);
    // Built from UTF-8 so that Japanese names reach the shell intact.
    int n = MultiByteToWideChar(CP_UTF8, 0, script.data(), static_cast<int>(script.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, script.data(), static_cast<int>(script.size()), wide.data(), n);
    std::wstring line = L"Z:\\bin\\sh -c \"" + wide + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (fs::exists(marker, ec)) {
            fs::remove(marker, ec);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

HWND waitForFileDialog(const std::wstring& title, std::chrono::milliseconds timeout) {
    HWND w = waitForWindow(L"#32770", title.c_str(), 0, timeout);
    // The dialog exists before its layout is done; the file-name box comes last.
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (w && !(IsWindowVisible(w) && GetDlgItem(w, 0x47C)) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (w) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return w;
}

void chooseInDialog(HWND dialog, const std::wstring& typed) {
    // The dialog takes no forward slash in a name.
    const std::wstring path = windowsPath(typed);
    SendMessageTimeoutW(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

} // namespace e2e
