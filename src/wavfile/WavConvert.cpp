// The converting reader, top to bottom: the texts; the chunk walk; the
// format chunk turned into a layout (or a refusal); the collector that mixes
// and narrows the samples; the two decoding loops (frame by frame, block by
// block); the whole conversion.
#include "wavfile/WavConvert.h"

#include "doc/Limits.h"
#include "text/NumberText.h"
#include "wavfile/WavDecoders.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>

namespace wavora {

const char* const ConvertRefusedCaption = "(;ﾟДﾟ)変換できません";
const char* const NotWavText = "このファイルはWAVファイルではありません。";
const char* const NoSoundDataText = "音のデータが見つかりません。";
const char* const LengthCutCaption = "(o・ェ・)";

std::string unknownFormatText(std::uint32_t formatTag) {
    return "形式番号" + intText(formatTag) + "のWAVファイルは変換できません。";
}

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t u16(Bytes b, std::size_t at) { return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t u32(Bytes b, std::size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }
std::int32_t s16(Bytes b, std::size_t at) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16(b, at))); }
bool tagIs(Bytes b, std::size_t at, const char* tag) { return std::memcmp(b.data() + at, tag, 4) == 0; }

constexpr std::uint32_t TagPcm = 1, TagMsAdpcm = 2, TagFloat = 3, TagALaw = 6, TagMuLaw = 7, TagIma = 0x11,
                        TagExtensible = 0xFFFE;
constexpr std::size_t FmtKept = 1024;   // more than any real format chunk needs
constexpr int MaxChunks = 4096;         // a walk over a file of tiny chunks ends in time
constexpr std::size_t PieceBytes = 1 << 16;

// ---- The chunks: the first "fmt ", "data" and "fact" wherever they are.

struct Chunks {
    std::optional<std::vector<std::uint8_t>> fmt;
    std::optional<std::uint64_t> dataAt;
    std::uint64_t dataBytes = 0; // cut to what the file holds
    std::optional<std::uint32_t> fact;
};

Chunks walkChunks(ByteSource& source) {
    Chunks c;
    const std::uint64_t end = source.size();
    std::array<std::uint8_t, 8> head{};
    // The RIFF size is not trusted: writers that stream leave it wrong, and
    // the chunks themselves say where each one ends.
    std::uint64_t at = 12;
    for (int n = 0; n < MaxChunks && at + 8 <= end && source.read(at, head) == head.size(); ++n) {
        const std::uint64_t size = u32(head, 4), body = at + 8;
        const std::uint64_t present = std::min(size, end - body);
        if (tagIs(head, 0, "fmt ") && !c.fmt) {
            std::vector<std::uint8_t> fmt(static_cast<std::size_t>(std::min<std::uint64_t>(present, FmtKept)));
            fmt.resize(source.read(body, fmt));
            c.fmt = std::move(fmt);
        } else if (tagIs(head, 0, "data") && !c.dataAt) {
            c.dataAt = body;
            c.dataBytes = present;
        } else if (tagIs(head, 0, "fact") && !c.fact && present >= 4) {
            std::array<std::uint8_t, 4> count{};
            if (source.read(body, count) == count.size()) c.fact = u32(count, 0);
        }
        at = body + size + (size & 1); // odd chunks are padded to an even length
    }
    return c;
}

// ---- The format chunk as a layout of the data.

enum class Encoding { Pcm8, Pcm16, Pcm24, Pcm32, Float32, Float64, MuLaw, ALaw, Ima, MsAdpcm };

struct Layout {
    Encoding encoding = Encoding::Pcm8;
    std::size_t channels = 1;
    std::uint32_t rate = 0;
    std::size_t sampleBytes = 1;                     // the frame-by-frame encodings
    std::size_t blockBytes = 0, framesPerBlock = 0;  // ADPCM
    MsAdpcmCoefs coefs;
    bool adpcm() const { return encoding == Encoding::Ima || encoding == Encoding::MsAdpcm; }
};

// The sub-format of the extensible form is a GUID whose first four bytes are
// the plain format tag and whose other twelve are always the same.
bool standardSubFormat(Bytes fmt) {
    static constexpr std::uint8_t Tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                              0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    return std::memcmp(fmt.data() + 28, Tail, sizeof Tail) == 0;
}

