#pragma once
// One editor per program folder.
#include <windows.h>

#include <filesystem>

namespace wavora {

enum class FolderClaim { Ours, TakenByAnother };

// Taken before anything of the folder is touched. When another editor runs
// in it, that editor's frame is brought to the front (restored when
// minimised) and TakenByAnother is returned: this one must end at once.
FolderClaim claimFolder(const std::filesystem::path& root);
// The frame a second editor in this folder brings to the front.
void announceFrame(HWND frame);
// At the end of the run (the folder is free again once the process ends anyway).
void releaseFolder();

} // namespace wavora
