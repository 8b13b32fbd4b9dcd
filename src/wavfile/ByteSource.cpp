#include "wavfile/ByteSource.h"

#include <algorithm>
#include <system_error>

namespace wavora {

std::size_t MemorySource::read(std::uint64_t at, std::span<std::uint8_t> into) {
    if (at >= bytes_.size()) return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), bytes_.size() - at));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at), n, into.begin());
    return n;
}

FileSource::FileSource(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return;
    in_.open(path, std::ios::binary);
    if (!in_) return;
    size_ = size;
    opened_ = true;
}

std::size_t FileSource::read(std::uint64_t at, std::span<std::uint8_t> into) {
    if (!opened_ || at >= size_ || into.empty()) return 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(at));
    const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(into.size(), size_ - at));
    in_.read(reinterpret_cast<char*>(into.data()), want);
    return static_cast<std::size_t>(std::max<std::streamsize>(in_.gcount(), 0));
}

} // namespace wavora
