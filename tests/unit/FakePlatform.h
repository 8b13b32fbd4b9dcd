#pragma once
// A platform for the native tests: records every message box, menu change,
// window and drawing request, answers message boxes and dialogs from a script
// and runs a clock that only moves when the test says so.
#include "core/EditorState.h"
#include "core/Platform.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wavora::test {

struct RecordedBox {
    std::string caption;
    std::string text;
    MsgButtons buttons;
};

struct FakeMenuItem {
    std::string caption;
    int id = 0;
    bool enabled = true;
};

struct FakeWindow {
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;
    Size client{1100, 768};
    int invalidations = 0;
    bool enabled = true;
    bool destroyed = false;
    struct Bar {
        int min = 0, max = 0, page = 0, pos = 0;
    } hbar, vbar;
};

struct HelperRecord {
    std::uintptr_t number;
    std::string block;
};

struct DrawnText {
    const Surface* surface;
    int x, y;
    std::string text;
    Pixel colour;
    TextFont font{};
};

// What the fake wave devices would post to the frame.
enum class WaveMessage { OutDone, InOpen, InData, InClose };
struct PostedWaveMessage {
    WaveMessage message;
    std::uint32_t user = 0; // the buffer's User field, for OutDone
};

class FakePlatform : public Platform {
public:
    // Dialog script: each entry answers one runModalWindow call.
    using DialogScript = std::function<int(EditorState&)>;

    std::vector<RecordedBox> boxes;
    std::deque<MsgAnswer> answers; // empty: Ok for OK boxes, Yes for Yes/No (and Yes/No/Cancel) boxes
    std::deque<DialogScript> dialogs;
    std::vector<std::string> modalClasses;
    std::vector<std::string> debugLines;
    std::map<std::pair<int, int>, FakeMenuItem> menu; // (popup, position)
    std::map<WindowId, FakeWindow> windows;
    std::vector<DrawnText> texts;
    std::vector<std::string> webPages;
    WindowId activeWindow = 0;
    WindowId nextWindow = 100;
    Size mdiClient{1200, 700};
    std::uint32_t ticks = 12345;
    int waveOutStops = 0; // output resets
    // The wave devices: every call in order, the formats opened with, what was
    // written for playing, and the messages the devices posted and the frame
    // has not yet taken. A call listed in waveFailures does nothing and
    // returns its code.
    std::vector<WaveCall> waveCalls;
    std::map<WaveCall, int> waveFailures;
    std::vector<WaveFormat> outFormats, inFormats;
    std::vector<std::vector<std::uint8_t>> written;
    std::vector<WaveBuffer> writtenHeaders;
    std::deque<PostedWaveMessage> posted;
    WaveBuffer* recordingInto = nullptr; // the buffer the input device fills once started
    int helpOpens = 0;
    bool failSurfaces = false;
    // The wait dialog as the user would see it.
    bool waitOpen = false;
    std::uint32_t waitRange = 0, waitPosition = 0;
    std::string waitFace;
    std::vector<bool> waitCursor; // every change of the wait cursor, in order
    // Set by tests that want closing and destroying to reach the editor's handlers.
    std::function<void(WindowId)> onRequestClose;
    std::function<void(WindowId)> onDestroy;
    // Runs while a new window is being made, as the activation messages do.
    std::function<void(WindowId)> onCreate;
    // The converter program: every record and image sent to it, in order. A
    // test that plays the helper answers through onHelperRecord; with
    // helperPresent false every send fails as with no helper at all.
    std::vector<HelperRecord> helperRecords;
    std::vector<std::string> helperImages;
    bool helperPresent = true;
    std::function<void(std::uintptr_t, const std::string&)> onHelperRecord;
    WindowId frame = 0x10010;

