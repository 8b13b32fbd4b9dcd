#pragma once
// The real editor started inside the test process, in a fresh copy of the
// install folder, so its windows and menus can be read back directly.
// Message boxes and dialogs are answered from a second thread, as a user at
// the keyboard would, while the editor's own thread sits in their loops.
#include "core/EditorState.h"
#include "app/AppWin32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

std::string utf8(const std::wstring& w);
std::wstring wide(const std::string& s);
std::wstring textOf(HWND w);

// Runs the editor's messages for a while (or until `done` holds).
void pump(std::chrono::milliseconds duration, const std::function<bool()>& done = nullptr);

// A top-level window of this process by class and (optional) title.
HWND findOwnWindow(const wchar_t* cls, const wchar_t* title = nullptr);

struct SeenBox {
    std::string caption;
    std::string text;
};

// Answers every message box of this process from another thread: the rule
// gives the answer by caption; boxes are recorded in the order seen. Without a
// rule a box is answered as a cautious user would: "いいえ" to a question, OK
// to anything else, so no test can hang on a box nobody expected.
class BoxAnswerer {
public:
    using Rule = std::function<int(const std::string& caption, const std::string& text)>;
    explicit BoxAnswerer(Rule rule = nullptr);
    ~BoxAnswerer();
    std::vector<SeenBox> seen();

private:
    void run();
    Rule rule_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> answered_;
    std::thread thread_;
};

// Runs `action` on a second thread once a window of class `cls` (and title,
// when given) of this process appears, while the test thread runs `trigger`
// (which may block in a modal loop). Returns false when the window never came.
bool whileWindowOpen(const wchar_t* cls, const wchar_t* title, const std::function<void()>& trigger,
                     const std::function<void(HWND)>& action,
                     std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Answers the helper's common file dialog titled `title` from another
// thread: once it shows, the full path of `file` is typed into it and OK
// pressed. Join the thread after the command that asks.
std::thread answerFileDialog(const std::wstring& title, const std::filesystem::path& file);

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Sends a menu command to the frame, as the menu would.
    void command(int id);
    wavora::EditorState& state() { return *wavora::app().state; }
    HWND frame() const { return wavora::app().frame; }
    std::filesystem::path folder;
    // Every box is answered and recorded here; a test that wants other
    // answers than the cautious default gives its own rule.
    std::unique_ptr<BoxAnswerer> boxes;
    void answerWith(BoxAnswerer::Rule rule) {
        boxes.reset();
        boxes = std::make_unique<BoxAnswerer>(std::move(rule));
    }
};

} // namespace wintest
