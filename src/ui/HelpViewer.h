#pragma once
// The help window's behaviour: the index of topic buttons, the page shown,
// its scrolling, and what the window remembers while the program runs (its
// place, the last page, the scroll position of every page it has shown). The
// window itself is a thin adapter behind HelpWindowHost.
#include "core/Platform.h"
#include "ui/HelpLayout.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace wavora {

struct HelpTopic {
    int id;
    const char* label;
    int x, y, width, height;
    const char* file;  // in the parts folder
    const char* title; // shown in the caption between " 【 " and " 】"
};
extern const std::array<HelpTopic, 22> HelpTopics;

constexpr int HelpMenuButtonId = 1000; // "メニューに戻る", always shown
constexpr int HelpTopmostCommand = 12310;
constexpr int HelpLineStep = 15;
constexpr int HelpIndexWidth = 500, HelpIndexHeight = 654; // the window as it is made at start-up
extern const char* const HelpBaseTitle;
extern const char* const HelpMenuButtonText;

struct HelpRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

class HelpWindowHost {
  public:
    virtual ~HelpWindowHost() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void showTopicButtons(bool shown) = 0;
    virtual HelpRect windowRect() = 0;
    virtual void placeWindow(const HelpRect& rect) = 0;
    virtual int clientHeight() = 0;
    virtual int scrollBarHeight() = 0; // of a horizontal scroll bar
    virtual int workAreaHeight() = 0;
    virtual void setScrollBar(int max, int page, int pos) = 0; // vertical, from 0
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void repaint() = 0;
    virtual void setTopmost(bool on) = 0;
};

enum class HelpScroll { LineUp, LineDown, Thumb, Other };

class HelpViewer {
  public:
    // `root` is the folder that holds "Wavora部品".
    HelpViewer(Platform& platform, HelpWindowHost& host, std::filesystem::path root);

    void open();
    void showPage(const std::string& relativePath, const std::string& title);
    void showIndex();
    void command(int id); // a button of the window or the popup item
    void scroll(HelpScroll request, int thumbPos = 0);
    void wheel(int delta); // positive: turned away from the user
    void close();

    bool topmost() const { return topmost_; }
    const char* topmostCaption() const; // the popup item's text now
    // Smallest and largest tracking sizes of the window.
    Size minTrackSize() const { return {layoutWidth_ - 10, 150}; }
    Size maxTrackSize() const { return {layoutWidth_ + 10, layoutHeight_}; }

    const Surface* surface() const { return surface_.get(); }
    int scrollPos() const { return scrollPos_; }
    int pageHeight() const { return pageHeight_; }
    const HelpPage& page() const { return page_; }
    const std::string& title() const { return lastTitle_; }
    bool onIndex() const { return onIndex_; }

  private:
    void scrollTo(int wanted);
    void applyScroll();
    bool makeSurface(int height);
    int* rememberedPos(); // of the page shown; null on the index

    Platform& platform_;
    HelpWindowHost& host_;
    std::filesystem::path root_;
    std::unique_ptr<Surface> surface_;
    HelpPage page_;
    std::string lastPath_, lastTitle_;
    std::vector<std::pair<std::string, int>> history_; // page title, scroll position
    HelpRect remembered_{};
    bool haveRemembered_ = false;
    bool onIndex_ = true;
    bool topmost_ = false;
    int pageHeight_ = HelpPageMinHeight;
    int scrollPos_ = 0;
    int layoutWidth_ = HelpIndexWidth, layoutHeight_ = HelpIndexHeight;
};

} // namespace wavora
