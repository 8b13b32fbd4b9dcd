#pragma once
// Where the items that handlers rewrite live in the frame's menu bar.

namespace wavora {

// Popup positions, left to right.
constexpr int FilePopup = 0;
constexpr int EditPopup = 1;
constexpr int RandomPopup = 3;
constexpr int PlayPopup = 5;
constexpr int MenuPopupCount = 14;

// Items of the 再生 popup that their commands rewrite.
constexpr int FixVolumeGraphPosition = 4;
constexpr int FixPitchGraphPosition = 5;

} // namespace wavora
