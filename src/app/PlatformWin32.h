#pragma once
// The platform with the real Windows calls.
#include "core/Platform.h"

#include <memory>

namespace wavora {

class Win32Platform : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
    MsgAnswer messageBox(const MessageBoxSpec& spec) override;
    std::uint32_t tickCount() override;
    void debugLine(const std::string& text) override;
    void setMenuItem(const std::string& caption, int popup, int id, int position, bool enabled) override;
    void checkMenuItem(int id, bool checked) override;
    int runModalWindow(EditorState& state, const std::string& className) override;
    void waitDialogCreate() override;
    bool waitDialogExists() override;
    void waitDialogSetRange(std::uint32_t total) override;
    void waitDialogStep(std::uint32_t times) override;
    void waitDialogSetFace(const std::string& face) override;
    void waitDialogDestroy() override;
    void setWaitCursor(bool on) override;
    WindowId createSoundWindow(const std::string& title) override;
    std::string windowTitle(WindowId window) override;
    void setWindowTitle(WindowId window, const std::string& title) override;
    void moveWindow(WindowId window, int x, int y, int width, int height) override;
    Size clientSize(WindowId window) override;
    Size mdiClientSize() override;
    WindowId activeSoundWindow() override;
    void invalidate(WindowId window) override;
    void enableWindow(WindowId window, bool enabled) override;
    void requestClose(WindowId window) override;
    void destroyWindow(WindowId window) override;
    void setScrollBar(WindowId window, ScrollBar bar, int min, int max, int page, int pos) override;
    std::unique_ptr<Surface> createSurface(int width, int height) override;
    void drawText(Surface& surface, int x, int y, const std::string& text, Pixel colour) override;
    Size textExtent(const TextFont& font, const std::string& text) override;
    void drawTextInFont(Surface& surface, int x, int y, const std::string& text, Pixel colour,
                        const TextFont& font) override;
    void enableToolWindow(bool enabled) override;
    void openHelp() override;
    void openHistoryWindow() override;
    void openWebPage(const std::string& url) override;
    int waveDevice(WaveCall call, const WaveFormat& format, WaveBuffer& buffer) override;
    int popupMenu(WindowId window, int clientX, int clientY, const std::vector<PopupItem>& items) override;
    void captureMouse(WindowId window) override;
    void releaseMouse() override;
    WindowId soundWindowAt(WindowId from, int clientX, int clientY, Point& at) override;
    void activateWindow(WindowId window) override;
    bool sendToHelper(std::uintptr_t number, const std::string& block) override;
    bool sendImageToHelper(const std::string& imagePath) override;
    WindowId frameWindow() override;

private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_; // made as they are first asked for, kept until the end
};

} // namespace wavora