// PCM sample containers are whole bytes; a file may hold fewer valid bits in
// them, left-justified, and say so in the bits field, the block align or both.
std::optional<Encoding> pcmEncoding(std::size_t bits, std::size_t blockAlign, std::size_t channels,
                                    std::size_t& sampleBytes) {
    if (bits == 0 || bits > 32) return std::nullopt;
    sampleBytes = (bits + 7) / 8;
    for (std::size_t k = sampleBytes; k <= 4; ++k)
        if (blockAlign == channels * k) sampleBytes = k;
    constexpr Encoding ByBytes[] = {Encoding::Pcm8, Encoding::Pcm16, Encoding::Pcm24, Encoding::Pcm32};
    return ByBytes[sampleBytes - 1];
}

// The samples per block a file states, where it states a possible number.
std::size_t framesPerBlock(Bytes fmt, std::size_t holds, std::size_t least) {
    if (fmt.size() < 20) return holds;
    const std::size_t stated = u16(fmt, 18);
    return stated >= least && stated <= holds ? stated : holds;
}

MsAdpcmCoefs msAdpcmCoefs(Bytes fmt) {
    MsAdpcmCoefs coefs;
    if (fmt.size() < 22) return coefs;
    const std::size_t count = std::min<std::size_t>(u16(fmt, 20), (fmt.size() - 22) / 4);
    for (std::size_t i = 0; i < count; ++i) coefs.push_back({s16(fmt, 22 + 4 * i), s16(fmt, 24 + 4 * i)});
    return coefs;
}

// The layout, or the text of the refusal.
std::string readLayout(Bytes fmt, Layout& l) {
    const std::uint32_t formatTag = u16(fmt, 0);
    std::uint32_t tag = formatTag;
    if (tag == TagExtensible) {
        const bool usable = fmt.size() >= 40 && u16(fmt, 16) >= 22 && standardSubFormat(fmt);
        tag = usable ? u32(fmt, 24) : 0;
        if (tag != TagPcm && tag != TagFloat) return unknownFormatText(formatTag);
    }
    if (tag != TagPcm && tag != TagFloat && tag != TagALaw && tag != TagMuLaw && tag != TagIma && tag != TagMsAdpcm)
        return unknownFormatText(formatTag);
    l.channels = u16(fmt, 2);
    l.rate = u32(fmt, 4);
    const std::size_t blockAlign = u16(fmt, 12), bits = u16(fmt, 14);
    if (l.channels == 0) return NoSoundDataText;
    if (l.rate == 0 || l.rate > MaxUsableRate) return NotWavText;

    switch (tag) {
    case TagPcm: {
        const auto e = pcmEncoding(bits, blockAlign, l.channels, l.sampleBytes);
        if (!e) return unknownFormatText(formatTag);
        l.encoding = *e;
        return {};
    }
    case TagFloat:
        if (bits != 32 && bits != 64) return unknownFormatText(formatTag);
        l.encoding = bits == 32 ? Encoding::Float32 : Encoding::Float64;
        l.sampleBytes = bits / 8;
        return {};
    case TagALaw:
    case TagMuLaw: l.encoding = tag == TagALaw ? Encoding::ALaw : Encoding::MuLaw; return {};
    default: break;
    }
    if (bits != 4) return unknownFormatText(formatTag);
    l.encoding = tag == TagIma ? Encoding::Ima : Encoding::MsAdpcm;
    l.blockBytes = blockAlign;
    const std::size_t holds =
        tag == TagIma ? imaFramesIn(blockAlign, l.channels) : msAdpcmFramesIn(blockAlign, l.channels);
    if (holds == 0) return NoSoundDataText;
    l.framesPerBlock = framesPerBlock(fmt, holds, tag == TagIma ? 1 : 2);
    if (tag == TagMsAdpcm) l.coefs = msAdpcmCoefs(fmt);
    return {};
}

