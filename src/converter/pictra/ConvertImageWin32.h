#pragma once
// Pictra's image conversion: decode with the imaging library, write the BMP
// file with Pictra's own writer.
#include <string>

namespace pictra {

// Turns the image at `imagePath` into a BMP file at `outputPath`. An image
// that cannot be decoded writes nothing, so an older output file stays.
bool ConvertImage(const std::wstring& imagePath, const std::wstring& outputPath);

} // namespace pictra
