#pragma once
// A fresh folder for one test, with the program's working folders in it,
// removed when the test ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace wavora::test {

struct TempRoot {
    std::filesystem::path path;
    TempRoot() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               ("wavora-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path / "WavoraUnDo");
        std::filesystem::create_directories(path / std::filesystem::path(u8"Wavora個人設定"));
    }
    ~TempRoot() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    bool stepExists(int slot, int step) const {
        char name[64];
        std::snprintf(name, sizeof name, "UnDo_Info_%02d_%02d.txt", slot, step);
        return std::filesystem::exists(path / "WavoraUnDo" / name);
    }
};

} // namespace wavora::test
