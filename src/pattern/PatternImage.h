#pragma once
// "画像ファイルを開く" in the pattern window: a picture to trace a wave from.
// The editor reads BMP files itself; any other image is turned into one by
// the helper program first.
#include "core/EditorState.h"
#include "pattern/PatternWindow.h"

#include <string>

namespace wavora {

// True when the path names a BMP file: its extension is ".bmp" in any case.
bool isBmpPath(const std::string& pathUtf8);

// Asks for an image, converts it when it is no BMP, and makes it the new
// picture at its own size. When no picture comes of it the previous one
// stays and the user is told why.
void OpenImageAsPicture(EditorState& s, PatternWindow& w);

} // namespace wavora
