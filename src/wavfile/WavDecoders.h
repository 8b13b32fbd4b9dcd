#pragma once
// The compressed encodings of WAV files, decoded to 16-bit linear samples:
// the two logarithmic telephone codes (one byte a sample) and the two ADPCM
// codes (four bits a sample, in blocks that each start from a stored state).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace wavora {

std::int16_t muLawToLinear(std::uint8_t code);
std::int16_t aLawToLinear(std::uint8_t code);

// Frames a block of `bytes` bytes holds for `channels` channels (a block cut
// short by the end of the file holds the frames whose codes are all there).
std::size_t imaFramesIn(std::size_t bytes, std::size_t channels);
std::size_t msAdpcmFramesIn(std::size_t bytes, std::size_t channels);

// Decodes the first `frames` frames of one block (at most what the block
// holds) into `out`, channels interleaved.
void decodeImaBlock(std::span<const std::uint8_t> block, std::size_t channels, std::size_t frames,
                    std::int16_t* out);

// The predictor pairs of a Microsoft ADPCM file, as its format chunk lists
// them (the seven standard pairs when it lists none).
using MsAdpcmCoefs = std::vector<std::array<std::int32_t, 2>>;
const MsAdpcmCoefs& standardMsAdpcmCoefs();
void decodeMsAdpcmBlock(std::span<const std::uint8_t> block, std::size_t channels, const MsAdpcmCoefs& coefs,
                        std::size_t frames, std::int16_t* out);

} // namespace wavora
