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
bool processAlive(DWORD pid);
bool waitProcessGone(DWORD pid, std::chrono::milliseconds timeout);

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
std::string utf8(const std::wstring& w);

// Closes the editor the way a user does: close, "はい" to the question, and
// "いいえ" to saving each sound window that is still open.
bool closeEditor(HWND frame, const Process& p);

} // namespace e2e
