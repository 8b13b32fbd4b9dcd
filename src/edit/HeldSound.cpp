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

void HeldSound::putBackSamples(EditorState& s) const {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
    // Copied into the slot's own buffer: a playback may be reading it.
    std::copy(samples_.begin(), samples_.end(), d.Samples.begin());
    d.DataLen = dataLen_;
    s.ActWndNum = slot_;
}

void HeldSound::putBack(EditorState& s) const {
    putBackSamples(s);
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot_)];
    std::copy(volume_.begin(), volume_.end(), d.VolumeGraph.begin());
    std::copy(pitch_.begin(), pitch_.end(), d.PitchGraph.begin());
    d.HasSelection = hasSelection_;
    d.SelStart = selStart_;
    d.SelLength = selLength_;
    d.SelRect = selRect_;
}

} // namespace wavora
