// One editor per program folder. Two editors in one folder would write the
// same step files over each other, and the first to end would delete the
// other's history; a dead run's folder must also never be taken for a live
// one's. The first editor holds a small named block of shared memory keyed by
// the folder for its whole run and leaves its frame's handle in it; a second
// one finds the block, brings that frame to the front and ends untouched.
#include "app/SingleEditorWin32.h"

#include <cstdint>
#include <cwchar>
#include <string>

namespace wavora {

namespace {

struct FolderMark {
    std::uint64_t frame; // 0 until the frame exists
};

HANDLE heldMark = nullptr;
FolderMark* heldView = nullptr;

// The same folder however it was written: full, long names, one case.
std::wstring folderKey(const std::filesystem::path& root) {
    std::wstring path = root.wstring();
    std::wstring buffer(32768, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n > 0 && n < buffer.size()) path.assign(buffer.data(), n);
    n = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n > 0 && n < buffer.size()) path.assign(buffer.data(), n);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    // Object names cannot hold a backslash and are limited in length.
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (wchar_t c : path) h = (h ^ static_cast<std::uint16_t>(c)) * 0x100000001b3ull;
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\WavoraFolder-%016llx", static_cast<unsigned long long>(h));
    return name;
}

void bringForward(HWND frame) {
    if (IsIconic(frame)) ShowWindowAsync(frame, SW_RESTORE);
    // A box the editor is asking (the recovery question, for one) comes with it.
    HWND popup = GetLastActivePopup(frame);
    SetForegroundWindow(popup ? popup : frame);
}

} // namespace

FolderClaim claimFolder(const std::filesystem::path& root) {
    const std::wstring name = folderKey(root);
    HANDLE mark = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FolderMark), name.c_str());
    if (!mark) return FolderClaim::Ours; // without the block, no editor could find us either
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        heldMark = mark;
        heldView = static_cast<FolderMark*>(MapViewOfFile(mark, FILE_MAP_WRITE, 0, 0, sizeof(FolderMark)));
        return FolderClaim::Ours;
    }
    auto* view = static_cast<const FolderMark*>(MapViewOfFile(mark, FILE_MAP_READ, 0, 0, sizeof(FolderMark)));
    // The other editor may still be making its frame; not for long.
    for (int wait = 0; view && wait < 35; ++wait) {
        const auto frame = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(view->frame));
        if (frame && IsWindow(frame)) {
            bringForward(frame);
            break;
        }
        Sleep(20);
    }
    if (view) UnmapViewOfFile(view);
    CloseHandle(mark);
    return FolderClaim::TakenByAnother;
}

void announceFrame(HWND frame) {
    if (heldView) heldView->frame = reinterpret_cast<std::uintptr_t>(frame);
}

void releaseFolder() {
    if (heldView) UnmapViewOfFile(heldView);
    if (heldMark) CloseHandle(heldMark);
    heldView = nullptr;
    heldMark = nullptr;
}

} // namespace wavora
