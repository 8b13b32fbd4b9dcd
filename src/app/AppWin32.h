#pragma once
// The editor's own start, loop and end, and the frame's window procedure.
#include "core/Win32App.h"

#include <array>
#include <filesystem>

namespace wavora {

// Stage 1 of start-up up to and including the frame's creation (which runs
// stage 2). `root` becomes the current directory first. Returns the frame.
HWND startEditor(HINSTANCE instance, const std::filesystem::path& root);
// The message loop; returns when the frame is gone.
int runMessageLoop();
// One message of the loop: the keys, the history window's Enter, the window
// procedures, then the automatic audition and the history window's list.
void handleMessage(MSG& msg);
// Releases what stage 1 made once the loop has ended.
void finishEditor();

// Waits until the sound devices are chosen; start-up chooses them beside
// everything else. Every use of a device comes after this.
void waitForDeviceChoice();

LRESULT CALLBACK frameWindowProc(HWND, UINT, WPARAM, LPARAM);

// What the 20 ms timer's thread posts to the frame: the play line moved, one
// more second recorded.
constexpr UINT WM_PLAYCURSORMOVED = WM_APP + 0x60;
constexpr UINT WM_RECORDSECOND = WM_APP + 0x61;
// Posted by the start-up to itself: the last of the start-up, which nothing
// on screen waits for.
constexpr UINT WM_FINISHSTART = WM_APP + 0x62;

// Creates the frame's menu bar from the menu table.
HMENU buildMenuBar(std::array<HMENU, MenuPopupCount>& popups);

} // namespace wavora