    MsgAnswer messageBox(const MessageBoxSpec& spec) override {
        boxes.push_back({spec.caption, spec.text, spec.buttons});
        if (!answers.empty()) {
            MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return spec.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    }
    std::uint32_t tickCount() override { return ticks; }
    void debugLine(const std::string& text) override { debugLines.push_back(text); }
    void setMenuItem(const std::string& caption, int popup, int id, int position, bool enabled) override {
        menu[{popup, position}] = {caption, id, enabled};
    }
    std::map<int, bool> checkedItems; // by command id
    void checkMenuItem(int id, bool checked) override { checkedItems[id] = checked; }
    int runModalWindow(EditorState& state, const std::string& className) override {
        modalClasses.push_back(className);
        if (dialogs.empty()) return -1;
        DialogScript script = std::move(dialogs.front());
        dialogs.pop_front();
        return script(state);
    }

    void waitDialogCreate() override {
        waitOpen = true;
        waitRange = waitPosition = 0;
    }
    bool waitDialogExists() override { return waitOpen; }
    void waitDialogSetRange(std::uint32_t total) override {
        waitRange = total;
        waitPosition = 0;
    }
    void waitDialogStep(std::uint32_t times) override { waitPosition += times; }
    void waitDialogSetFace(const std::string& face) override { waitFace = face; }
    void waitDialogDestroy() override { waitOpen = false; }
    void setWaitCursor(bool on) override { waitCursor.push_back(on); }

    WindowId createSoundWindow(const std::string& title) override {
        WindowId id = nextWindow++;
        windows[id].title = title;
        activeWindow = id;
        if (onCreate) onCreate(id);
        return id;
    }
    std::string windowTitle(WindowId w) override { return windows.count(w) ? windows[w].title : std::string(); }
    void setWindowTitle(WindowId w, const std::string& title) override { windows[w].title = title; }
    void moveWindow(WindowId w, int x, int y, int width, int height) override {
        FakeWindow& f = windows[w];
        f.x = x;
        f.y = y;
        f.width = width;
        f.height = height;
    }
    Size clientSize(WindowId w) override { return windows[w].client; }
    Size mdiClientSize() override { return mdiClient; }
    WindowId activeSoundWindow() override { return activeWindow; }
    void invalidate(WindowId w) override { ++windows[w].invalidations; }
    void enableWindow(WindowId w, bool enabled) override { windows[w].enabled = enabled; }
    void requestClose(WindowId w) override {
        if (onRequestClose) onRequestClose(w);
    }
    void destroyWindow(WindowId w) override {
        windows[w].destroyed = true;
        if (activeWindow == w) activeWindow = 0;
        if (onDestroy) onDestroy(w);
    }
    void setScrollBar(WindowId w, ScrollBar bar, int min, int max, int page, int pos) override {
        FakeWindow::Bar& b = bar == ScrollBar::Horizontal ? windows[w].hbar : windows[w].vbar;
        b = {min, max, page, pos};
    }
    std::unique_ptr<Surface> createSurface(int width, int height) override {
        if (failSurfaces) return nullptr;
        return std::make_unique<Surface>(width, height);
    }
    void drawText(Surface& surface, int x, int y, const std::string& text, Pixel colour) override {
        texts.push_back({&surface, x, y, text, colour});
    }
    // A fixed-pitch stand-in for the real fonts: a byte below 0x80 is half the
    // font's height wide, every other character (two or three UTF-8 bytes) as
    // wide as the font is high.
    Size textExtent(const TextFont& font, const std::string& text) override {
        int width = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c < 0x80) width += font.height / 2;
            else if ((c & 0xC0) != 0x80) width += font.height;
        }
        return {width, font.height};
    }
    void drawTextInFont(Surface& surface, int x, int y, const std::string& text, Pixel colour,
                        const TextFont& font) override {
        texts.push_back({&surface, x, y, text, colour, font});
    }
    bool toolWindowEnabled = true;
    void enableToolWindow(bool enabled) override { toolWindowEnabled = enabled; }
    void openHelp() override { ++helpOpens; }
    int historyOpens = 0;
    void openHistoryWindow() override { ++historyOpens; }
    void openWebPage(const std::string& url) override { webPages.push_back(url); }
    int waveDevice(WaveCall call, const WaveFormat& format, WaveBuffer& buffer) override {
        waveCalls.push_back(call);
        if (auto f = waveFailures.find(call); f != waveFailures.end()) return f->second;
        switch (call) {
        case WaveCall::OutOpen: outFormats.push_back(format); break;
        case WaveCall::OutWrite:
            written.emplace_back(buffer.Data, buffer.Data + buffer.Length);
            writtenHeaders.push_back(buffer);
            posted.push_back({WaveMessage::OutDone, buffer.User});
            break;
        case WaveCall::OutReset: ++waveOutStops; break;
        case WaveCall::InOpen:
            inFormats.push_back(format);
            posted.push_back({WaveMessage::InOpen});
            break;
        case WaveCall::InAddBuffer: recordingInto = &buffer; break;
        case WaveCall::InReset: // the buffer comes back as it stands
            if (recordingInto) posted.push_back({WaveMessage::InData});
            recordingInto = nullptr;
            break;
        case WaveCall::InClose: posted.push_back({WaveMessage::InClose}); break;
        default: break;
        }
        return 0;
    }
    // The input device delivers `bytes` bytes of `value` and, once the buffer
    // is full, returns it.
    void record(std::uint32_t bytes, std::uint8_t value) {
        if (!recordingInto) return;
        const std::uint32_t room = recordingInto->Length - recordingInto->BytesRecorded;
        const std::uint32_t n = bytes < room ? bytes : room;
        std::fill_n(recordingInto->Data + recordingInto->BytesRecorded, n, value);
        recordingInto->BytesRecorded += n;
        if (recordingInto->BytesRecorded == recordingInto->Length) {
            posted.push_back({WaveMessage::InData});
            recordingInto = nullptr;
        }
    }
    int callCount(WaveCall call) const {
        return static_cast<int>(std::count(waveCalls.begin(), waveCalls.end(), call));
    }
    bool sendToHelper(std::uintptr_t number, const std::string& block) override {
        if (!helperPresent) return false;
        helperRecords.push_back({number, block});
        if (onHelperRecord) onHelperRecord(number, block);
        return true;
    }
    bool sendImageToHelper(const std::string& imagePath) override {
        if (!helperPresent) return false;
        helperImages.push_back(imagePath);
        return true;
    }
    WindowId frameWindow() override { return frame; }

    // Context menus as shown, and the item ids the user picks (0 dismisses).
    std::vector<std::vector<PopupItem>> popups;
    std::deque<int> popupChoices;
    WindowId captured = 0;
    int popupMenu(WindowId, int, int, const std::vector<PopupItem>& items) override {
        popups.push_back(items);
        if (popupChoices.empty()) return 0;
        int id = popupChoices.front();
        popupChoices.pop_front();
        return id;
    }
    void captureMouse(WindowId w) override { captured = w; }
    void releaseMouse() override { captured = 0; }
    // Windows lie where moveWindow put them, the client area at their corner;
    // the active one is on top, the others follow in the order they were made.
    WindowId soundWindowAt(WindowId from, int clientX, int clientY, Point& at) override {
        const FakeWindow& f = windows[from];
        const int x = f.x + clientX, y = f.y + clientY;
        auto holds = [&](WindowId w) {
            const FakeWindow& t = windows[w];
            if (t.destroyed || x < t.x || y < t.y || x >= t.x + t.width || y >= t.y + t.height) return false;
            at = {x - t.x, y - t.y};
            return true;
        };
        if (activeWindow && holds(activeWindow)) return activeWindow;
        for (auto& [w, t] : windows)
            if (w != activeWindow && holds(w)) return w;
        return 0;
    }
    void activateWindow(WindowId w) override { activeWindow = w; }

    // Helpers for tests
    const RecordedBox& lastBox() const { return boxes.back(); }
    int boxCount(const std::string& caption) const {
        int n = 0;
        for (const auto& b : boxes) n += b.caption == caption;
        return n;
    }
};

} // namespace wavora::test
