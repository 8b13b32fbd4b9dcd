// The programs as they are shipped: each carries its icon at three sizes, a
// version resource with the project's version and a manifest for Windows 7
// to 11 that keeps the controls' look; the help's first page names the same
// version; the frame shows the program's icon, not Windows' default.
#include "WinHarness.h"

#include "Version.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace wintest {
namespace {

std::wstring stage() {
    wchar_t path[2048] = {};
    GetEnvironmentVariableW(L"WAVORA_STAGE", path, 2048);
    return path;
}

std::string resourceBytes(HMODULE m, int id, const wchar_t* type) {
    HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(id), type);
    HGLOBAL data = r ? LoadResource(m, r) : nullptr;
    return data ? std::string(static_cast<const char*>(LockResource(data)), SizeofResource(m, r)) : "";
}

std::wstring versionText(const std::vector<char>& info, const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    return VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) ? text : L"";
}

TEST(ProgramResources, BothProgramsCarryTheirIconVersionAndManifest) {
    for (const wchar_t* program : {L"\\Wavora.exe", L"\\Wavora部品\\Pictra.exe"}) {
        std::wstring path = stage() + program;
        SCOPED_TRACE(utf8(path));
        HMODULE m = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m, nullptr);
        // The icon group (GRPICONDIR: three WORDs, then 14 bytes per image,
        // its width first) holds exactly 16, 32 and 48 pixels.
        std::string group = resourceBytes(m, 1, RT_GROUP_ICON);
        ASSERT_GE(group.size(), 6u);
        std::set<int> sizes;
        for (std::size_t at = 6; at + 14 <= group.size(); at += 14)
            sizes.insert(static_cast<unsigned char>(group[at]));
        EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));

        std::string manifest = resourceBytes(m, 1, RT_MANIFEST);
        for (const char* wanted : {"level=\"asInvoker\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                   "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
        EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
        FreeLibrary(m);

        std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_FALSE(info.empty());
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
        EXPECT_EQ(versionText(info, L"ProductName"), L"Wavora");
        EXPECT_EQ(utf8(versionText(info, L"FileVersion")), WAVORA_VERSION_TEXT);
        EXPECT_EQ(utf8(versionText(info, L"ProductVersion")), WAVORA_VERSION_TEXT);
        std::wstring description = versionText(info, L"FileDescription");
        EXPECT_TRUE(std::any_of(description.begin(), description.end(), [](wchar_t c) { return c >= 0x3040; }))
            << "the description is Japanese";
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        const WORD numbers[4] = {WAVORA_VERSION_NUMBERS};
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(numbers[0] << 16 | numbers[1]));
        EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(numbers[2] << 16 | numbers[3]));
    }
}

TEST(ProgramResources, TheHelpsFirstPageNamesTheVersion) {
    std::ifstream in(std::filesystem::path(stage()) / L"Wavora部品" / L"HelpWAVORA.txt", std::ios::binary);
    std::stringstream sjis;
    sjis << in.rdbuf();
    std::string page = wavora::shiftJisToUtf8(sjis.str());
    EXPECT_NE(page.find(std::string("Wavora ") + WAVORA_VERSION_TEXT), std::string::npos);
    EXPECT_EQ(page.find("@WAVORA_VERSION@"), std::string::npos);
}

// This test program carries the editor's resources too, so the frame made
// in it looks as in Wavora.exe.
using ProgramIcon = EditorTest;

TEST_F(ProgramIcon, TheFrameShowsTheProgramsIconInItsTitleBarAndTaskBar) {
    const HICON fallback = LoadIconW(nullptr, IDI_APPLICATION);
    struct Want {
        int index, size;
    } wants[] = {{GCLP_HICON, GetSystemMetrics(SM_CXICON)}, {GCLP_HICONSM, GetSystemMetrics(SM_CXSMICON)}};
    for (const Want& w : wants) {
        auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(frame(), w.index));
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(icon, fallback);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, w.size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

} // namespace
} // namespace wintest
