#pragma once
// Drives the real programs from outside, as a user would: a fresh install
// folder, the editor started in it, its windows and message boxes found by
// class and title, answers posted to them.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace e2e {

// The staged install folder (Wavora.exe beside Wavora部品), from WAVORA_STAGE.
std::filesystem::path stageFolder();
// A new empty folder holding a copy of the install, for one test.
std::filesystem::path freshInstall(const std::wstring& name);

struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
    bool running() const;
    bool waitExit(std::chrono::milliseconds timeout) const;
    void kill() const;
};

// Starts Wavora.exe of the folder with the folder as its current directory.
Process startEditor(const std::filesystem::path& folder);

// A visible or hidden top-level window of the given class and title; a null
// class or title matches any; `pid` 0 matches every process.
HWND findWindow(const wchar_t* cls, const wchar_t* title, DWORD pid = 0);
HWND waitForWindow(const wchar_t* cls, const wchar_t* title, DWORD pid = 0,
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));
// A message box (class #32770) by its caption.
HWND waitForMessageBox(const std::wstring& caption, DWORD pid = 0,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));
std::wstring messageBoxText(HWND box);
std::wstring windowText(HWND w);
void answer(HWND box, int id); // IDOK, IDYES, IDNO

DWORD processOf(HWND w);
// The helper window (class ModelApp) of a process that `editor` started.
HWND findHelperOf(DWORD editor);
HWND waitForHelper(DWORD editor, std::chrono::milliseconds timeout = std::chrono::seconds(10));
bool processAlive(DWORD pid);
bool waitProcessGone(DWORD pid, std::chrono::milliseconds timeout);

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
std::string utf8(const std::wstring& w);

// Closes the editor the way a user does: close, "はい" to the question, and
// "いいえ" to saving each sound window that is still open.
bool closeEditor(HWND frame, const Process& p);

} // namespace e2e

namespace e2e {

// Runs a shell command line of the Linux side (sox, ImageMagick, chattr)
// through Wine, which starts Unix programs too, and waits until it has
// finished: such a process can be neither waited for nor asked for its exit
// code, so the command touches a marker file at its end. False on time-out.
// The command quotes with single quotes only.
bool runUnix(const std::string& shellCommand, std::chrono::milliseconds timeout = std::chrono::seconds(30));
// The Unix path of a file under Wine's drive Z: (for the commands above).
std::string unixPath(const std::filesystem::path& p);
// The path as Windows programs write it: backslashes only (the stage folder
// comes from a Unix path and keeps its forward slashes otherwise).
std::wstring windowsPath(const std::filesystem::path& p);
// A path quoted for the shell.
std::string quoted(const std::filesystem::path& p);

// A common Open or Save dialog (class #32770) of any process by its title.
HWND waitForFileDialog(const std::wstring& title, std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Types a path into the dialog's file-name box and presses its OK button.
void chooseInDialog(HWND dialog, const std::wstring& path);

} // namespace e2e
