// The random user's session: the editor started in its own install folder,
// messages sent to it one at a time, and every modal window that appears
// meanwhile (parameter dialogs, message boxes, the helper's file dialogs, the
// context menu) answered with a random but seeded choice.
#include "RandomUser.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <thread>

namespace rnd {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const wchar_t* const SaveTitle = L"保存先(フォルダ)と名前を決めてください";
const wchar_t* const FrameCloseCaption = L"(ﾟoﾟ)!　Wavoraを閉じる";
const wchar_t* const BottomCaption = L"<(_ _)>戻せません.";
const wchar_t* const SaveQuestionCaption = L"閉じる";
constexpr int GeneralCancelId = 3000;
constexpr int FileNameBox = 0x47C;
constexpr int BoxText = 0xFFFF;

// Replies to the messages the run sends: they come in the order sent, and
// only one is outstanding at a time.
std::uint64_t g_sent = 0, g_replied = 0;

VOID CALLBACK onReply(HWND, UINT, ULONG_PTR serial, LRESULT) {
    if (serial > g_replied) g_replied = serial;
}

std::wstring className(HWND w) {
    wchar_t buf[64] = {};
    GetClassNameW(w, buf, 64);
    return buf;
}

bool visibleChild(HWND parent, int id) {
    HWND c = GetDlgItem(parent, id);
    return c && IsWindowVisible(c);
}

void setText(HWND w, const std::wstring& text) {
    SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 3000, nullptr);
}

DWORD ms() { return GetTickCount(); }

} // namespace

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Rng::below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

bool Rng::chance(double p) { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0) < p; }

RandomUser::RandomUser(std::uint64_t seed, const fs::path& folder, std::FILE* log)
    : rng_(seed), folder_(folder), inputs_(folder / L"入力"), outputs_(folder / L"出力"), log_(log) {}

RandomUser::~RandomUser() { stop(); }

void RandomUser::say(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vfprintf(log_, format, args);
    va_end(args);
    std::fputc('\n', log_);
    std::fflush(log_);
}

bool RandomUser::fail(const std::string& what) {
    if (failure_.what.empty()) failure_.what = "step " + std::to_string(stepNo_) + ": " + what;
    say("FAILURE %s", failure_.what.c_str());
    return false;
}

// Sounds to open, made by sox (a program that knows nothing of ours), and
// files that are no sound at all.
bool RandomUser::prepareFiles() {
    fs::create_directories(inputs_);
    fs::create_directories(outputs_);
    auto sox = [&](const wchar_t* name, const char* spec) {
        return std::string("sox -n ") + spec + " " + e2e::quoted(inputs_ / name) + " synth 0.3 sine 200-1200 sine 330; ";
    };
    std::string make = sox(L"八ビット.wav", "-r 11025 -b 8 -c 1") + sox(L"mono16.wav", "-r 22050 -b 16 -c 1") +
                       sox(L"stereo8.wav", "-r 8000 -b 8 -c 2") + sox(L"stereo16.wav", "-r 44100 -b 16 -c 2") +
                       "sox -n -r 44100 -b 16 -c 2 " + e2e::quoted(inputs_ / L"長すぎ.wav") + " synth 4 noise; " +
                       "head -c 120 " + e2e::quoted(inputs_ / L"mono16.wav") + " > " + e2e::quoted(inputs_ / L"切れた.wav") +
                       "; printf 'not a sound' > " + e2e::quoted(inputs_ / L"text.wav");
    if (!e2e::runUnix(make, 60s) || !fs::exists(inputs_ / L"stereo16.wav")) return fail("sox did not make the input sounds");
    return true;
}

bool RandomUser::start() {
    editor_ = e2e::startEditor(folder_);
    if (!editor_.handle) return fail("the editor does not start");
    frame_ = e2e::waitForWindow(L"NORMAL0", L"Wavora", editor_.id, 30s);
    if (!frame_) return fail("no frame window appeared");
    HWND helper = e2e::waitForWindow(L"ModelApp", L"圧縮ファイルBMP変換だぞ", 0, 15s);
    helperPid_ = helper ? e2e::processOf(helper) : 0;
    client_ = FindWindowExW(frame_, nullptr, L"MDICLIENT", nullptr);
    tools_ = e2e::waitForWindow(L"TBWindow", nullptr, editor_.id, 10s);
    if (!client_ || !tools_ || !helperPid_) return fail("the frame came up without its client, tool window or helper");
    closing_ = false;
    tracked_.clear();
    answered_.clear();
    infoTimes_.clear();
    say("started the editor (process %lu, helper %lu)", editor_.id, helperPid_);
    return true;
}

