#pragma once
// Where the bytes of a file to convert come from: a file on disk or a block
// of memory. The converter asks for pieces by offset, so it never holds more
// of a file than the piece it is working on, however large the file is.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

namespace wavora {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies the bytes from `at` into `into`, as many as there are up to its
    // size; returns how many that was (0 past the end).
    virtual std::size_t read(std::uint64_t at, std::span<std::uint8_t> into) = 0;
};

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t read(std::uint64_t at, std::span<std::uint8_t> into) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

// A file that cannot be opened (or is a folder) has size 0 and no bytes.
class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::filesystem::path& path);
    bool opened() const { return opened_; }
    std::uint64_t size() const override { return size_; }
    std::size_t read(std::uint64_t at, std::span<std::uint8_t> into) override;

  private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
    bool opened_ = false;
};

} // namespace wavora