std::uint64_t framesOf(const Layout& l, std::uint64_t dataBytes, std::optional<std::uint32_t> fact) {
    if (!l.adpcm()) return dataBytes / (l.channels * l.sampleBytes);
    const std::size_t rest = static_cast<std::size_t>(dataBytes % l.blockBytes);
    const std::size_t inRest = l.encoding == Encoding::Ima ? imaFramesIn(rest, l.channels)
                                                           : msAdpcmFramesIn(rest, l.channels);
    const std::uint64_t frames = dataBytes / l.blockBytes * l.framesPerBlock + std::min(inRest, l.framesPerBlock);
    // ADPCM fills its last block up; the sample count says where the sound ends.
    return fact ? std::min<std::uint64_t>(frames, *fact) : frames;
}

// ---- Collecting the result.

// Samples meet "wide": scaled to the full 32-bit range, so that all
// encodings share one rounding to 16 bits and a mean loses nothing first.
// Rounded half up; the very top, which would round past the range, stays at
// 32767.
std::int32_t narrow16(std::int32_t wide) {
    const std::int32_t r = (wide >> 16) + ((wide >> 15) & 1);
    return r - (r == 32768);
}

std::uint32_t load32(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void store16(std::uint8_t* o, std::int32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        const auto u = static_cast<std::uint16_t>(v);
        std::memcpy(o, &u, 2);
        return;
    }
    o[0] = static_cast<std::uint8_t>(v & 0xFF);
    o[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

std::int32_t wideOf16(std::int32_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << 16); }

// The mean of a frame's samples, to the nearest value.
std::int64_t meanOf(std::int64_t total, std::size_t count) {
    return static_cast<std::int64_t>(std::floor(static_cast<double>(total) / static_cast<double>(count) + 0.5));
}

class SoundBuilder {
  public:
    SoundBuilder(std::size_t channels, bool eightBit, std::uint64_t frames)
        : channels_(channels), eightBit_(eightBit),
          bytes_(static_cast<std::size_t>(frames) * outChannels() * (eightBit ? 1 : 2)) {}
    std::size_t outChannels() const { return channels_ <= 2 ? channels_ : 1; }
    std::size_t framesKept() const { return at_ / (outChannels() * (eightBit_ ? 1 : 2)); }

    // Frames whose samples (channels interleaved) `wide(i)` gives, as 16-bit
    // samples: one or two channels as they are, more as their mean.
    template <typename Wide> void putFrames(std::size_t frames, Wide wide) {
        std::uint8_t* o = bytes_.data() + at_;
        if (channels_ <= 2) {
            for (std::size_t i = 0; i < frames * channels_; ++i, o += 2) store16(o, narrow16(wide(i)));
        } else {
            for (std::size_t f = 0; f < frames; ++f, o += 2) {
                std::int64_t total = 0;
                for (std::size_t c = 0; c < channels_; ++c) total += wide(f * channels_ + c);
                store16(o, narrow16(static_cast<std::int32_t>(meanOf(total, channels_))));
            }
        }
        at_ = static_cast<std::size_t>(o - bytes_.data());
    }
    // Frames that already are what is kept (8-bit, or 16-bit PCM, in one or
    // two channels).
    bool keepsChannels() const { return channels_ <= 2; }
    // Room for `samples` more 16-bit samples, written by the caller.
    std::uint8_t* room16(std::size_t samples) {
        std::uint8_t* o = bytes_.data() + at_;
        at_ += samples * 2;
        return o;
    }
    void copy(const std::uint8_t* bytes, std::size_t count) {
        std::memcpy(bytes_.data() + at_, bytes, count);
        at_ += count;
    }
    // 8-bit PCM stays 8-bit: its bytes as they are, or the mean of a frame's.
    void putBytes(const std::uint8_t* bytes, std::size_t frames) {
        if (keepsChannels()) return copy(bytes, frames * channels_);
        for (std::size_t f = 0; f < frames; ++f, bytes += channels_) {
            std::int64_t total = 0;
            for (std::size_t c = 0; c < channels_; ++c) total += bytes[c];
            bytes_[at_++] = static_cast<std::uint8_t>(meanOf(total, channels_));
        }
    }
    std::vector<std::uint8_t> take() {
        bytes_.resize(at_);
        return std::move(bytes_);
    }

  private:
    std::size_t channels_;
    bool eightBit_;
    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// ---- Frame by frame: PCM, float and the one-byte codes.

std::int32_t floatWide(double x) {
    if (!(x == x)) return 0; // NaN
    return static_cast<std::int32_t>(std::clamp(std::nearbyint(x * 2147483648.0), -2147483648.0, 2147483647.0));
}

constexpr std::size_t bytesOf(Encoding e) {
    switch (e) {
    case Encoding::Pcm16: return 2;
    case Encoding::Pcm24: return 3;
    case Encoding::Pcm32:
    case Encoding::Float32: return 4;
    case Encoding::Float64: return 8;
    default: return 1;
    }
}

// PCM is read four bytes at a time whatever its size (pieces end in a little
// slack), the sample left-justified in them.
template <Encoding E> std::int32_t wideSample(const std::uint8_t* p) {
    if constexpr (E == Encoding::Pcm16) return static_cast<std::int32_t>(load32(p) << 16);
    else if constexpr (E == Encoding::Pcm24) return static_cast<std::int32_t>(load32(p) << 8);
    else if constexpr (E == Encoding::Pcm32) return static_cast<std::int32_t>(load32(p));
    else if constexpr (E == Encoding::Float32) return floatWide(std::bit_cast<float>(load32(p)));
    else if constexpr (E == Encoding::Float64)
        return floatWide(std::bit_cast<double>(load32(p) | static_cast<std::uint64_t>(load32(p + 4)) << 32));
    else if constexpr (E == Encoding::MuLaw) return wideOf16(muLawToLinear(p[0]));
    else return wideOf16(aLawToLinear(p[0]));
}

// One loop per encoding: the choice is made once per piece, not per sample.
template <Encoding E> void putPiece(const std::uint8_t* p, std::size_t frames, SoundBuilder& out) {
    out.putFrames(frames, [p](std::size_t i) { return wideSample<E>(p + i * bytesOf(E)); });
}

// 24-bit PCM, the commonest kind after 16-bit, kept in one or two channels:
// the sample's top two bytes and the rounding bit of the third give the same
// value as the widened sample rounded to 16 bits (half up, the top kept at
// 32767), without widening it first.
void put24(const std::uint8_t* p, std::size_t samples, std::uint8_t* o) {
    for (std::size_t i = 0; i < samples; ++i, p += 3, o += 2) {
        const std::int32_t r = static_cast<std::int16_t>(p[1] | p[2] << 8) + (p[0] >> 7);
        store16(o, r - (r == 32768));
    }
}

void putPiece(Encoding e, const std::uint8_t* p, std::size_t frames, SoundBuilder& out) {
    switch (e) {
    case Encoding::Pcm8: out.putBytes(p, frames); break;
    case Encoding::Pcm16:
        if (out.keepsChannels()) out.copy(p, frames * out.outChannels() * 2);
        else putPiece<Encoding::Pcm16>(p, frames, out);
        break;
    case Encoding::Pcm24:
        if (out.keepsChannels()) put24(p, frames * out.outChannels(), out.room16(frames * out.outChannels()));
        else putPiece<Encoding::Pcm24>(p, frames, out);
        break;
    case Encoding::Pcm32: putPiece<Encoding::Pcm32>(p, frames, out); break;
    case Encoding::Float32: putPiece<Encoding::Float32>(p, frames, out); break;
    case Encoding::Float64: putPiece<Encoding::Float64>(p, frames, out); break;
    case Encoding::MuLaw: putPiece<Encoding::MuLaw>(p, frames, out); break;
    case Encoding::ALaw: putPiece<Encoding::ALaw>(p, frames, out); break;
    default: break;
    }
}

void convertFrames(ByteSource& source, const Layout& l, std::uint64_t at, std::uint64_t frames, SoundBuilder& out) {
    const std::size_t frameBytes = l.channels * l.sampleBytes;
    // Pieces of about 64 KB, never more than the frames wanted.
    const auto perPiece = static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max<std::size_t>(1, PieceBytes / frameBytes), frames));
    std::vector<std::uint8_t> piece(perPiece * frameBytes + 4);
    while (frames > 0) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(perPiece, frames));
        const std::size_t got = source.read(at, {piece.data(), want * frameBytes}) / frameBytes;
        putPiece(l.encoding, piece.data(), got, out);
        if (got < want) return; // the file got shorter while it was read
        at += got * frameBytes;
        frames -= got;
    }
}

