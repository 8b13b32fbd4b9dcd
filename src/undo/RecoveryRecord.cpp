#include "undo/RecoveryRecord.h"

#include "doc/Limits.h"
#include "undo/UndoFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace wavora {

namespace {

constexpr char Magic[4] = {'W', 'v', 'R', 'c'};
constexpr std::uint8_t Format = 1;
constexpr std::size_t HeaderSize = 18;
constexpr std::size_t ChecksumSize = 4;
constexpr std::size_t MaxCodes = UndoDepth + 1;
constexpr unsigned LayerBits = 1u << (LayerTableSize - 1); // one bit for each of the ids 0..5
const char* const Stem = "UnDo_Fukugen_";

std::uint32_t fnv1a32(std::span<const std::uint8_t> bytes) {
    std::uint32_t h = 2166136261u;
    for (std::uint8_t b : bytes) h = (h ^ b) * 16777619u;
    return h;
}

bool digitsOnly(const std::string& codes) {
    for (char c : codes)
        if (c < '0' || c > '9') return false;
    return true;
}

// Window titles come back from the system as UTF-8 made from UTF-16, so a
// title that is not well formed was not written by us.
bool wellFormedUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

std::string numbered(const char* extension, int slot) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d.%s", slot, extension);
    return std::string(UndoFolderName) + "/" + Stem + digits;
}

constexpr std::uint64_t TagPrime = 0x100000001b3ull;

std::uint64_t mixBlock(std::uint64_t h, std::span<const std::uint8_t> block) {
    h = (h ^ block.size()) * TagPrime;
    std::size_t i = 0;
    // Eight bytes at a time: a step is up to 1.5 MB and is tagged at every change.
    for (; i + 8 <= block.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, block.data() + i, 8);
        h = (h ^ word) * TagPrime;
    }
    for (; i < block.size(); ++i) h = (h ^ block[i]) * TagPrime;
    return h;
}

} // namespace

std::string recoveryFileName(int slot) { return numbered("txt", slot); }
std::string recoveryTempName(int slot) { return numbered("tmp", slot); }

std::optional<int> recoverySlotOfName(const std::string& fileName) {
    const std::size_t stem = std::strlen(Stem);
    if (fileName.size() != stem + 6 || fileName.compare(0, stem, Stem) != 0 ||
        fileName.compare(stem + 2, 4, ".txt") != 0)
        return std::nullopt;
    const char a = fileName[stem], b = fileName[stem + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
    const int slot = (a - '0') * 10 + (b - '0');
    if (slot >= SlotCount) return std::nullopt;
    return slot;
}

std::vector<std::uint8_t> packRecoveryRecord(const RecoveryRecord& r) {
    std::vector<std::uint8_t> out(Magic, Magic + 4);
    const std::size_t title = std::min(r.title.size(), RecoveryTitleMax);
    out.push_back(Format);
    out.push_back(static_cast<std::uint8_t>(r.slot));
    out.push_back(r.undoPos);
    out.push_back(r.layerFiles);
    out.push_back(r.hasGenOn);
    out.push_back(r.additive);
    out.push_back(static_cast<std::uint8_t>(r.undoCodes.size() / 2));
    out.push_back(static_cast<std::uint8_t>(r.redoCodes.size() / 2));
    out.push_back(static_cast<std::uint8_t>(title & 0xFF));
    out.push_back(static_cast<std::uint8_t>(title >> 8));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(r.serial >> (8 * i)));
    out.insert(out.end(), r.undoCodes.begin(), r.undoCodes.end());
    out.insert(out.end(), r.redoCodes.begin(), r.redoCodes.end());
    out.insert(out.end(), r.title.begin(), r.title.begin() + static_cast<std::ptrdiff_t>(title));
    for (std::uint64_t tag : r.stepTags)
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(tag >> (8 * i)));
    const std::uint32_t sum = fnv1a32(out);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    return out;
}

std::optional<RecoveryRecord> parseRecoveryRecord(std::span<const std::uint8_t> b, int slot) {
    if (b.size() < HeaderSize + ChecksumSize || std::memcmp(b.data(), Magic, 4) != 0 || b[4] != Format)
        return std::nullopt;
    RecoveryRecord r;
    r.slot = b[5];
    r.undoPos = b[6];
    r.layerFiles = b[7];
    r.hasGenOn = b[8];
    r.additive = b[9];
    const std::size_t n = b[10], m = b[11], title = b[12] | (std::size_t{b[13]} << 8);
    for (std::size_t i = 0; i < 4; ++i) r.serial |= std::uint32_t{b[14 + i]} << (8 * i);
    if (r.slot != slot || n < 1 || n + m > MaxCodes || m != r.undoPos || title > RecoveryTitleMax ||
        r.layerFiles >= LayerBits || r.hasGenOn > 1 || (r.additive & 1) != 0 || r.additive >= LayerBits)
        return std::nullopt;
    const std::size_t steps = n + m;
    if (b.size() != HeaderSize + 2 * steps + title + 8 * steps + ChecksumSize) return std::nullopt;
    const std::size_t body = b.size() - ChecksumSize;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < ChecksumSize; ++i) sum |= std::uint32_t{b[body + i]} << (8 * i);
    if (sum != fnv1a32(b.first(body))) return std::nullopt;

    const char* at = reinterpret_cast<const char*>(b.data()) + HeaderSize;
    r.undoCodes.assign(at, 2 * n);
    r.redoCodes.assign(at + 2 * n, 2 * m);
    r.title.assign(at + 2 * steps, title);
    if (!digitsOnly(r.undoCodes) || !digitsOnly(r.redoCodes) || !wellFormedUtf8(r.title)) return std::nullopt;
    const std::uint8_t* tags = b.data() + HeaderSize + 2 * steps + title;
    for (std::size_t k = 0; k < steps; ++k) {
        std::uint64_t tag = 0;
        for (int i = 0; i < 8; ++i) tag |= std::uint64_t{tags[8 * k + static_cast<std::size_t>(i)]} << (8 * i);
        r.stepTags.push_back(tag);
    }
    return r;
}

std::uint64_t stepTag(std::span<const std::uint8_t> stateRecord, std::span<const std::uint8_t> samples,
                      std::span<const std::uint8_t> volume, std::span<const std::uint8_t> pitch) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::span<const std::uint8_t> block : {stateRecord, samples, volume, pitch}) h = mixBlock(h, block);
    // The word-wise mixing only carries changes towards the high bits; the
    // end folds them back so every bit of the tag depends on every byte.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

} // namespace wavora