void RandomUser::stop() {
    if (editor_.handle && editor_.running()) {
        closing_ = true;
        if (!e2e::closeEditor(frame_, editor_)) editor_.kill();
    }
    if (helperPid_ && e2e::processAlive(helperPid_) && !e2e::waitProcessGone(helperPid_, 5s)) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, helperPid_)) {
            TerminateProcess(h, 1);
            CloseHandle(h);
        }
    }
    if (editor_.handle) CloseHandle(editor_.handle);
    editor_ = {};
}

bool RandomUser::alive(const char* where) {
    if (!editor_.running()) return closing_ ? true : fail(std::string("the editor ended during ") + where);
    if (helperPid_ && !e2e::processAlive(helperPid_) && !closing_)
        return fail(std::string("the helper Pictra ended during ") + where);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(frame_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) {
        if (!IsWindow(frame_) && closing_) return true;
        if (!editor_.running()) return closing_ ? true : fail(std::string("the editor ended during ") + where);
        return fail(std::string("the editor did not answer within 5 s during ") + where);
    }
    return true;
}

bool RandomUser::send(HWND target, UINT message, WPARAM wParam, LPARAM lParam, const char* what) {
    const std::uint64_t serial = ++g_sent;
    if (!SendMessageCallbackW(target, message, wParam, lParam, onReply, static_cast<ULONG_PTR>(serial)))
        return IsWindow(target) ? fail(std::string("cannot send ") + what) : true;
    const auto begin = Clock::now();
    auto ping = begin, goneSince = Clock::time_point{};
    while (g_replied < serial) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (g_replied >= serial) break;
        if (!editor_.running()) return closing_ ? true : fail(std::string("the editor ended (crashed) during ") + what);
        if (!serveModals()) return false;
        const auto now = Clock::now();
        // A window closed before it took the message never replies.
        if (!IsWindow(target)) {
            if (goneSince == Clock::time_point{}) goneSince = now;
            else if (now - goneSince > 3s) break;
        }
        if (now - ping > 1s) {
            if (!alive(what)) return false;
            ping = now;
        }
        if (now - begin > 120s) return fail(std::string("no end after 120 s of ") + what);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
    return alive(what);
}

// One pass over the top-level windows of the two programs; each modal window
// that is ready gets one answer. Message boxes go first: while one is open
// its dialog must wait.
bool RandomUser::serveModals() {
    struct Found {
        std::vector<HWND> boxes, dialogs, files, menus, patterns;
        DWORD editor, helper;
    } f{{}, {}, {}, {}, {}, editor_.id, helperPid_};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Found*>(lp);
            const DWORD pid = e2e::processOf(w);
            if ((pid != f->editor && pid != f->helper) || !IsWindowVisible(w)) return TRUE;
            const std::wstring cls = className(w);
            if (cls == L"#32768" && pid == f->editor) f->menus.push_back(w);
            else if (cls == L"#32770" && GetDlgItem(w, BoxText)) f->boxes.push_back(w);
            else if (cls == L"#32770" && GetDlgItem(w, FileNameBox)) f->files.push_back(w);
            else if (cls == L"NORMALDLG" && GetDlgItem(w, GeneralCancelId)) f->dialogs.push_back(w);
            else if (cls == L"HakeiPat" && pid == f->editor) f->patterns.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    const DWORD now = ms();
    auto ready = [&](HWND w, DWORD settle) {
        Answered& a = answered_[w];
        if (a.firstSeen == 0) a.firstSeen = now;
        return now - a.firstSeen >= settle && (a.count == 0 || now - a.last >= 800);
    };
    for (HWND box : f.boxes)
        if (ready(box, 80) && !serveMessageBox(box)) return false;
    // A box still there after its answer belongs to a call that waits for a
    // window further in: a message sent to the editor while the box was up
    // (a close) may have led to the helper's file dialog, and only that
    // dialog's answer lets the box go. Only boxes not yet answered hold the
    // other windows back.
    const bool unanswered = std::any_of(f.boxes.begin(), f.boxes.end(), [&](HWND b) { return answered_[b].count == 0; });
    if (unanswered) return true;
    for (HWND menu : f.menus)
        if (ready(menu, 150) && !servePopupMenu(menu)) return false;
    for (HWND file : f.files)
        if (IsWindowEnabled(file) && ready(file, 300) && !serveFileDialog(file)) return false;
    for (HWND dialog : f.dialogs)
        if (IsWindowEnabled(dialog) && visibleChild(dialog, IDOK) && ready(dialog, 120) && !serveGeneralDialog(dialog))
            return false;
    for (HWND pattern : f.patterns)
        if (IsWindowEnabled(pattern) && ready(pattern, 300)) servePatternWindow(pattern);
    return true;
}

