#pragma once
// PCM WAV files as the editor reads and writes them: only the canonical
// 44-byte header (one 16-byte "fmt " chunk, the "data" chunk at offset 36).
// The parser sees nothing but bytes, so a file and a block of memory are read
// alike; the writer never leaves a half-written file in place of an old one.
#include "core/EditorState.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wavora {

constexpr std::int32_t WavHeaderSize = 44;
constexpr std::int32_t WavFileMin = 45;          // the header and at least one byte
constexpr std::int32_t WavFileMax = DATALENMAX;  // the whole file must fit one buffer

// What the checks found in a file's bytes. The format fields are set in the
// order the checks store them, so a file refused at a later check still
// carries the fields stored before it.
struct WavParse {
    bool ok = false;
    std::string caption; // the refusal's message when !ok
    std::string text;
    std::optional<std::uint16_t> channels;
    std::optional<std::uint8_t> bits;
    std::optional<std::int32_t> rate;
    std::int32_t dataLength = 0; // bytes to copy from offset 44 (already cut to what is there)
};

WavParse parseWav(std::span<const std::uint8_t> file);

// The checks applied to the given slot: on success its Channels, BitsParSample
// and SRATE are set, the data is copied to `destination` (DATALENMAX bytes)
// and its length stored in `length`; result 0. On failure one message box,
// `destination` and `length` unchanged (the fields stored before the failing
// check keep their new values); result -1.
int readWavBytes(EditorState& s, int slot, std::span<const std::uint8_t> file, std::vector<std::uint8_t>& destination,
                 std::int32_t& length);
// The same for a file on disk; a file that cannot be read, or whose size is
// outside 45..500000 bytes, is refused with "このファイルは開けません。m(_ _)m".
int readWav(EditorState& s, int slot, const std::filesystem::path& path, std::vector<std::uint8_t>& destination,
            std::int32_t& length);

// The bytes of a file: the header describing the format, the data and one
// trailing zero byte outside the RIFF size.
std::vector<std::uint8_t> wavFileBytes(std::span<const std::uint8_t> data, std::uint16_t channels, std::int32_t rate,
                                       std::uint8_t bits);

// Why a file could not be written, in plain words for the user; empty when it
// was written.
struct WriteFailure {
    std::string reason;
    explicit operator bool() const { return !reason.empty(); }
};

// Writes the bytes to a new file beside `path` and only then puts it in the
// place of `path`. When anything fails the old file (if any) is left exactly
// as it was and no temporary file stays behind.
WriteFailure replaceFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The slot's rate and bits with the given data and channel count.
WriteFailure writeWav(EditorState& s, int slot, const std::filesystem::path& path, const std::uint8_t* data,
                      std::int32_t length, std::uint16_t channels);

} // namespace wavora
