// The random user's steps and its undo check.
#include "RandomUser.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace rnd {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int UndoCommand = 1212, RedoCommand = 1222, StopCommand = 1227;
constexpr int ResetVolumeCommand = 1220, ResetPitchCommand = 1221;

struct Weighted {
    int id;
    int weight;
    bool changes; // may record an undo step of the active sound
};

// Every command of the menu bar (the web page of 1267 aside: it would start a
// browser), weighted towards what a user does most.
const Weighted kCommands[] = {
    {1001, 6, false}, {1003, 3, false}, {1270, 2, false}, {1207, 2, true},  {1002, 1, false}, {1212, 8, false}, {1222, 5, false},
    {1220, 2, true},  {1221, 2, true},  {1205, 2, false}, {1214, 2, true},  {1208, 2, true},  {1248, 2, true},
    {1252, 2, true},  {1211, 2, true},  {1213, 2, true},  {1217, 2, true},  {1251, 2, true},  {1253, 2, true},
    {1225, 2, true},  {1241, 2, true},  {1244, 1, true},  {1262, 2, true},  {1263, 2, true},  {1206, 1, false},
    {1239, 2, true},  {1242, 2, true},  {1261, 2, true},  {1255, 2, true},  {1256, 1, false}, {1257, 1, false},
    {1260, 1, false}, {1243, 1, true},  {1101, 3, true},  {1224, 2, true},  {1226, 2, true},  {1228, 2, true},
    {1230, 2, true},  {1231, 2, true},  {1223, 2, true},  {1102, 1, true},  {1203, 1, false}, {1204, 1, true},
    {1201, 3, true},  {1238, 1, true},  {1227, 3, false}, {1258, 1, false}, {1259, 1, false}, {1215, 1, true},
    {1216, 2, true},  {1240, 2, true},  {1232, 2, true},  {1233, 1, true},  {1234, 1, true},  {1235, 2, true},
    {1249, 2, true},  {1210, 1, false}, {1250, 1, false}, {1265, 1, false},
    {1280, 1, false}, {1281, 1, false}, {1282, 1, false}, {1283, 1, false}, {1284, 1, false}, {1285, 1, false},
    {1286, 1, false}, {1287, 1, false}, {1288, 2, true},  {1289, 2, true},
};

FILETIME writeTime(const fs::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return {};
    return data.ftLastWriteTime;
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::string formatOf(const std::string& info) {
    return info.size() >= 53 ? info.substr(5, 4) + info.substr(41, 12) : std::string();
}

// Where two byte strings first differ, for the report.
std::string firstDifference(const std::string& want, const std::string& got) {
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    return "lengths " + std::to_string(want.size()) + "/" + std::to_string(got.size()) + ", first difference at byte " +
           std::to_string(i);
}

} // namespace

fs::path RandomUser::undoFile(const wchar_t* kind, int first, int second) const {
    wchar_t name[64];
    swprintf(name, 64, L"UnDo_%ls_%02d_%02d.txt", kind, first, second);
    return folder_ / L"WavoraUnDo" / name;
}

std::vector<HWND> RandomUser::soundWindows() const {
    std::vector<HWND> out;
    for (HWND w = FindWindowExW(client_, nullptr, L"document", nullptr); w;
         w = FindWindowExW(client_, w, L"document", nullptr))
        out.push_back(w);
    return out;
}

HWND RandomUser::activeSoundWindow() const {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(client_, WM_MDIGETACTIVE, 0, 0, SMTO_NORMAL, 5000, &r);
    return reinterpret_cast<HWND>(r);
}

HWND RandomUser::pickSoundWindow() {
    std::vector<HWND> all = soundWindows();
    if (all.empty()) return nullptr;
    HWND active = activeSoundWindow();
    if (active && rng_.chance(0.7)) return active;
    return all[static_cast<std::size_t>(rng_.below(static_cast<int>(all.size())))];
}

void RandomUser::countChange(HWND w, int n) {
    for (Tracked& t : tracked_)
        if (t.window == w) t.changes += n;
}

