#include "pattern/ToolBarWin32.h"

#include "core/CommonControlsWin32.h"
#include "core/EditorState.h"
#include "core/LateBoundWin32.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "text/Paths.h"

#include <vector>

namespace wavora {

namespace {

// The image lists live in the common controls, loaded by the start-up after
// it has started the helper.
HIMAGELIST createList(int width, int height, UINT flags, int initial, int grow) {
    static const auto f = lateBound<decltype(&ImageList_Create)>(L"comctl32.dll", "ImageList_Create");
    return f ? f(width, height, flags, initial, grow) : nullptr;
}

int addMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
    static const auto f = lateBound<decltype(&ImageList_AddMasked)>(L"comctl32.dll", "ImageList_AddMasked");
    return f ? f(list, bitmap, mask) : -1;
}

HIMAGELIST loadList(const wchar_t* file, int width, COLORREF mask) {
    static const auto f = lateBound<decltype(&ImageList_LoadImageW)>(L"comctl32.dll", "ImageList_LoadImageW");
    return f ? f(nullptr, file, width, 0, mask, IMAGE_BITMAP, LR_LOADFROMFILE | LR_CREATEDIBSECTION) : nullptr;
}

void destroyList(HIMAGELIST list) {
    static const auto f = lateBound<decltype(&ImageList_Destroy)>(L"comctl32.dll", "ImageList_Destroy");
    if (f) f(list);
}

COLORREF maskColour() {
    return RGB((ToolMaskColour >> 16) & 0xFF, (ToolMaskColour >> 8) & 0xFF, ToolMaskColour & 0xFF);
}

// When the strip file could not be written or read back (a folder the editor
// may not write), the same strip comes from memory.
HIMAGELIST stripFromMemory(const Surface& strips, int row, int count) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = ToolImageSize * count;
    info.bmiHeader.biHeight = -ToolImageSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* px = static_cast<Pixel*>(bits);
    for (int y = 0; y < ToolImageSize; ++y)
        for (int x = 0; x < ToolImageSize * count; ++x)
            px[y * ToolImageSize * count + x] = strips.get(x, row * ToolImageSize + y);
    HIMAGELIST list = createList(ToolImageSize, ToolImageSize, ILC_COLOR24 | ILC_MASK, count, 0);
    if (list) addMasked(list, bitmap, maskColour());
    DeleteObject(bitmap);
    return list;
}

HIMAGELIST loadStrip(EditorState& s, const Surface& strips, int row, int count) {
    const std::wstring file = (s.root / pathFromUtf8(StripFiles[static_cast<std::size_t>(row)])).wstring();
    HIMAGELIST list = loadList(file.c_str(), ToolImageSize, maskColour());
    return list ? list : stripFromMemory(strips, row, count);
}

} // namespace

ToolBar BmpToPrompt(EditorState& s, std::span<const ToolButtonEntry> buttons, HWND parent, bool vertical,
                    int x, int y) {
    ensureCommonControls();
    ToolBar bar;
    const int count = static_cast<int>(buttons.size());
    if (count == 0) return bar;
    const std::unique_ptr<Surface> strips = makeToolStrips(s, buttons);

    std::vector<TBBUTTON> entries(buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ToolButtonEntry& b = buttons[i];
        TBBUTTON& e = entries[i];
        if (!b.normal || !*b.normal) {
            e.iBitmap = b.id; // a separator's width
            e.fsStyle = BTNS_SEP;
            continue;
        }
        e.iBitmap = static_cast<int>(i);
        e.idCommand = b.id;
        e.fsState = TBSTATE_ENABLED | (vertical ? TBSTATE_WRAP : 0);
        e.fsStyle = BTNS_BUTTON;
    }
    for (int row = NormalStrip; row <= DisabledStrip; ++row)
        bar.images[static_cast<std::size_t>(row)] = loadStrip(s, *strips, row, count);

    const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_NOPARENTALIGN |
                        CCS_NORESIZE | CCS_NODIVIDER | (vertical ? CCS_VERT : 0);
    const int across = vertical ? 1 : count, down = vertical ? count : 1;
    bar.window = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, x, y, across * (ToolImageSize + 8) + 4,
                                 down * (ToolImageSize + 8) + 4, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolBarControlId)),
                                 app().instance, nullptr);
    if (!bar.window) {
        destroyToolBar(bar);
        return bar;
    }
    SendMessageW(bar.window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar.window, TB_SETBITMAPSIZE, 0, MAKELPARAM(ToolImageSize, ToolImageSize));
    SendMessageW(bar.window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images[NormalStrip]));
    SendMessageW(bar.window, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images[HotStrip]));
    SendMessageW(bar.window, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images[DisabledStrip]));
    SendMessageW(bar.window, TB_ADDBUTTONS, entries.size(), reinterpret_cast<LPARAM>(entries.data()));
    return bar;
}

void destroyToolBar(ToolBar& bar) {
    if (bar.window && IsWindow(bar.window)) DestroyWindow(bar.window);
    for (HIMAGELIST& list : bar.images) {
        if (list) destroyList(list);
        list = nullptr;
    }
    bar.window = nullptr;
}

} // namespace wavora
