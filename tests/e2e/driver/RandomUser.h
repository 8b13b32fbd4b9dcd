#pragma once
// The random user: drives the real editor under Wine with a long random
// sequence of menu commands, dialog answers, mouse drags, keys, window
// switches and closes, all drawn from one seed so that a failure comes back
// from the same seed. Every step ends with the editor answering within a few
// seconds; every sound it made is undone back to how it was created and
// compared with the first undo record the editor wrote for it.
#include "Driver.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace rnd {

// The run's own generator (splitmix64): the same seed gives the same choices
// with any compiler and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    int below(int n); // 0 .. n-1
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p);

private:
    std::uint64_t state_;
};

// What went wrong, with the step it went wrong at.
struct Failure {
    std::string what;
};

// A sound window the run made, with the first undo record of its slot copied
// at creation: undoing everything must bring exactly these bytes back.
struct Tracked {
    HWND window = nullptr;
    int slot = -1;                  // -1: its slot could not be told, not checked
    std::string samples, volume, pitch;
    std::string format;             // DataLen, Channels, BitsParSample, SRATE of the record
    int changes = 0;                // steps that may have recorded an undo step since the last check
    int budget = 0;                 // checked again when `changes` reaches it
};

// A modal window seen by the run: when, and how often it was answered.
struct Answered {
    DWORD firstSeen = 0, last = 0;
    int count = 0;
    std::map<int, std::wstring> defaults; // a dialog's edit rows as they came
};

class RandomUser {
public:
    RandomUser(std::uint64_t seed, const std::filesystem::path& folder, std::FILE* log);
    ~RandomUser();
    // Runs `steps` random steps; false with `failure` set when the editor
    // crashed, hung, or gave back a sound that differs from its creation.
    bool run(int steps);
    const Failure& failure() const { return failure_; }
    int checks() const { return checks_; }
    int undone() const { return undone_; }
    int restarts() const { return restarts_; }
    const std::map<std::string, int>& counts() const { return counts_; }

private:
    // Session
    bool start();
    bool prepareFiles();
    void stop();
    bool alive(const char* where);
    // Sends a message to a window of the editor and serves whatever modal
    // window appears until the editor has handled it.
    bool send(HWND target, UINT message, WPARAM wParam, LPARAM lParam, const char* what);
    bool serveModals();
    bool serveGeneralDialog(HWND dialog);
    bool serveMessageBox(HWND box);
    bool serveFileDialog(HWND dialog);
    bool servePopupMenu(HWND menu);
    void servePatternWindow(HWND window);
    // Steps
    bool step(int n);
    bool menuCommand();
    bool toolButton();
    bool mouseAction();
    bool keyAction();
    bool windowAction();
    bool scrollAction();
    bool closeSoundWindow();
    bool closeEditor();
    // Windows and undo checks
    std::vector<HWND> soundWindows() const;
    HWND activeSoundWindow() const;
    HWND pickSoundWindow();
    void noteNewWindows();
    void countChange(HWND w, int n);
    bool checkWindow(Tracked& t, const char* why);
    bool checkDue();
    bool fail(const std::string& what);
    void say(const char* format, ...);
    std::filesystem::path undoFile(const wchar_t* kind, int first, int second) const;

    Rng rng_;
    std::filesystem::path folder_, inputs_, outputs_;
    std::FILE* log_;
    e2e::Process editor_;
    HWND frame_ = nullptr, client_ = nullptr, tools_ = nullptr;
    DWORD helperPid_ = 0;
    int stepNo_ = 0;
    bool closing_ = false;        // the run itself asked the editor to end
    bool verifying_ = false;      // answers that keep an undo check on its way
    bool sawBottom_ = false;      // the "nothing more to undo" box was seen
    std::vector<Tracked> tracked_;
    std::map<HWND, Answered> answered_;
    std::map<int, FILETIME> infoTimes_;
    std::map<std::string, int> counts_;
    Failure failure_;
    int checks_ = 0, undone_ = 0, restarts_ = 0;
};

} // namespace rnd
