#include "app/PlatformWin32.h"

#include "app/AppWin32.h"
#include "app/HistoryWindowWin32.h"
#include "app/MenuTable.h"
#include "audio/WaveDeviceWin32.h"
#include "converter/HelperClient.h"
#include "core/EditorState.h"
#include "core/LateBoundWin32.h"
#include "core/Win32App.h"
#include "core/WinText.h"
#include "pattern/PatternWindowWin32.h"
#include "text/NumberText.h"
#include "ui/GeneralDialogWin32.h"
#include "ui/HelpWindowWin32.h"
#include "ui/ToolWindowWin32.h"
#include "ui/WaitDialogWin32.h"
#include "input/SoundWindowWin32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <map>
#include <utility>

namespace wavora {

namespace {

HWND hwnd(WindowId w) { return reinterpret_cast<HWND>(w); }

UINT boxFlags(const MessageBoxSpec& spec) {
    UINT flags = spec.buttons == MsgButtons::YesNo         ? MB_YESNO
                 : spec.buttons == MsgButtons::YesNoCancel ? MB_YESNOCANCEL
                                                           : MB_OK;
    switch (spec.icon) {
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
    case MsgIcon::Error: flags |= MB_ICONERROR; break;
    case MsgIcon::None: break;
    }
    if (spec.topmost) flags |= MB_TOPMOST;
    return flags;
}

// A DIB section whose pixels the portable surface draws on; its memory device
// context is kept for text and for the copy to the screen.
class DibSurface : public Surface {
public:
    DibSurface(int w, int h, Pixel* bits, HDC dc, HBITMAP bitmap, HGDIOBJ old, HANDLE section)
        : Surface(w, h, bits, dc), dc_(dc), bitmap_(bitmap), old_(old), section_(section) {}
    ~DibSurface() override {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        CloseHandle(section_);
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    HANDLE section_;
};

void reportSurfaceFailure(const std::string& text) {
    MessageBoxW(app().frame, widen(text).c_str(), L"CreateDIBSectionMy", MB_OK);
}

} // namespace

// The fonts of TextFont, one per height and weight, and a screen-compatible
// context to measure text in.
struct Win32Platform::Fonts {
    HDC measure = CreateCompatibleDC(nullptr);
    std::map<std::pair<int, int>, HFONT> made;
    ~Fonts() {
        for (auto& f : made) DeleteObject(f.second);
        if (measure) DeleteDC(measure);
    }
    HFONT get(const TextFont& font) {
        HFONT& f = made[{font.height, font.weight}];
        if (!f)
            f = CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 3, 2,
                            DEFAULT_QUALITY, 0, L"ＭＳ Ｐゴシック");
        return f;
    }
};

Win32Platform::Win32Platform() : fonts_(std::make_unique<Fonts>()) {}
Win32Platform::~Win32Platform() = default;

MsgAnswer Win32Platform::messageBox(const MessageBoxSpec& spec) {
    HWND owner = spec.ownedByFrame ? app().frame : nullptr;
    int r = MessageBoxW(owner, widen(spec.text).c_str(), widen(spec.caption).c_str(), boxFlags(spec));
    switch (r) {
    case IDYES: return MsgAnswer::Yes;
    case IDNO: return MsgAnswer::No;
    case IDCANCEL: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

std::uint32_t Win32Platform::tickCount() { return GetTickCount(); }

void Win32Platform::debugLine(const std::string& text) { OutputDebugStringW(widen(text).c_str()); }

void Win32Platform::setMenuItem(const std::string& caption, int popup, int id, int position, bool enabled) {
    if (popup < 0 || popup >= static_cast<int>(app().popups.size())) return;
    HMENU menu = app().popups[static_cast<std::size_t>(popup)];
    if (!menu) return;
    DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    InsertMenuW(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(id),
                widen(menuCaptionWithKey(caption, id)).c_str());
    EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    if (app().frame) DrawMenuBar(app().frame);
}

void Win32Platform::checkMenuItem(int id, bool checked) {
    if (!app().menuBar) return;
    CheckMenuItem(app().menuBar, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

int Win32Platform::runModalWindow(EditorState& state, const std::string& className) {
    if (className == "HanyouDialog") return runGeneralDialog(state, app().frame);
    if (className == "HakeiPat") return runPatternWindow(state, app().frame);
    return 0;
}

void Win32Platform::waitDialogCreate() { createWaitDialog(app().frame); }
bool Win32Platform::waitDialogExists() { return waitDialogWindow() != nullptr; }
void Win32Platform::waitDialogSetRange(std::uint32_t total) { setWaitDialogRange(total); }
void Win32Platform::waitDialogStep(std::uint32_t times) { stepWaitDialog(times); }
void Win32Platform::waitDialogSetFace(const std::string& face) { setWaitDialogFace(face); }
void Win32Platform::waitDialogDestroy() { destroyWaitDialog(); }

// The effect runs on this thread without pumping messages, so the cursor is
// set at once as well as made the sound windows' class cursor.
void Win32Platform::setWaitCursor(bool on) {
    HCURSOR cursor = LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW);
    if (app().mdiClient) SetClassLongPtrW(app().mdiClient, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    SetCursor(cursor);
}

WindowId Win32Platform::createSoundWindow(const std::string& title) {
    return reinterpret_cast<WindowId>(createSoundWindowWin32(title));
}

std::string Win32Platform::windowTitle(WindowId window) {
    wchar_t buf[1024] = {};
    GetWindowTextW(hwnd(window), buf, 1024);
    return narrow(buf);
}

void Win32Platform::setWindowTitle(WindowId window, const std::string& title) {
    SetWindowTextW(hwnd(window), widen(title).c_str());
}

void Win32Platform::moveWindow(WindowId window, int x, int y, int width, int height) {
    MoveWindow(hwnd(window), x, y, width, height, TRUE);
}

Size Win32Platform::clientSize(WindowId window) {
    RECT r{};
    GetClientRect(hwnd(window), &r);
    return {r.right - r.left, r.bottom - r.top};
}

Size Win32Platform::mdiClientSize() {
    RECT r{};
    if (app().mdiClient) GetClientRect(app().mdiClient, &r);
    return {r.right - r.left, r.bottom - r.top};
}

WindowId Win32Platform::activeSoundWindow() {
    if (!app().mdiClient) return 0;
    return static_cast<WindowId>(SendMessageW(app().mdiClient, WM_MDIGETACTIVE, 0, 0));
}

void Win32Platform::invalidate(WindowId window) { InvalidateRect(hwnd(window), nullptr, FALSE); }

void Win32Platform::enableWindow(WindowId window, bool enabled) { EnableWindow(hwnd(window), enabled); }

void Win32Platform::requestClose(WindowId window) { SendMessageW(hwnd(window), WM_CLOSE, 0, 0); }

void Win32Platform::destroyWindow(WindowId window) {
    if (app().mdiClient) SendMessageW(app().mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd(window)), 0);
    else DestroyWindow(hwnd(window));
}

void Win32Platform::setScrollBar(WindowId window, ScrollBar bar, int min, int max, int page, int pos) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = min;
    info.nMax = max;
    info.nPage = page < 0 ? 0u : static_cast<UINT>(page);
    info.nPos = pos;
    SetScrollInfo(hwnd(window), bar == ScrollBar::Horizontal ? SB_HORZ : SB_VERT, &info, TRUE);
}

std::unique_ptr<Surface> Win32Platform::createSurface(int width, int height) {
    // The pixel memory is a section of its own so that a failure to get it
    // and a failure to make the bitmap can be told apart.
    DWORD bytes = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4u + 1000u;
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, nullptr);
    if (!section) {
        reportSurfaceFailure("ヒープ確保失敗");
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like the portable surface
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, section, 0);
    HDC dc = bitmap ? CreateCompatibleDC(screen) : nullptr;
    ReleaseDC(nullptr, screen);
    if (!bitmap || !dc) {
        if (bitmap) DeleteObject(bitmap);
        CloseHandle(section);
        reportSurfaceFailure("失敗 Width=" + intText(width) + " Height=" + intText(height));
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    return std::make_unique<DibSurface>(width, height, static_cast<Pixel*>(bits), dc, bitmap, old, section);
}

void Win32Platform::drawText(Surface& surface, int x, int y, const std::string& text, Pixel colour) {
    HDC dc = static_cast<HDC>(surface.native());
    if (!dc) return;
    HGDIOBJ oldFont = SelectObject(dc, app().fonts[0]);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    std::wstring w = widen(text);
    TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
    SelectObject(dc, oldFont);
    GdiFlush(); // the portable code reads and writes the pixels right after
}

Size Win32Platform::textExtent(const TextFont& font, const std::string& text) {
    HDC dc = fonts_->measure;
    HGDIOBJ old = SelectObject(dc, fonts_->get(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE size{0, tm.tmHeight};
    std::wstring w = widen(text);
    if (!w.empty()) GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    return {size.cx, size.cy};
}

void Win32Platform::drawTextInFont(Surface& surface, int x, int y, const std::string& text, Pixel colour,
                                   const TextFont& font) {
    HDC dc = static_cast<HDC>(surface.native());
    if (!dc) return;
    HGDIOBJ oldFont = SelectObject(dc, fonts_->get(font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    std::wstring w = widen(text);
    TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
    SelectObject(dc, oldFont);
    GdiFlush(); // the portable code draws the pictures over these pixels next
}

void Win32Platform::enableToolWindow(bool enabled) { setToolWindowEnabled(enabled); }

void Win32Platform::openHelp() { openHelpWindow(); }

void Win32Platform::openHistoryWindow() { showHistoryWindow(); }

void Win32Platform::openWebPage(const std::string& url) {
    static const auto open = lateBound<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (open) open(app().frame, L"open", widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int Win32Platform::waveDevice(WaveCall call, const WaveFormat& format, WaveBuffer& buffer) {
    waitForDeviceChoice();
    return callWaveDevice(app().frame, app().waveOutDevice, app().waveInDevice, call, format, buffer);
}

int Win32Platform::popupMenu(WindowId window, int clientX, int clientY, const std::vector<PopupItem>& items) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const PopupItem& item : items) {
        if (item.id == 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), static_cast<UINT_PTR>(item.id),
                        widen(item.text).c_str());
    }
    POINT p{clientX, clientY};
    ClientToScreen(hwnd(window), &p);
    // The choice comes back here rather than as a command to the frame, so the
    // caller knows which window and point it belongs to.
    int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0,
                                                 hwnd(window), nullptr));
    DestroyMenu(menu);
    return chosen;
}

void Win32Platform::captureMouse(WindowId window) { SetCapture(hwnd(window)); }

void Win32Platform::releaseMouse() { ReleaseCapture(); }

WindowId Win32Platform::soundWindowAt(WindowId from, int clientX, int clientY, Point& at) {
    EditorState* s = app().state.get();
    if (!s || !app().mdiClient) return 0;
    POINT screen{clientX, clientY};
    ClientToScreen(hwnd(from), &screen);
    // The MDI children from the top (the active one) down.
    for (HWND w = GetWindow(app().mdiClient, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (s->slotOfWindow(reinterpret_cast<WindowId>(w)) < 0 || !IsWindowVisible(w)) continue;
        RECT r{};
        GetWindowRect(w, &r);
        if (!PtInRect(&r, screen)) continue;
        POINT local = screen;
        ScreenToClient(w, &local);
        at = {local.x, local.y};
        return reinterpret_cast<WindowId>(w);
    }
    return 0;
}

void Win32Platform::activateWindow(WindowId window) {
    if (app().mdiClient) SendMessageW(app().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd(window)), 0);
    BringWindowToTop(hwnd(window));
}

bool Win32Platform::sendToHelper(std::uintptr_t number, const std::string& block) {
    HWND helper = app().helper;
    if (!helper || !IsWindow(helper)) return false;
    // A dialog stays open as long as the user likes; only a helper that has
    // stopped answering ends the wait early. The dialog is the user's next
    // window, so the helper may bring it to the front.
    UINT timeout = 10000;
    if (number == ShowDialog) {
        DWORD pid = 0;
        GetWindowThreadProcessId(helper, &pid);
        AllowSetForegroundWindow(pid);
        timeout = 0x7FFFFFFF;
    }
    COPYDATASTRUCT record{};
    record.dwData = number;
    record.cbData = static_cast<DWORD>(block.size());
    record.lpData = const_cast<char*>(block.data());
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(helper, WM_COPYDATA, reinterpret_cast<WPARAM>(app().frame),
                               reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG, timeout, &ignored) != 0;
}

bool Win32Platform::sendImageToHelper(const std::string& imagePath) {
    HWND helper = app().helper;
    if (!helper || !IsWindow(helper)) return false;
    std::wstring path = widen(imagePath);
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(helper, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 60000,
                               &ignored) != 0;
}

WindowId Win32Platform::frameWindow() { return reinterpret_cast<WindowId>(app().frame); }

} // namespace wavora
