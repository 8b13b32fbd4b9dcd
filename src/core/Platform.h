#pragma once
// Everything the portable editor asks of the operating system goes through this
// interface. The Windows build implements it with the real calls; the unit tests
// with a fake that records what was asked and answers from a script.
#include "core/Surface.h"
#include "core/WaveDevice.h"
#include "doc/SoundDoc.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wavora {

struct EditorState;

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Question, Error };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MessageBoxSpec {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    bool ownedByFrame = true; // false: no owner window at all
    bool topmost = false;
};

struct Size {
    int width = 0;
    int height = 0;
};

enum class ScrollBar { Horizontal, Vertical };

struct Point {
    int x = 0;
    int y = 0;
};

// One item of a context menu; id 0 is a separator.
struct PopupItem {
    std::string text;
    int id = 0;
    bool checked = false;
};

// A font of the program's own pages: always "ＭＳ Ｐゴシック" in the Shift-JIS
// character set, chosen by its character height in pixels and its weight.
struct TextFont {
    int height = 12;
    int weight = 400;
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Messages and diagnostics
    virtual MsgAnswer messageBox(const MessageBoxSpec& spec) = 0;
    virtual std::uint32_t tickCount() = 0;
    virtual void debugLine(const std::string& text) = 0;

    // --- The frame's menu: replace the item at `position` of popup `popup`.
    virtual void setMenuItem(const std::string& caption, int popup, int id, int position, bool enabled) = 0;
    // The check mark of the item with command `id`, wherever it stands.
    virtual void checkMenuItem(int id, bool checked) = 0;

    // --- Modal windows: "HanyouDialog" runs the general dialog on state.dialog,
    // "HakeiPat" the pattern window. 0 = OK (or closed), -1 = Cancel.
    virtual int runModalWindow(EditorState& state, const std::string& className) = 0;

    // --- The wait dialog's window.
    virtual void waitDialogCreate() = 0;
    virtual bool waitDialogExists() = 0;
    virtual void waitDialogSetRange(std::uint32_t total) = 0;
    virtual void waitDialogStep(std::uint32_t times) = 0;
    virtual void waitDialogSetFace(const std::string& face) = 0;
    virtual void waitDialogDestroy() = 0;
    // The hourglass over the sound windows while a long effect runs.
    virtual void setWaitCursor(bool /*on*/) {}

    // --- Sound windows (MDI children of class "document").
    virtual WindowId createSoundWindow(const std::string& title) = 0;
    virtual std::string windowTitle(WindowId window) = 0;
    virtual void setWindowTitle(WindowId window, const std::string& title) = 0;
    virtual void moveWindow(WindowId window, int x, int y, int width, int height) = 0;
    virtual Size clientSize(WindowId window) = 0;
    virtual Size mdiClientSize() = 0;
    virtual WindowId activeSoundWindow() = 0;
    virtual void invalidate(WindowId window) = 0;
    virtual void enableWindow(WindowId window, bool enabled) = 0;
    virtual void requestClose(WindowId window) = 0; // as if the user closed it
    virtual void destroyWindow(WindowId window) = 0;
    virtual void setScrollBar(WindowId window, ScrollBar bar, int min, int max, int page, int pos) = 0;

    // --- Drawing. createSurface reports its own failures to the user and then
    // returns null.
    virtual std::unique_ptr<Surface> createSurface(int width, int height) = 0;
    virtual void drawText(Surface& surface, int x, int y, const std::string& text, Pixel colour) = 0;
    // Text in a font of its own: how wide the text is and how tall the font's
    // characters are, and the text drawn with its top left at (x, y).
    virtual Size textExtent(const TextFont& font, const std::string& text) = 0;
    virtual void drawTextInFont(Surface& surface, int x, int y, const std::string& text, Pixel colour,
                                const TextFont& font) = 0;

    // --- The tool window: disabled while the pattern window is open.
    virtual void enableToolWindow(bool enabled) = 0;

    // --- The help window: show it with the page that was open last, or the index.
    virtual void openHelp() = 0;
    // --- The history window: shown where it was last, with the active sound's states.
    virtual void openHistoryWindow() = 0;

    // --- Shell
    virtual void openWebPage(const std::string& url) = 0;

    // --- Waveform audio: the output device plays one buffer, the input device
    // records into one. Both report to the frame through its device messages
    // (the end of a buffer; for input also its opening and closing). `format`
    // is read by the two opens, `buffer` by every call but open, reset, stop,
    // start and close. Returns the device's result code, 0 when it succeeded.
    virtual int waveDevice(WaveCall call, const WaveFormat& format, WaveBuffer& buffer) = 0;

    // --- The mouse in the sound windows.
    // Shows a context menu at a point of the window's client area and returns
    // the id of the chosen item, 0 when the menu was dismissed.
    virtual int popupMenu(WindowId window, int clientX, int clientY, const std::vector<PopupItem>& items) = 0;
    // Every mouse message goes to the window until it is released, also with
    // the mouse outside it (a layer dragged into another window).
    virtual void captureMouse(WindowId window) = 0;
    virtual void releaseMouse() = 0;
    // The first sound window, from the active one down the window order, whose
    // rectangle holds the point given in `from`'s client coordinates; 0 when
    // there is none. `at` gets the point in that window's client coordinates.
    virtual WindowId soundWindowAt(WindowId from, int clientX, int clientY, Point& at) = 0;
    // Brings a sound window to the top and makes it the active one.
    virtual void activateWindow(WindowId window) = 0;

    // --- The converter program. Each send waits until the helper has handled
    // it (a dialog request until the dialog is closed, its reply delivered to
    // the frame meanwhile); false when there is no helper to send to.
    // A copy-data record: `number` is its dwData, wParam the frame window.
    virtual bool sendToHelper(std::uintptr_t number, const std::string& block) = 0;
    // The set-text message that asks the helper to convert an image (UTF-8 path).
    virtual bool sendImageToHelper(const std::string& imagePath) = 0;
    virtual WindowId frameWindow() = 0;
};

} // namespace wavora