bool RandomUser::serveMessageBox(HWND box) {
    Answered& a = answered_[box];
    const std::wstring caption = e2e::windowText(box);
    const std::wstring text = e2e::messageBoxText(box);
    std::vector<int> buttons;
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL})
        if (visibleChild(box, id)) buttons.push_back(id);
    if (buttons.empty()) return true;
    int choice = buttons[static_cast<std::size_t>(rng_.below(static_cast<int>(buttons.size())))];
    auto has = [&](int id) { return std::find(buttons.begin(), buttons.end(), id) != buttons.end(); };
    if (caption == BottomCaption) sawBottom_ = true;
    if (caption == FrameCloseCaption) choice = closing_ ? IDYES : IDNO;
    else if (caption == SaveQuestionCaption && (closing_ || verifying_)) choice = IDNO;
    else if (caption == SaveQuestionCaption) choice = rng_.chance(0.3) ? IDYES : IDNO;
    else if (verifying_ && has(IDNO)) choice = IDNO;
    else if (verifying_ && has(IDOK)) choice = IDOK;
    if (a.count >= 3 && has(IDCANCEL)) choice = IDCANCEL;
    say("  box [%s] \"%s\" -> %d", e2e::utf8(caption).c_str(), e2e::utf8(text.substr(0, 80)).c_str(), choice);
    ++counts_["message box " + e2e::utf8(caption)];
    e2e::answer(box, choice);
    a.count++;
    a.last = ms();
    return true;
}

// The pattern window: a few strokes drawn in it, then closed.
void RandomUser::servePatternWindow(HWND window) {
    Answered& a = answered_[window];
    const int strokes = a.count >= 2 ? 0 : rng_.below(3);
    say("  pattern window: %d strokes, close", strokes);
    ++counts_["pattern window"];
    for (int i = 0; i < strokes; ++i) {
        LPARAM at = MAKELPARAM(rng_.between(0, 700), rng_.between(0, 300));
        SendMessageTimeoutW(window, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 5000, nullptr);
        for (int m = 0; m < 4; ++m) {
            at = MAKELPARAM(rng_.between(0, 700), rng_.between(0, 300));
            SendMessageTimeoutW(window, WM_MOUSEMOVE, MK_LBUTTON, at, SMTO_NORMAL, 5000, nullptr);
        }
        SendMessageTimeoutW(window, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 5000, nullptr);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    a.count++;
    a.last = ms();
}

bool RandomUser::servePopupMenu(HWND menu) {
    Answered& a = answered_[menu];
    const bool escape = a.count >= 2 || rng_.chance(0.25);
    const int downs = rng_.below(7);
    say("  context menu: %s", escape ? "Escape" : ("down " + std::to_string(downs) + ", Enter").c_str());
    ++counts_[escape ? "context menu dismissed" : "context menu item"];
    if (!escape)
        for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, escape ? VK_ESCAPE : VK_RETURN, 0);
    a.count++;
    a.last = ms();
    return true;
}

