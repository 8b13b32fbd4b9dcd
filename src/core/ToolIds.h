#pragma once
// The tool numbers of CurrentTool. The tool window chooses among them and the
// mouse tools act on them; both know them from here.
#include <cstdint>

namespace wavora {

constexpr std::uint8_t ToolEraser = 0, ToolCurve = 1, ToolLine = 2, ToolSelection = 3, ToolZoom = 4,
                       ToolLayerMove = 22, ToolMakeLayer = 23;

} // namespace wavora
