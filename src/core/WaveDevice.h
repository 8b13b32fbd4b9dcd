#pragma once
// What the program and the wave devices hand each other: the PCM format, the
// one buffer of a playback or a recording, and the names of the device calls.
#include <cstdint>

namespace wavora {

// A PCM format as the wave devices take it.
struct WaveFormat {
    std::uint16_t FormatTag = 1; // PCM
    std::uint16_t Channels = 1;
    std::uint32_t SamplesPerSec = 44100;
    std::uint32_t AvgBytesPerSec = 44100;
    std::uint16_t BlockAlign = 1;
    std::uint16_t BitsPerSample = 8;
};

// The one buffer a wave device plays from or records into. The device owns it
// (and the bytes it points to) from its preparation until it is released.
struct WaveBuffer {
    std::uint8_t* Data = nullptr;
    std::uint32_t Length = 0;
    std::uint32_t BytesRecorded = 0;
    std::uint32_t User = 0; // tells the device's reports of one playback from another's
    std::uint32_t Flags = 0;
    std::uint32_t Loops = 0;
};
constexpr std::uint32_t WaveBeginLoop = 4;
constexpr std::uint32_t WaveEndLoop = 8;

// Every call of the two wave devices, in the order of the names below.
enum class WaveCall {
    OutOpen, OutPrepareHeader, OutWrite, OutReset, OutUnprepareHeader, OutClose,
    InOpen, InPrepareHeader, InAddBuffer, InStart, InStop, InReset, InUnprepareHeader, InClose
};
// The call's name, the caption of its error message.
inline const char* waveCallName(WaveCall call) {
    static const char* const names[] = {"waveOutOpen",   "waveOutPrepareHeader",  "waveOutWrite",
                                        "waveOutReset",  "waveOutUnprepareHeader", "waveOutClose",
                                        "waveInOpen",    "waveInPrepareHeader",   "waveInAddBuffer",
                                        "waveInStart",   "waveInStop",            "waveInReset",
                                        "waveInUnprepareHeader", "waveInClose"};
    return names[static_cast<int>(call)];
}

} // namespace wavora