// ---- Block by block: the ADPCM codes.

void convertBlocks(ByteSource& source, const Layout& l, std::uint64_t at, std::uint64_t end, std::uint64_t frames,
                   SoundBuilder& out) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(l.blockBytes, end - at)));
    std::vector<std::int16_t> decoded(
        static_cast<std::size_t>(std::min<std::uint64_t>(l.framesPerBlock, frames)) * l.channels);
    while (frames > 0 && at < end) {
        const std::size_t got =
            source.read(at, {block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), end - at))});
        const std::span<const std::uint8_t> bytes(block.data(), got);
        const std::size_t holds =
            l.encoding == Encoding::Ima ? imaFramesIn(got, l.channels) : msAdpcmFramesIn(got, l.channels);
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>({holds, l.framesPerBlock, frames}));
        if (n == 0) return;
        if (l.encoding == Encoding::Ima) decodeImaBlock(bytes, l.channels, n, decoded.data());
        else decodeMsAdpcmBlock(bytes, l.channels, l.coefs, n, decoded.data());
        out.putFrames(n, [&decoded](std::size_t i) { return wideOf16(decoded[i]); });
        frames -= n;
        at += l.blockBytes;
    }
}

ConvertedWav refused(const std::string& text) {
    ConvertedWav w;
    w.refusal = text;
    return w;
}

