#pragma once
// A slot's sound, graphs, length and selection held in memory, so that an
// effect's live preview can start every try from the same sound and Cancel
// can put it back.
#include "core/EditorState.h"

#include <cstdint>
#include <vector>

namespace wavora {

class HeldSound {
  public:
    // Holds the active slot as it is now.
    explicit HeldSound(EditorState& s);
    // The slot as it was held, and active again.
    void putBack(EditorState& s) const;
    // Only the samples and the length, into the slot as it is otherwise.
    void putBackSamples(EditorState& s) const;
    int slot() const { return slot_; }

  private:
    int slot_;
    std::vector<std::uint8_t> samples_, volume_, pitch_;
    std::int32_t dataLen_;
    std::int32_t hasSelection_, selStart_, selLength_;
    Rect selRect_;
};

} // namespace wavora
