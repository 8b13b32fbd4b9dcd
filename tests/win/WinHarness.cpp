#include "WinHarness.h"

#include "core/WinText.h"

namespace wintest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string utf8(const std::wstring& w) { return wavora::narrow(w); }
std::wstring wide(const std::string& s) { return wavora::widen(s); }

std::wstring textOf(HWND w) {
    wchar_t buf[4096] = {};
    SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

void pump(std::chrono::milliseconds duration, const std::function<bool()>& done) {
    auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue; // the editor's own end; the test decides when to stop
            wavora::handleMessage(msg);           // as the editor's own loop does
        }
        if (done && done()) return;
        Sleep(5);
    }
}

namespace {
struct Find {
    const wchar_t* cls;
    const wchar_t* title;
    HWND found;
};
BOOL CALLBACK findProc(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    if (std::wstring(cls) != f->cls) return TRUE;
    if (f->title && textOf(w) != f->title) return TRUE;
    f->found = w;
    return FALSE;
}
} // namespace

namespace {

// A common file dialog of the helper's process, by its title.
HWND helperDialog(const std::wstring& title) {
    struct Find {
        const std::wstring* title;
        HWND found = nullptr;
    } f{&title};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* find = reinterpret_cast<Find*>(lp);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (std::wstring(cls) != L"#32770" || textOf(w) != *find->title || !IsWindowVisible(w) ||
                !GetDlgItem(w, 0x47C))
                return TRUE;
            find->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

} // namespace

std::thread answerFileDialog(const std::wstring& title, const fs::path& file) {
    return std::thread([title, file] {
        std::wstring path = file.wstring();
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\'; // the dialog takes no forward slash
        for (int i = 0; i < 300; ++i, Sleep(50))
            if (HWND d = helperDialog(title)) {
                Sleep(300); // its layout is done a moment after it shows
                SendMessageTimeoutW(GetDlgItem(d, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                    SMTO_ABORTIFHUNG, 2000, nullptr);
                PostMessageW(d, WM_COMMAND, IDOK, 0);
                return;
            }
    });
}

HWND findOwnWindow(const wchar_t* cls, const wchar_t* title) {
    Find f{cls, title, nullptr};
    EnumWindows(findProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

BoxAnswerer::BoxAnswerer(Rule rule) : rule_(std::move(rule)), thread_([this] { run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> BoxAnswerer::seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void BoxAnswerer::run() {
    while (!stop_) {
        HWND box = findOwnWindow(L"#32770");
        if (box && IsWindowVisible(box)) {
            std::lock_guard<std::mutex> lock(mutex_);
            bool known = false;
            for (HWND a : answered_) known = known || a == box;
            if (!known) {
                SeenBox s{utf8(textOf(box)), utf8(textOf(GetDlgItem(box, 0xFFFF)))};
                seen_.push_back(s);
                answered_.push_back(box);
                int answer = rule_ ? rule_(s.caption, s.text) : GetDlgItem(box, IDNO) ? IDNO : IDOK;
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
            }
        }
        Sleep(20);
    }
}

bool whileWindowOpen(const wchar_t* cls, const wchar_t* title, const std::function<void()>& trigger,
                     const std::function<void(HWND)>& action, std::chrono::milliseconds timeout) {
    std::atomic<bool> seen{false};
    std::thread helper([&] {
        auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (HWND w = findOwnWindow(cls, title); w && IsWindowVisible(w)) {
                Sleep(100); // let the window finish its layout
                seen = true;
                action(w);
                return;
            }
            Sleep(20);
        }
    });
    trigger();
    helper.join();
    return seen;
}

void EditorTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    wchar_t stage[2048] = {};
    DWORD n = GetEnvironmentVariableW(L"WAVORA_STAGE", stage, 2048);
    std::wstring stagePath = n ? std::wstring(stage, n) : L"stage";
    if (!stagePath.empty() && stagePath[0] == L'/') stagePath = L"Z:" + stagePath;
    folder = fs::path(stagePath).parent_path() / L"win-work" / wide(std::string(info->test_suite_name()) + "." +
                                                                     info->name());
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    fs::copy(fs::path(stagePath) / L"Wavora部品", folder / L"Wavora部品", fs::copy_options::recursive);
    boxes = std::make_unique<BoxAnswerer>();
    ASSERT_NE(wavora::startEditor(GetModuleHandleW(nullptr), folder), nullptr);
    pump(200ms);
}

void EditorTest::TearDown() {
    boxes.reset();
    if (frame() && IsWindow(frame())) {
        // Yes to closing, but no to saving each sound window: a save would
        // wait in the helper's dialog with nobody there to answer it.
        BoxAnswerer yes([](const std::string& caption, const std::string&) { return caption == "閉じる" ? IDNO : IDYES; });
        PostMessageW(frame(), WM_CLOSE, 0, 0);
        pump(10s, [this] { return !frame() || !IsWindow(frame()); });
    }
    wavora::finishEditor();
    wavora::app().frame = nullptr;
}

void EditorTest::command(int id) { SendMessageW(frame(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

} // namespace wintest
