#include "undo/UndoFiles.h"

#include <cstdio>
#include <fstream>

namespace wavora {

const char* const UndoFolderName = "WavoraUnDo";

namespace {

const char* partStem(UndoPart part) {
    switch (part) {
    case UndoPart::Info:
        return "UnDo_Info";
    case UndoPart::Nami:
        return "UnDo_Nami";
    case UndoPart::Vol:
        return "UnDo_Vol";
    case UndoPart::Hz:
        return "UnDo_Hz";
    case UndoPart::LyInfo:
        return "UnDo_LyInfo";
    case UndoPart::LyNami:
        return "UnDo_LyNami";
    case UndoPart::LyVol:
        return "UnDo_LyVol";
    case UndoPart::LyHz:
        return "UnDo_LyHz";
    }
    return "UnDo_Info";
}

// Offsets of the records, in the order the fields are laid out.
namespace state {
constexpr std::size_t Tool = 0, Slot = 1, DataLen = 5, HasSelection = 9, HasMarker = 13, SelLeft = 17,
                      SelStart = 21, SelRight = 25, SelLength = 29, LayerCount = 33, ActiveLayer = 37,
                      Channels = 41, Bits = 45, Rate = 49;
}
namespace layer {
constexpr std::size_t Tool = 0, Slot = 1, Layer = 5, LayerCount = 9, PixelX = 13, ScreenX = 17, LyLen = 21,
                      LyStart = 25, HasSelection = 29, SelLeft = 33, SelStart = 37, SelRight = 41,
                      SelLength = 45, LayerAgain = 49, Ids = 53; // position i at Ids + 4 i
}

} // namespace

std::string undoFileName(UndoPart part, int owner, int step) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "_%02d_%02d.txt", owner, step);
    return std::string(UndoFolderName) + "/" + partStem(part) + digits;
}

std::string genOnFileName(int slot) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d.txt", slot);
    return std::string(UndoFolderName) + "/GenOn_" + digits;
}

void putInt32(std::uint8_t* at, std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t getInt32(const std::uint8_t* at) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

void packStateRecord(const StateRecord& r, std::uint8_t* b) {
    b[state::Tool] = r.currentTool;
    putInt32(b + state::Slot, r.slot);
    putInt32(b + state::DataLen, r.dataLen);
    putInt32(b + state::HasSelection, r.hasSelection);
    putInt32(b + state::HasMarker, r.hasMarker);
    putInt32(b + state::SelLeft, r.selLeft);
    putInt32(b + state::SelStart, r.selStart);
    putInt32(b + state::SelRight, r.selRight);
    putInt32(b + state::SelLength, r.selLength);
    putInt32(b + state::LayerCount, r.layerCount);
    putInt32(b + state::ActiveLayer, r.activeLayer);
    putInt32(b + state::Channels, r.channels);
    putInt32(b + state::Bits, r.bitsParSample);
    putInt32(b + state::Rate, r.srate);
}

StateRecord unpackStateRecord(const std::uint8_t* b) {
    StateRecord r;
    r.currentTool = b[state::Tool];
    r.slot = getInt32(b + state::Slot);
    r.dataLen = getInt32(b + state::DataLen);
    r.hasSelection = getInt32(b + state::HasSelection);
    r.hasMarker = getInt32(b + state::HasMarker);
    r.selLeft = getInt32(b + state::SelLeft);
    r.selStart = getInt32(b + state::SelStart);
    r.selRight = getInt32(b + state::SelRight);
    r.selLength = getInt32(b + state::SelLength);
    r.layerCount = getInt32(b + state::LayerCount);
    r.activeLayer = getInt32(b + state::ActiveLayer);
    r.channels = getInt32(b + state::Channels);
    r.bitsParSample = getInt32(b + state::Bits);
    r.srate = getInt32(b + state::Rate);
    return r;
}

void packLayerRecord(const LayerRecord& r, std::uint8_t* b) {
    b[layer::Tool] = r.currentTool;
    putInt32(b + layer::Slot, r.slot);
    putInt32(b + layer::Layer, r.layer);
    putInt32(b + layer::LayerCount, r.layerCount);
    putInt32(b + layer::PixelX, r.pixelX);
    putInt32(b + layer::ScreenX, r.screenX);
    putInt32(b + layer::LyLen, r.lyLen);
    putInt32(b + layer::LyStart, r.lyStart);
    putInt32(b + layer::HasSelection, r.hasSelection);
    putInt32(b + layer::SelLeft, r.selLeft);
    putInt32(b + layer::SelStart, r.selStart);
    putInt32(b + layer::SelRight, r.selRight);
    putInt32(b + layer::SelLength, r.selLength);
    putInt32(b + layer::LayerAgain, r.layerAgain);
    // Position 0 of the list is unused, so offset 53 stays as the buffer had it.
    for (std::size_t i = 1; i <= 6; ++i)
        putInt32(b + layer::Ids + 4 * i, r.layerIds[i]);
}

LayerRecord unpackLayerRecord(const std::uint8_t* b) {
    LayerRecord r;
    r.currentTool = b[layer::Tool];
    r.slot = getInt32(b + layer::Slot);
    r.layer = getInt32(b + layer::Layer);
    r.layerCount = getInt32(b + layer::LayerCount);
    r.pixelX = getInt32(b + layer::PixelX);
    r.screenX = getInt32(b + layer::ScreenX);
    r.lyLen = getInt32(b + layer::LyLen);
    r.lyStart = getInt32(b + layer::LyStart);
    r.hasSelection = getInt32(b + layer::HasSelection);
    r.selLeft = getInt32(b + layer::SelLeft);
    r.selStart = getInt32(b + layer::SelStart);
    r.selRight = getInt32(b + layer::SelRight);
    r.selLength = getInt32(b + layer::SelLength);
    r.layerAgain = getInt32(b + layer::LayerAgain);
    for (std::size_t i = 1; i <= 6; ++i)
        r.layerIds[i] = getInt32(b + layer::Ids + 4 * i);
    return r;
}

bool writeFilePieces(const std::filesystem::path& file,
                     std::initializer_list<std::span<const std::uint8_t>> pieces) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (std::span<const std::uint8_t> piece : pieces)
        out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size()));
    out.close();
    return static_cast<bool>(out);
}

bool readFileBytes(const std::filesystem::path& file, std::size_t offset, std::span<std::uint8_t> into) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) return false;
    in.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(into.size()));
    return static_cast<std::size_t>(in.gcount()) == into.size();
}

} // namespace wavora