std::string secondsText(std::uint64_t frames, std::int32_t rate) {
    return numberText(std::round(static_cast<double>(frames) / rate * 100.0) / 100.0);
}

} // namespace

ConvertedWav convertWav(ByteSource& source) {
    std::array<std::uint8_t, 12> riff{};
    if (source.read(0, riff) < riff.size() || !tagIs(riff, 0, "RIFF") || !tagIs(riff, 8, "WAVE"))
        return refused(NotWavText);
    const Chunks chunks = walkChunks(source);
    if (!chunks.fmt || chunks.fmt->size() < 16 || !chunks.dataAt) return refused(NoSoundDataText);
    Layout l;
    if (std::string why = readLayout(*chunks.fmt, l); !why.empty()) return refused(why);

    ConvertedWav w;
    w.FileFrames = framesOf(l, chunks.dataBytes, chunks.fact);
    if (w.FileFrames == 0) return refused(NoSoundDataText);
    const bool eightBit = l.encoding == Encoding::Pcm8;
    w.Channels = static_cast<std::uint16_t>(l.channels <= 2 ? l.channels : 1);
    w.BitsParSample = eightBit ? 8 : 16;
    w.SRATE = static_cast<std::int32_t>(l.rate);
    const std::uint64_t room = static_cast<std::uint64_t>(DATALENMAX) / (w.Channels * w.BitsParSample / 8u);
    SoundBuilder out(l.channels, eightBit, std::min(w.FileFrames, room));
    const std::uint64_t wanted = std::min(w.FileFrames, room);
    if (l.adpcm()) convertBlocks(source, l, *chunks.dataAt, *chunks.dataAt + chunks.dataBytes, wanted, out);
    else convertFrames(source, l, *chunks.dataAt, wanted, out);
    w.KeptFrames = out.framesKept();
    w.Samples = out.take();
    if (w.KeptFrames == 0) return refused(NoSoundDataText);
    return w;
}

ConvertedWav convertWavFile(const std::filesystem::path& path) {
    FileSource source(path);
    if (!source.opened()) return refused(NotWavText);
    return convertWav(source);
}

std::string lengthCutText(const ConvertedWav& sound) {
    return "長すぎるので、最初の" + secondsText(sound.KeptFrames, sound.SRATE) + "秒だけ読み込みました。\r\n（ファイル全体は" +
           secondsText(sound.FileFrames, sound.SRATE) + "秒です）";
}

} // namespace wavora
