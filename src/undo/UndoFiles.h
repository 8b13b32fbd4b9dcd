#pragma once
// The working files of the undo store: their names and the byte layouts of the
// records they hold. Despite the ".txt" names the files are raw bytes; integers
// are 32-bit little-endian at unaligned offsets. The recovery record kept
// beside them for every open sound is laid out in RecoveryRecord.h.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>

namespace wavora {

// What one file of a step holds. The first four belong to the slot (numbered by
// slot), the last four to the active layer (numbered by layer id, 0 = background).
enum class UndoPart { Info, Nami, Vol, Hz, LyInfo, LyNami, LyVol, LyHz };

constexpr std::array<UndoPart, 4> SoundParts{UndoPart::Info, UndoPart::Nami, UndoPart::Vol, UndoPart::Hz};
constexpr std::array<UndoPart, 4> LayerParts{UndoPart::LyInfo, UndoPart::LyNami, UndoPart::LyVol,
                                             UndoPart::LyHz};

constexpr std::size_t StateRecordSize = 53;
constexpr std::size_t LayerRecordSize = 77;
// The layer record is assembled with all six list positions, but the sixth
// (offset 77) lies past the bytes that are written.
constexpr std::size_t LayerRecordAssembledSize = 81;
constexpr std::size_t GenOnHeaderSize = 9;
constexpr int UndoFolderSteps = 21; // steps 0..20 can be reached; the shift also leaves a step 21

// "WavoraUnDo/UnDo_Info_03_12.txt" and its siblings.
std::string undoFileName(UndoPart part, int owner, int step);
// "WavoraUnDo/GenOn_03.txt"
std::string genOnFileName(int slot);
extern const char* const UndoFolderName;

void putInt32(std::uint8_t* at, std::int32_t value);
std::int32_t getInt32(const std::uint8_t* at);

// "UnDo_Info": the slot's own fields.
struct StateRecord {
    std::uint8_t currentTool = 0;
    std::int32_t slot = 0;
    std::int32_t dataLen = 0;
    std::int32_t hasSelection = 0;
    std::int32_t hasMarker = 0;
    std::int32_t selLeft = 0;
    std::int32_t selStart = 0;
    std::int32_t selRight = 0;
    std::int32_t selLength = 0;
    std::int32_t layerCount = 0;
    std::int32_t activeLayer = 0;
    std::int32_t channels = 0;
    std::int32_t bitsParSample = 0;
    std::int32_t srate = 0;
};

// "UnDo_LyInfo": the active layer and the slot's layer list. Offset 53 is
// never filled in: the file carries whatever the buffer held there.
struct LayerRecord {
    std::uint8_t currentTool = 0;
    std::int32_t slot = 0;
    std::int32_t layer = 0;
    std::int32_t layerCount = 0;
    std::int32_t pixelX = 0;
    std::int32_t screenX = 0;
    std::int32_t lyLen = 0;
    std::int32_t lyStart = 0;
    std::int32_t hasSelection = 0;
    std::int32_t selLeft = 0;
    std::int32_t selStart = 0;
    std::int32_t selRight = 0;
    std::int32_t selLength = 0;
    std::int32_t layerAgain = 0;            // the layer id once more, at offset 49
    std::array<std::int32_t, 7> layerIds{}; // positions 1..6; 0 unused
};

void packStateRecord(const StateRecord& r, std::uint8_t* buffer); // writes StateRecordSize bytes
StateRecord unpackStateRecord(const std::uint8_t* buffer);        // reads StateRecordSize bytes
void packLayerRecord(const LayerRecord& r, std::uint8_t* buffer); // writes LayerRecordAssembledSize bytes
LayerRecord unpackLayerRecord(const std::uint8_t* buffer);        // reads LayerRecordAssembledSize bytes

// Creates (or replaces) the file with the pieces one after the other. False
// when the file could not be written completely.
bool writeFilePieces(const std::filesystem::path& file,
                     std::initializer_list<std::span<const std::uint8_t>> pieces);
// Reads exactly `into.size()` bytes starting at `offset`. False when the file
// cannot be opened or is too short; `into` may then hold part of the bytes.
bool readFileBytes(const std::filesystem::path& file, std::size_t offset, std::span<std::uint8_t> into);

} // namespace wavora
