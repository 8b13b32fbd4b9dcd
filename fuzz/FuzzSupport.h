#pragma once
// What the harnesses share: a check that stops the run (a violated promise is
// a finding just like a crash), a reader that takes typed pieces off the
// fuzzer's bytes, and a private working folder in memory for the harnesses
// that must go through real files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#define FUZZ_CHECK(cond)                                                                                    \
    do {                                                                                                    \
        if (!(cond)) {                                                                                      \
            std::fprintf(stderr, "%s:%d: promise broken: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                   \
        }                                                                                                   \
    } while (0)

namespace wavora::fuzz {

// Takes numbers and byte blocks off the front of the input; past its end
// everything reads as zero and empty, so every input is a valid script.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), left_(size) {}
    std::uint8_t byte() {
        if (left_ == 0) return 0;
        --left_;
        return *p_++;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::string_view block(std::size_t n) {
        n = n < left_ ? n : left_;
        std::string_view b(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        left_ -= n;
        return b;
    }
    std::string_view rest() { return block(left_); }
    bool empty() const { return left_ == 0; }

  private:
    const std::uint8_t* p_;
    std::size_t left_;
};

// A folder of its own per process (libFuzzer's jobs run side by side), in
// memory where the machine has /dev/shm, removed when the run ends.
inline std::filesystem::path& workFolderPath() {
    static std::filesystem::path folder;
    return folder;
}

inline const std::filesystem::path& workFolder() {
    static const bool made = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        workFolderPath() = base / ("wavora-fuzz-" + std::to_string(getpid()));
        std::filesystem::remove_all(workFolderPath());
        std::filesystem::create_directories(workFolderPath());
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(workFolderPath(), ec);
        });
        return true;
    }();
    (void)made;
    return workFolderPath();
}

inline void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// UTF-8 as the program hands it on to windows and files: no broken sequence.
inline bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

} // namespace wavora::fuzz
