#include "edit/HeldSound.h"

#include <algorithm>

namespace wavora {

HeldSound::HeldSound(EditorState& s) : slot_(s.activeSlot()) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
    samples_ = d.Samples;
    volume_ = d.VolumeGraph;
    pitch_ = d.PitchGraph;
    dataLen_ = d.DataLen;
    hasSelection_ = d.HasSelection;
    selStart_ = d.SelStart;
    selLength_ = d.SelLength;
    selRect_ = d.SelRect;
}

void HeldSound::putBack(EditorState& s) const {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
    // Copied into the slot's own buffers: a playback may be reading them.
    std::copy(samples_.begin(), samples_.end(), d.Samples.begin());
    std::copy(volume_.begin(), volume_.end(), d.VolumeGraph.begin());
    std::copy(pitch_.begin(), pitch_.end(), d.PitchGraph.begin());
    d.DataLen = dataLen_;
    d.HasSelection = hasSelection_;
    d.SelStart = selStart_;
    d.SelLength = selLength_;
    d.SelRect = selRect_;
    s.ActWndNum = slot_;
}

} // namespace wavora
