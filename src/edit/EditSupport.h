#pragma once
// What the editing commands share: the guards and messages, filling the room
// behind a sound, the scroll range after a change of length, and redrawing.
#include "core/EditorState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wavora {

// Takes BusyFlag for one command and gives it back on every way out, unless
// the command hands it on (release() early, or keep()).
class BusyGuard {
  public:
    explicit BusyGuard(EditorState& s) : s_(s), held_(s.BusyFlag == 0) {
        if (held_) s_.BusyFlag = 1;
    }
    ~BusyGuard() {
        if (held_) s_.BusyFlag = 0;
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    // False when another command was running: return at once.
    bool acquired() const { return held_; }

  private:
    EditorState& s_;
    bool held_;
};

// The no-sound-window face message when there is no sound window.
bool haveSoundWindow(EditorState& s);
// The no-selection message when the active sound has no selection.
bool haveSelection(EditorState& s);

// Silence in Samples and neutral values in both graphs, bytes from..to-1
// (held inside the buffers).
void fillSilence(SoundDoc& d, std::int64_t from, std::int64_t to);

// After DataLen changed: the horizontal scroll range follows the new length.
void updateScrollRange(EditorState& s, int slot);

// Graphs drawn again from the data, then the window repainted: the paint of
// a sound that is playing keeps the old picture, and a preview must show.
void redrawSlot(EditorState& s, int slot);

// The slots that have a window, in slot order.
std::vector<int> windowSlots(const EditorState& s);
// A window's title as a dialog row shows it: a long one is cut so that the
// dialog keeps to the screen.
std::string choiceLabel(EditorState& s, int slot);

// The message box every refusal of this subsystem shows.
void refuse(EditorState& s, const std::string& caption, const std::string& text);

} // namespace wavora
