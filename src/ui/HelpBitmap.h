#pragma once
// The pictures of the help pages are plain BMP files in the parts folder. They
// are read here, without the platform, so a page lays out the same way in the
// tests as in the program.
#include "core/Surface.h"

#include <memory>
#include <string>
#include <string_view>

namespace wavora {

// Uncompressed BMP files of 1, 4, 8, 24 or 32 bits per pixel, stored from the
// bottom up or from the top down, at most 4096 pixels each way; null for
// anything else or for a file whose sizes do not add up.
// With `overWhite` the alpha bytes of a 32-bit file that has any are laid
// over white (a picture converted from a PNG with transparency); a file whose
// alpha bytes are all 0 is taken as opaque.
std::shared_ptr<Surface> readBmp(std::string_view bytes, bool overWhite = false);
std::shared_ptr<Surface> loadBmpFile(const std::string& pathUtf8, bool overWhite = false);

} // namespace wavora
