#include "wavfile/WavDecoders.h"

#include <algorithm>

namespace wavora {

namespace {

std::int32_t s16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)));
}

std::int32_t clip16(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -32768, 32767)); }

// IMA ADPCM: the quantiser's step sizes and how each code moves through them.
constexpr std::array<std::int32_t, 89> ImaSteps = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<std::int32_t, 8> ImaIndexMoves = {-1, -1, -1, -1, 2, 4, 6, 8};

struct ImaChannel {
    std::int32_t sample = 0;
    std::int32_t index = 0;
    std::int16_t next(std::uint8_t code) {
        const std::int32_t step = ImaSteps[static_cast<std::size_t>(index)];
        std::int32_t diff = step >> 3;
        if (code & 4) diff += step;
        if (code & 2) diff += step >> 1;
        if (code & 1) diff += step >> 2;
        sample = clip16(code & 8 ? sample - diff : sample + diff);
        index = std::clamp(index + ImaIndexMoves[code & 7], 0, static_cast<std::int32_t>(ImaSteps.size()) - 1);
        return static_cast<std::int16_t>(sample);
    }
};

// Microsoft ADPCM: how the step size follows each code.
constexpr std::array<std::int32_t, 16> MsAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                                       768, 614, 512, 409, 307, 230, 230, 230};
// A step never grows past this, so that a damaged block cannot overflow the
// arithmetic; real files stay far below it.
constexpr std::int64_t MsDeltaMax = 1 << 24;

struct MsChannel {
    std::int32_t coef1 = 0, coef2 = 0;
    std::int64_t delta = 16;
    std::int32_t sample1 = 0, sample2 = 0;
    std::int16_t next(std::uint8_t code) {
        const std::int64_t predicted = (static_cast<std::int64_t>(sample1) * coef1 + static_cast<std::int64_t>(sample2) * coef2) >> 8;
        const std::int32_t signedCode = code >= 8 ? code - 16 : code;
        const std::int32_t value = clip16(predicted + signedCode * delta);
        sample2 = sample1;
        sample1 = value;
        delta = std::clamp<std::int64_t>((MsAdaptation[code] * delta) >> 8, 16, MsDeltaMax);
        return static_cast<std::int16_t>(value);
    }
};

} // namespace

std::int16_t muLawToLinear(std::uint8_t code) {
    const std::uint8_t u = static_cast<std::uint8_t>(~code);
    const std::int32_t magnitude = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
    return static_cast<std::int16_t>(u & 0x80 ? 0x84 - magnitude : magnitude - 0x84);
}

std::int16_t aLawToLinear(std::uint8_t code) {
    const std::uint8_t a = code ^ 0x55;
    const std::int32_t segment = (a & 0x70) >> 4;
    std::int32_t magnitude = (a & 0x0F) << 4;
    if (segment == 0) magnitude += 8;
    else magnitude = (magnitude + 0x108) << (segment - 1);
    return static_cast<std::int16_t>(a & 0x80 ? magnitude : -magnitude);
}

// Each channel's 4-byte header holds the first sample; then words of four
// bytes (eight codes) per channel in turn. A mono block may end in part of a
// word.
std::size_t imaFramesIn(std::size_t bytes, std::size_t channels) {
    if (channels == 0 || bytes < 4 * channels) return 0;
    if (channels == 1) return 1 + 2 * (bytes - 4);
    return 1 + 8 * ((bytes - 4 * channels) / (4 * channels));
}

// Each channel's 7-byte header holds two samples; then one 4-bit code per
// sample, channels interleaved, the high half of a byte first.
std::size_t msAdpcmFramesIn(std::size_t bytes, std::size_t channels) {
    if (channels == 0 || bytes < 7 * channels) return 0;
    return 2 + (bytes - 7 * channels) * 2 / channels;
}

void decodeImaBlock(std::span<const std::uint8_t> block, std::size_t channels, std::size_t frames,
                    std::int16_t* out) {
    frames = std::min(frames, imaFramesIn(block.size(), channels));
    if (frames == 0) return;
    std::vector<ImaChannel> state(channels);
    for (std::size_t c = 0; c < channels; ++c) {
        state[c].sample = s16(block, 4 * c);
        state[c].index = std::min<std::int32_t>(block[4 * c + 2], static_cast<std::int32_t>(ImaSteps.size()) - 1);
        out[c] = static_cast<std::int16_t>(state[c].sample);
    }
    for (std::size_t j = 0; j + 1 < frames; ++j) {
        for (std::size_t c = 0; c < channels; ++c) {
            const std::uint8_t byte = block[4 * channels + ((j / 8) * channels + c) * 4 + (j % 8) / 2];
            out[(j + 1) * channels + c] = state[c].next(j % 2 ? byte >> 4 : byte & 0x0F);
        }
    }
}

const MsAdpcmCoefs& standardMsAdpcmCoefs() {
    static const MsAdpcmCoefs coefs = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    return coefs;
}

void decodeMsAdpcmBlock(std::span<const std::uint8_t> block, std::size_t channels, const MsAdpcmCoefs& coefs,
                        std::size_t frames, std::int16_t* out) {
    frames = std::min(frames, msAdpcmFramesIn(block.size(), channels));
    if (frames == 0) return;
    const MsAdpcmCoefs& table = coefs.empty() ? standardMsAdpcmCoefs() : coefs;
    std::vector<MsChannel> state(channels);
    for (std::size_t c = 0; c < channels; ++c) {
        // A predictor number past the list (a damaged block) takes the last pair.
        const auto& pair = table[std::min<std::size_t>(block[c], table.size() - 1)];
        MsChannel& ch = state[c];
        ch.coef1 = pair[0];
        ch.coef2 = pair[1];
        ch.delta = s16(block, channels + 2 * c);
        ch.sample1 = s16(block, 3 * channels + 2 * c);
        ch.sample2 = s16(block, 5 * channels + 2 * c);
        out[c] = static_cast<std::int16_t>(ch.sample2);
        if (frames > 1) out[channels + c] = static_cast<std::int16_t>(ch.sample1);
    }
    const std::size_t codes = frames > 2 ? (frames - 2) * channels : 0;
    for (std::size_t k = 0; k < codes; ++k) {
        const std::uint8_t byte = block[7 * channels + k / 2];
        out[2 * channels + k] = state[k % channels].next(k % 2 ? byte & 0x0F : byte >> 4);
    }
}

} // namespace wavora
