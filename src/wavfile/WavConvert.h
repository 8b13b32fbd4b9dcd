#pragma once
// WAV files as other programs write them, converted into a sound the editor
// can hold: chunks in any order, PCM of 8 to 32 bits, float, the extensible
// form, u-law, A-law, IMA and Microsoft ADPCM. One or two channels stay as
// they are, more are mixed to mono; 8-bit PCM stays 8-bit, everything else
// becomes 16-bit. Only the first DATALENMAX bytes of the result are kept,
// and only what they need is read, so a huge file costs no more than a short
// one.
#include "wavfile/ByteSource.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wavora {

// The highest rate a file may bring: the bytes per second of a 16-bit stereo
// sound stay within 32 bits, and a rate of 0 is never divided by.
constexpr std::uint32_t MaxUsableRate = 0x7FFFFFF;

extern const char* const ConvertRefusedCaption; // "(;ﾟДﾟ)変換できません"
extern const char* const NotWavText;            // not RIFF/WAVE (or no file at all)
extern const char* const NoSoundDataText;       // no "fmt " or "data", or not one whole sample
std::string unknownFormatText(std::uint32_t formatTag);

extern const char* const LengthCutCaption; // "(o・ェ・)"

struct ConvertedWav {
    std::string refusal; // the refusal's text; empty when the file was converted
    std::uint16_t Channels = 1;
    std::int32_t SRATE = 0;
    std::uint8_t BitsParSample = 16;
    std::vector<std::uint8_t> Samples; // the frames kept, at most DATALENMAX bytes
    std::uint64_t FileFrames = 0;      // frames of the whole file
    std::uint64_t KeptFrames = 0;

    bool ok() const { return refusal.empty(); }
    bool cut() const { return KeptFrames < FileFrames; }
};

ConvertedWav convertWav(ByteSource& source);
// A folder, or a file that cannot be read, is refused as not being a WAV file.
ConvertedWav convertWavFile(const std::filesystem::path& path);

// What the user is told once when a file was longer than a sound can be.
std::string lengthCutText(const ConvertedWav& sound);

} // namespace wavora