// A window that appeared in this step was just created: the oldest undo
// record of its slot written in this step is how it was created (a command
// that makes a window and then fills it, as reading a memo does, leaves later
// records too; records of the slot's earlier sound are older than the step).
void RandomUser::noteNewWindows() {
    std::vector<HWND> now = soundWindows();
    std::erase_if(tracked_, [&](const Tracked& t) { return std::find(now.begin(), now.end(), t.window) == now.end(); });
    std::vector<int> changed;
    std::map<int, FILETIME> times;
    for (int slot = 0; slot < 5; ++slot) {
        times[slot] = writeTime(undoFile(L"Info", slot, 0));
        auto old = infoTimes_.find(slot);
        if (times[slot].dwHighDateTime != 0 && (old == infoTimes_.end() || !sameTime(old->second, times[slot])))
            changed.push_back(slot);
    }
    const std::map<int, FILETIME> previous = infoTimes_;
    infoTimes_ = times;
    for (HWND w : now) {
        if (std::any_of(tracked_.begin(), tracked_.end(), [&](const Tracked& t) { return t.window == w; })) continue;
        Tracked t;
        t.window = w;
        t.budget = rng_.between(4, 14);
        if (changed.size() == 1) {
            t.slot = changed.front();
            const auto before = previous.find(t.slot);
            int oldest = 0;
            while (oldest < 40) {
                const FILETIME next = writeTime(undoFile(L"Info", t.slot, oldest + 1));
                if (next.dwHighDateTime == 0) break;
                if (before != previous.end() && CompareFileTime(&next, &before->second) <= 0) break;
                ++oldest;
            }
            t.samples = e2e::readBytes(undoFile(L"Nami", t.slot, oldest));
            t.volume = e2e::readBytes(undoFile(L"Vol", t.slot, oldest));
            t.pitch = e2e::readBytes(undoFile(L"Hz", t.slot, oldest));
            t.format = formatOf(e2e::readBytes(undoFile(L"Info", t.slot, oldest)));
        }
        say("  new sound window \"%s\" in slot %d (%zu bytes)", e2e::utf8(e2e::windowText(w)).c_str(), t.slot,
            t.samples.size());
        ++counts_[t.slot >= 0 ? "sound windows made" : "sound windows whose slot was not told"];
        tracked_.push_back(std::move(t));
    }
}

// Undo until the editor says there is nothing more to undo; the sound must
// then be exactly as it was made. Two snapshots taken at the bottom write its
// samples and both graphs where they can be compared: resetting the pitch
// graph records the samples and the volume graph, and after undoing that,
// resetting the volume graph records the pitch graph.
bool RandomUser::checkWindow(Tracked& t, const char* why) {
    if (t.slot < 0 || !IsWindow(t.window)) return true;
    verifying_ = true;
    say("  check slot %d (%s, up to %d changes)", t.slot, why, t.changes);
    bool ok = send(frame_, WM_COMMAND, StopCommand, 0, "stop before the check") &&
              send(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(t.window), 0, "activate for the check");
    if (ok && activeSoundWindow() != t.window) ok = fail("the checked window did not become active");
    // The eraser (and a pasted copy of a layer) change a sound without an undo
    // step of their own; a step of the check's own first makes the undos below
    // read the start back from its record even then.
    ok = ok && send(frame_, WM_COMMAND, ResetPitchCommand, 0, "a step before the check");
    sawBottom_ = false;
    int undos = 0;
    while (ok && !sawBottom_ && undos < 30) {
        ok = send(frame_, WM_COMMAND, UndoCommand, 0, "undo of the check");
        ++undos;
    }
    if (ok && !sawBottom_) ok = fail("30 undos did not come to the start of the sound");
    auto same = [&](const wchar_t* kind, const std::string& want, const char* name) {
        const std::string got = e2e::readBytes(undoFile(kind, t.slot, 0));
        if (got == want) return true;
        return fail(std::string("after ") + std::to_string(undos - 1) + " undos the " + name + " of slot " +
                    std::to_string(t.slot) + " is not as created: " + firstDifference(want, got));
    };
    ok = ok && send(frame_, WM_COMMAND, ResetPitchCommand, 0, "pitch reset of the check") &&
         same(L"Nami", t.samples, "samples") && same(L"Vol", t.volume, "volume graph");
    if (ok && formatOf(e2e::readBytes(undoFile(L"Info", t.slot, 0))) != t.format)
        ok = fail("after undoing, the length or format of slot " + std::to_string(t.slot) + " is not as created");
    ok = ok && send(frame_, WM_COMMAND, UndoCommand, 0, "undo of the pitch reset") &&
         send(frame_, WM_COMMAND, ResetVolumeCommand, 0, "volume reset of the check") &&
         same(L"Nami", t.samples, "samples") && same(L"Hz", t.pitch, "pitch graph");
    verifying_ = false;
    if (!ok) return false;
    // The check's own records are not a new window's: the next look for new
    // windows must not see this slot as changed by them.
    infoTimes_[t.slot] = writeTime(undoFile(L"Info", t.slot, 0));
    ++checks_;
    undone_ += undos - 1;
    t.changes = 1;
    t.budget = rng_.between(4, 14);
    ++counts_["undo checks passed"];
    return true;
}

bool RandomUser::checkDue() {
    for (Tracked& t : tracked_)
        if (t.slot >= 0 && t.changes >= t.budget && !checkWindow(t, "due")) return false;
    return true;
}

