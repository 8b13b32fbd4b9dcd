#pragma once
// The off-screen surfaces of one sound window, made with the window and
// released with it.
#include "core/Surface.h"
#include "doc/Limits.h"

#include <array>
#include <memory>

namespace wavora {

struct WindowSurfaces {
    std::unique_ptr<Surface> WaveSurface;    // 1000 x 768: the three graphs
    std::unique_ptr<Surface> ContentSurface; // 1000 x 768: graphs, layers, marker, selection, play line
    std::unique_ptr<Surface> OverlaySurface; // 1000 x 768: red lines and the time scale
    std::unique_ptr<Surface> LabelStrip;     // 200 x 1536: band labels and marks
    std::unique_ptr<Surface> ComposeSurface; // the final picture
    std::array<std::unique_ptr<Surface>, LayerTableSize> LayerPictures;
};

} // namespace wavora
