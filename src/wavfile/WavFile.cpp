#include "wavfile/WavFile.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "text/ShiftJis.h"
#include "wavfile/WavConvert.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

namespace wavora {

namespace {

namespace fs = std::filesystem;

const char* const NotForWavora = "このファイルはWavoraでは読み込めません。";

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

bool tagIs(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

// The refusals of the form-type checks name the byte found at offset 8. A
// control byte (a NUL above all) would swallow or garble the message, so only
// a visible character is shown.
std::string characterAt8(std::span<const std::uint8_t> b) {
    if (b[8] < 0x20) return {};
    return shiftJisToUtf8(std::string(1, static_cast<char>(b[8])));
}

WavParse refused(WavParse p, std::string caption, std::string text = NotForWavora) {
    p.ok = false;
    p.caption = std::move(caption);
    p.text = std::move(text);
    return p;
}

} // namespace

WavParse parseWav(std::span<const std::uint8_t> b) {
    WavParse p;
    if (b.size() < static_cast<std::size_t>(WavFileMin) || b.size() > static_cast<std::size_t>(WavFileMax))
        return refused(p, "開く", "このファイルは開けません。m(_ _)m");
    if (!tagIs(b, 0, "RIFF")) return refused(p, "RIFF");
    if (!tagIs(b, 8, "WAVE")) return refused(p, "WAVE", characterAt8(b) + NotForWavora);
    if (!tagIs(b, 12, "fmt ")) return refused(p, "fmt", characterAt8(b) + NotForWavora);
    if (b[20] != 1) return refused(p, "PCM形式でない");
    // A channel count other than 1 or 2 is no sound this program can hold; it
    // is refused before it is stored, so the window never gets it.
    const std::uint16_t channels = u16(b, 22);
    if (channels != 1 && channels != 2) return refused(p, "チャンネル数" + intText(channels));
    p.channels = channels;

    const std::uint32_t rate = u32(b, 24);
    const std::uint32_t byteRate = u32(b, 28);
    const std::uint16_t blockAlign = u16(b, 32);
    // 16-bit stereo, exactly as the writer writes it (four bytes a frame):
    // without it the program could not open the files it saves. Every other
    // layout meets the checks below unchanged.
    const bool stereo16 = channels == 2 && u16(b, 34) == 16 && blockAlign == 4 &&
                          static_cast<std::uint64_t>(byteRate) == 4ull * rate;
    const bool rateMatches = byteRate == rate || static_cast<std::uint64_t>(byteRate) == 2ull * rate || stereo16;
    if (!rateMatches || rate == 0 || rate > MaxUsableRate) return refused(p, "転送率" + intText(byteRate));

    if (blockAlign != 1 && blockAlign != 2 && !stereo16)
        return refused(p, "１サンプルのデータサイズ" + intText(blockAlign));
    // Bits that do not match the block size (or are neither 8 nor 16) would
    // give the sound a length formula dividing by zero; refused before stored.
    const std::uint8_t bits = b[34];
    if ((bits != 8 && bits != 16) || channels * bits / 8 != blockAlign)
        return refused(p, "１サンプルのビット数" + intText(u16(b, 34)));
    p.bits = bits;

    if (b[36] != 'd') return refused(p, "data");
    p.rate = static_cast<std::int32_t>(rate);

    // A header that promises more data than the file holds is cut to what is
    // there, to whole samples, so a 16-bit sound never ends in half a sample.
    const std::uint32_t promised = u32(b, 40);
    const std::uint32_t present = static_cast<std::uint32_t>(b.size()) - static_cast<std::uint32_t>(WavHeaderSize);
    std::uint32_t length = promised;
    if (length > present) length = present - present % blockAlign;
    p.dataLength = static_cast<std::int32_t>(std::min<std::uint32_t>(length, static_cast<std::uint32_t>(DATALENMAX)));
    p.ok = true;
    return p;
}

int readWavBytes(EditorState& s, int slot, std::span<const std::uint8_t> file, std::vector<std::uint8_t>& destination,
                 std::int32_t& length) {
    WavParse p = parseWav(file);
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (p.channels) d.Channels = *p.channels;
    if (p.bits) d.BitsParSample = *p.bits;
    if (p.rate) d.SRATE = *p.rate;
    if (!p.ok) {
        s.platform.messageBox({p.text, p.caption});
        return -1;
    }
    const auto n = std::min(static_cast<std::size_t>(p.dataLength), destination.size());
    std::copy_n(file.begin() + WavHeaderSize, n, destination.begin());
    length = static_cast<std::int32_t>(n);
    return 0;
}

int readWav(EditorState& s, int slot, const fs::path& path, std::vector<std::uint8_t>& destination,
            std::int32_t& length) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    std::vector<std::uint8_t> bytes;
    // Only sizes the checks can accept are read; a huge file is never loaded.
    if (!ec && size >= static_cast<std::uintmax_t>(WavFileMin) && size <= static_cast<std::uintmax_t>(WavFileMax)) {
        std::ifstream in(path, std::ios::binary);
        bytes.resize(static_cast<std::size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!in || in.gcount() != static_cast<std::streamsize>(bytes.size())) bytes.clear();
    }
    return readWavBytes(s, slot, bytes, destination, length);
}

std::vector<std::uint8_t> wavFileBytes(std::span<const std::uint8_t> data, std::uint16_t channels, std::int32_t rate,
                                       std::uint8_t bits) {
    std::vector<std::uint8_t> b(static_cast<std::size_t>(WavHeaderSize) + data.size() + 1, 0);
    const auto len = static_cast<std::uint32_t>(data.size());
    const auto r = static_cast<std::uint32_t>(rate);
    std::memcpy(b.data(), "RIFF", 4);
    put32(b, 4, len + 36);
    std::memcpy(b.data() + 8, "WAVEfmt ", 8);
    put32(b, 16, 16);
    put16(b, 20, 1);
    put16(b, 22, channels);
    put32(b, 24, r);
    put32(b, 28, static_cast<std::uint32_t>(static_cast<std::uint64_t>(channels) * r * bits / 8));
    put16(b, 32, static_cast<std::uint32_t>(channels * bits / 8));
    put16(b, 34, bits);
    std::memcpy(b.data() + 36, "data", 4);
    put32(b, 40, len);
    std::copy(data.begin(), data.end(), b.begin() + WavHeaderSize);
    return b; // the last byte stays 0: the trailer outside the RIFF size
}

WriteFailure replaceFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) return {"保存先のフォルダが見つかりません（消されたか、名前が変わったかもしれません）。"};
    if (fs::is_directory(path, ec)) return {"同じ名前のフォルダがあるので、ファイルを置けません。"};

    fs::path temp = path;
    temp += ".wavora-saving";
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return {"保存先のフォルダに書き込めません（読み取り専用か、書き込みが許されていないフォルダです）。"};
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        written = !out.fail();
    }
    if (!written) {
        fs::remove(temp, ec);
        return {"ファイルを最後まで書き込めませんでした（ディスクの空きが足りないかもしれません）。"};
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {"前からあるファイルを置き換えられませんでした（読み取り専用か、ほかのプログラムが使っています）。"};
    }
    return {};
}

WriteFailure writeWav(EditorState& s, int slot, const fs::path& path, const std::uint8_t* data, std::int32_t length,
                      std::uint16_t channels) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const auto n = static_cast<std::size_t>(std::clamp<std::int32_t>(length, 0, DATALENMAX));
    std::span<const std::uint8_t> bytes = data ? std::span<const std::uint8_t>(data, n) : std::span<const std::uint8_t>();
    return replaceFileSafely(path, wavFileBytes(bytes, channels, d.SRATE, d.BitsParSample));
}

} // namespace wavora