bool RandomUser::menuCommand() {
    int total = 0;
    for (const Weighted& c : kCommands) total += c.weight;
    int pick = rng_.below(total);
    const Weighted* chosen = &kCommands[0];
    for (const Weighted& c : kCommands) {
        if (pick < c.weight) {
            chosen = &c;
            break;
        }
        pick -= c.weight;
    }
    // With no sound, a user mostly makes one.
    if (soundWindows().empty() && rng_.chance(0.7)) chosen = rng_.chance(0.7) ? &kCommands[0] : &kCommands[1];
    say("step %d: command %d", stepNo_, chosen->id);
    ++counts_["command " + std::to_string(chosen->id)];
    if (chosen->changes) countChange(activeSoundWindow(), 1);
    return send(frame_, WM_COMMAND, static_cast<WPARAM>(chosen->id), 0, "a menu command");
}

bool RandomUser::toolButton() {
    const int id = 5001 + rng_.below(16);
    say("step %d: tool button %d", stepNo_, id);
    ++counts_["tool button " + std::to_string(id)];
    countChange(activeSoundWindow(), 1);
    return send(tools_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0, "a tool button");
}

bool RandomUser::mouseAction() {
    HWND w = pickSoundWindow();
    if (!w) return menuCommand();
    if (IsIconic(w) && !send(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(w), 0, "restore")) return false;
    // Often with a tool chosen first, so that every tool meets every band.
    if (rng_.chance(0.35)) {
        const int tool = 5004 + rng_.below(7);
        say("step %d: tool %d", stepNo_, tool);
        if (!send(tools_, WM_COMMAND, MAKEWPARAM(tool, BN_CLICKED), 0, "a tool")) return false;
    }
    RECT rc{};
    GetClientRect(w, &rc);
    const int cw = std::max<int>(rc.right, 1), ch = std::max<int>(rc.bottom, 1);
    auto point = [&] {
        int x = rng_.chance(0.85) ? 200 + rng_.below(std::max(cw - 200, 1)) : rng_.below(200);
        int y = rng_.below(ch);
        if (rng_.chance(0.05)) x = rng_.between(-50, cw + 50), y = rng_.between(-50, ch + 50);
        return MAKELPARAM(x, y);
    };
    countChange(w, 2);
    const int kind = rng_.below(100);
    LPARAM at = point();
    if (kind < 65) {
        const int moves = rng_.between(1, 8);
        say("step %d: drag in \"%s\" from (%d,%d), %d moves", stepNo_, e2e::utf8(e2e::windowText(w)).c_str(),
            GET_X_LPARAM(at), GET_Y_LPARAM(at), moves);
        ++counts_["mouse drag"];
        if (!send(w, WM_LBUTTONDOWN, MK_LBUTTON, at, "a left press")) return false;
        for (int i = 0; i < moves; ++i) {
            const int x = GET_X_LPARAM(at) + rng_.between(-120, 160), y = GET_Y_LPARAM(at) + rng_.between(-60, 60);
            at = rng_.chance(0.2) ? point() : MAKELPARAM(x, y);
            if (!send(w, WM_MOUSEMOVE, MK_LBUTTON, at, "a drag")) return false;
        }
        return send(w, WM_LBUTTONUP, 0, at, "a left release");
    }
    if (kind < 80) {
        say("step %d: click at (%d,%d)", stepNo_, GET_X_LPARAM(at), GET_Y_LPARAM(at));
        ++counts_["mouse click"];
        return send(w, WM_LBUTTONDOWN, MK_LBUTTON, at, "a left press") && send(w, WM_LBUTTONUP, 0, at, "a left release");
    }
    if (kind < 95) {
        say("step %d: right click at (%d,%d)", stepNo_, GET_X_LPARAM(at), GET_Y_LPARAM(at));
        ++counts_["right click"];
        return send(w, WM_RBUTTONDOWN, MK_RBUTTON, at, "a right press") && send(w, WM_RBUTTONUP, 0, at, "a right release");
    }
    const int delta = 120 * rng_.between(-5, 5);
    say("step %d: wheel %d", stepNo_, delta);
    ++counts_["mouse wheel"];
    return send(w, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), at, "the wheel");
}

bool RandomUser::keyAction() {
    HWND w = pickSoundWindow();
    if (!w) return menuCommand();
    static const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'A', VK_SPACE, VK_DELETE};
    const int key = keys[rng_.below(static_cast<int>(std::size(keys)))];
    say("step %d: key %d", stepNo_, key);
    ++counts_["key " + std::to_string(key)];
    countChange(w, 1);
    return send(w, WM_KEYDOWN, static_cast<WPARAM>(key), 1, "a key") && send(w, WM_KEYUP, static_cast<WPARAM>(key), 1, "a key");
}