bool RandomUser::serveFileDialog(HWND dialog) {
    Answered& a = answered_[dialog];
    const bool save = e2e::windowText(dialog) == SaveTitle;
    const bool cancel = verifying_ || closing_ || a.count >= 3 || rng_.chance(save ? 0.25 : 0.2);
    a.count++;
    a.last = ms();
    if (cancel) {
        say("  %s dialog: cancel", save ? "save" : "open");
        ++counts_[save ? "save dialog cancelled" : "open dialog cancelled"];
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    static const wchar_t* const opens[] = {L"八ビット.wav", L"mono16.wav", L"stereo8.wav", L"stereo16.wav",
                                           L"長すぎ.wav",   L"切れた.wav", L"text.wav",    L"無い.wav"};
    static const wchar_t* const saves[] = {L"a.wav", L"b.wav", L"保存.wav", L"拡張子なし"};
    const fs::path chosen = save ? outputs_ / saves[rng_.below(4)] : inputs_ / opens[rng_.below(8)];
    say("  %s dialog: %s", save ? "save" : "open", e2e::utf8(chosen.filename().wstring()).c_str());
    ++counts_[save ? "save dialog chose a file" : "open dialog chose a file"];
    e2e::chooseInDialog(dialog, chosen.wstring());
    return true;
}

// Typed answers: what the row already holds, numbers inside and outside its
// range, and text that is no number at all.
bool RandomUser::serveGeneralDialog(HWND dialog) {
    Answered& a = answered_[dialog];
    std::vector<int> edits, checks, radios;
    for (int r = 1; r <= 13; ++r) {
        if (visibleChild(dialog, 200 + r)) edits.push_back(r);
        if (visibleChild(dialog, 400 + r)) checks.push_back(r);
        if (visibleChild(dialog, 500 + r)) radios.push_back(r);
    }
    if (a.count == 0)
        for (int r : edits) a.defaults[r] = e2e::windowText(GetDlgItem(dialog, 200 + r));
    const std::wstring caption = e2e::windowText(dialog);
    std::string typed;
    bool cancel = verifying_ || a.count >= 3 || rng_.chance(0.15);
    if (!cancel && a.count == 1) {
        // After a refusal the user puts the defaults back.
        for (auto& [r, text] : a.defaults) setText(GetDlgItem(dialog, 200 + r), text);
        typed = " defaults again";
    } else if (!cancel && a.count == 2) {
        // The defaults themselves may be out of range: every row with a spin
        // button gets a number inside its range.
        for (int r : edits) {
            HWND spin = GetDlgItem(dialog, 300 + r);
            if (!spin || !IsWindowVisible(spin)) continue;
            DWORD_PTR range = 0;
            SendMessageTimeoutW(spin, UDM_GETRANGE, 0, 0, SMTO_NORMAL, 3000, &range);
            const int hi = static_cast<short>(LOWORD(range)), lo = static_cast<short>(HIWORD(range));
            const std::wstring v = std::to_wstring(lo <= hi ? rng_.between(lo, hi) : lo);
            setText(GetDlgItem(dialog, 200 + r), v);
            typed += " row" + std::to_string(r) + "=\"" + e2e::utf8(v) + "\"";
        }
    } else if (!cancel && rng_.chance(0.55)) {
        static const wchar_t* const odd[] = {L"0",     L"-1",   L"1",          L"2",   L"10",  L"100",
                                             L"1000",  L"44100", L"99999999",  L"-99999", L"0.5", L"1e3",
                                             L"abc",   L"",     L"  7",        L"３",  L"-0",  L"123456789012345678901"};
        for (int r : edits) {
            if (!rng_.chance(0.35)) continue;
            std::wstring v;
            HWND spin = GetDlgItem(dialog, 300 + r);
            if (spin && IsWindowVisible(spin) && rng_.chance(0.5)) {
                DWORD_PTR range = 0;
                SendMessageTimeoutW(spin, UDM_GETRANGE, 0, 0, SMTO_NORMAL, 3000, &range);
                const int hi = static_cast<short>(LOWORD(range)), lo = static_cast<short>(HIWORD(range));
                v = std::to_wstring(lo <= hi ? rng_.between(lo, hi) : lo);
            } else {
                v = odd[rng_.below(static_cast<int>(std::size(odd)))];
            }
            setText(GetDlgItem(dialog, 200 + r), v);
            typed += " row" + std::to_string(r) + "=\"" + e2e::utf8(v) + "\"";
        }
        for (int r : checks)
            if (rng_.chance(0.25)) {
                HWND c = GetDlgItem(dialog, 400 + r);
                DWORD_PTR state = 0;
                SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_NORMAL, 3000, &state);
                SendMessageTimeoutW(c, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0, SMTO_NORMAL,
                                    3000, nullptr);
                typed += " check" + std::to_string(r);
            }
        if (!radios.empty() && rng_.chance(0.3)) {
            const int pick = radios[static_cast<std::size_t>(rng_.below(static_cast<int>(radios.size())))];
            for (int r : radios)
                SendMessageTimeoutW(GetDlgItem(dialog, 500 + r), BM_SETCHECK, r == pick ? BST_CHECKED : BST_UNCHECKED, 0,
                                    SMTO_NORMAL, 3000, nullptr);
            typed += " radio" + std::to_string(pick);
        }
    }
    a.count++;
    a.last = ms();
    say("  dialog \"%s\":%s -> %s", e2e::utf8(caption).c_str(), typed.c_str(), cancel ? "Cancel" : "OK");
    ++counts_[cancel ? "dialog cancelled" : "dialog OK"];
    if (cancel) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GeneralCancelId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, GeneralCancelId)));
    } else if (!edits.empty() && rng_.chance(0.1)) {
        // Enter in an edit box presses OK.
        PostMessageW(GetDlgItem(dialog, 200 + edits.front()), WM_KEYDOWN, VK_RETURN, 0);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
    return true;
}

} // namespace rnd
