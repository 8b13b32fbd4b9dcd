#pragma once
// The wait dialog's window: a progress bar and a face that changes as work
// goes on. Its counting rules are portable; this only draws.
#include <windows.h>

#include <cstdint>
#include <string>

namespace wavora {

void createWaitDialog(HWND owner);
HWND waitDialogWindow();
void setWaitDialogRange(std::uint32_t total);
void stepWaitDialog(std::uint32_t times);
void setWaitDialogFace(const std::string& face);
void destroyWaitDialog();

} // namespace wavora