bool RandomUser::scrollAction() {
    HWND w = pickSoundWindow();
    if (!w) return menuCommand();
    const bool horizontal = rng_.chance(0.5);
    static const int codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK, SB_ENDSCROLL};
    const int code = codes[rng_.below(7)];
    say("step %d: %s scroll %d", stepNo_, horizontal ? "horizontal" : "vertical", code);
    ++counts_[horizontal ? "horizontal scroll" : "vertical scroll"];
    return send(w, horizontal ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, rng_.below(2000)), 0, "a scroll");
}

bool RandomUser::windowAction() {
    std::vector<HWND> all = soundWindows();
    HWND w = pickSoundWindow();
    const int kind = rng_.below(9);
    say("step %d: window action %d", stepNo_, kind);
    ++counts_["window action " + std::to_string(kind)];
    switch (kind) {
    case 0:
    case 1: return !w || send(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0, "activation");
    case 2: return send(client_, WM_MDINEXT, 0, rng_.below(2), "next window");
    case 3: return !w || send(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(w), 0, "maximise");
    case 4: return !w || send(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(w), 0, "restore");
    case 5: return !w || send(w, WM_SYSCOMMAND, SC_MINIMIZE, 0, "minimise");
    case 6: return send(client_, rng_.chance(0.5) ? WM_MDICASCADE : WM_MDITILE, 0, 0, "arrange");
    case 7: {
        // The frame resized as a user drags its border, now and then smaller than allowed.
        const int width = rng_.between(600, 1250), height = rng_.between(400, 1000);
        SetWindowPos(frame_, nullptr, rng_.between(0, 40), rng_.between(0, 40), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return alive("a frame resize");
    }
    default: {
        // The help window, when it was opened, is closed again.
        HWND help = e2e::findWindow(L"NORMAL6", nullptr, editor_.id);
        return !help || !IsWindowVisible(help) || send(help, WM_CLOSE, 0, 0, "closing the help window");
    }
    }
}

bool RandomUser::closeSoundWindow() {
    HWND w = pickSoundWindow();
    if (!w) return menuCommand();
    for (Tracked& t : tracked_)
        if (t.window == w && rng_.chance(0.3) && !checkWindow(t, "before closing")) return false;
    say("step %d: close \"%s\"", stepNo_, e2e::utf8(e2e::windowText(w)).c_str());
    ++counts_["sound window closed"];
    return send(w, WM_CLOSE, 0, 0, "closing a sound window");
}

// The whole editor closed with "はい": every sound is checked first, then the
// editor must end, take its undo folder with it, and start again.
bool RandomUser::closeEditor() {
    for (Tracked& t : tracked_)
        if (!checkWindow(t, "before the editor closes")) return false;
    say("step %d: close the editor", stepNo_);
    ++counts_["editor closed"];
    closing_ = true;
    if (!send(frame_, WM_CLOSE, 0, 0, "closing the editor")) return false;
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (editor_.running() && std::chrono::steady_clock::now() < end) {
        if (!serveModals()) return false;
        std::this_thread::sleep_for(50ms);
    }
    if (editor_.running()) return fail("the editor did not end after its close was answered with はい");
    DWORD code = 0;
    GetExitCodeProcess(editor_.handle, &code);
    if (code != 0) return fail("the editor ended with exit code " + std::to_string(code));
    if (!e2e::waitProcessGone(helperPid_, 10s)) return fail("the helper did not end with the editor");
    if (fs::exists(folder_ / L"WavoraUnDo")) return fail("the undo folder is still there after the editor ended");
    CloseHandle(editor_.handle);
    editor_ = {};
    return true;
}

bool RandomUser::step(int n) {
    stepNo_ = n;
    if (!editor_.handle) {
        ++restarts_;
        if (!start()) return false;
    }
    const int roll = rng_.below(1000);
    bool ok;
    if (roll < 400) ok = menuCommand();
    else if (roll < 620) ok = mouseAction();
    else if (roll < 700) ok = toolButton();
    else if (roll < 790) ok = keyAction();
    else if (roll < 870) ok = windowAction();
    else if (roll < 940) ok = scrollAction();
    else if (roll < 995) ok = closeSoundWindow();
    else ok = closeEditor();
    if (!ok) return false;
    if (!editor_.handle) return true;
    noteNewWindows();
    return checkDue();
}

bool RandomUser::run(int steps) {
    if (!prepareFiles() || !start()) return false;
    noteNewWindows();
    for (int n = 1; n <= steps; ++n) {
        if (!step(n)) return false;
        if (n % 100 == 0) {
            std::printf("random-user: %d steps\n", n);
            std::fflush(stdout);
        }
    }
    // At the end every sound goes back to its start, and the editor closes.
    stepNo_ = steps + 1;
    if (!editor_.handle) return true;
    for (Tracked& t : tracked_)
        if (!checkWindow(t, "at the end")) return false;
    return closeEditor();
}

} // namespace rnd
