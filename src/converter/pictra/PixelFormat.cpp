#include "converter/pictra/BmpFile.h"

namespace pictra {

std::uint32_t bitmapFormatFor(std::uint32_t sourceFormat) {
    if (sourceFormat & pixel::Alpha) return pixel::Format32bppARGB;
    if (sourceFormat & pixel::Gdi) return sourceFormat;
    return pixel::Format32bppRGB;
}

} // namespace pictra
