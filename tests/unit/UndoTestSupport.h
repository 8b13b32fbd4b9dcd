#pragma once
// A fresh editor in its own temporary folder for every undo test, with the
// helpers the undo tests share: opening a sound by hand, making a recognisable
// change, and reading the working files back.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "undo/UndoStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace wavora::test {

class UndoFixture : public ::testing::Test {
  protected:
    TempRoot folder;
    FakePlatform fake;
    std::filesystem::path root = folder.path;
    std::unique_ptr<EditorState> s = std::make_unique<EditorState>(fake, root);

    // A new sound of `length` bytes of silence in the lowest free slot, recorded
    // as the base state the way the new-sound command records it.
    int openSound(std::int32_t length, std::uint8_t fill = 128) {
        int slot = 0;
        while (s->docs[static_cast<std::size_t>(slot)].WindowHandle != 0)
            ++slot;
        SoundDoc& d = s->docs[static_cast<std::size_t>(slot)];
        d.WindowHandle = fake.createSoundWindow("音");
        ++s->WindowCount;
        s->ActWndNum = slot;
        d.DataLen = length;
        std::fill(d.Samples.begin(), d.Samples.end(), fill);
        d.SelStart = 0;
        d.SelLength = length;
        snapshot(*s, 0);
        return slot;
    }

    // Every data byte, both graphs and the selection start say which change
    // made them, so a restored step can be told from any other.
    void change(int code, std::uint8_t mark) {
        SoundDoc& d = s->active();
        fillSound(d, mark);
        d.SelStart = mark;
        snapshot(*s, code);
    }

    static void fillSound(SoundDoc& d, std::uint8_t mark) {
        auto n = static_cast<std::size_t>(d.DataLen);
        std::fill_n(d.Samples.begin(), n, mark);
        std::fill_n(d.VolumeGraph.begin(), n, static_cast<std::uint8_t>(mark + 1));
        std::fill_n(d.PitchGraph.begin(), n, static_cast<std::uint8_t>(mark + 2));
    }

    // True when the whole sound, both graphs and the selection start carry `mark`.
    static bool holds(const SoundDoc& d, std::uint8_t mark) {
        for (std::int32_t i = 0; i < d.DataLen; ++i) {
            auto at = static_cast<std::size_t>(i);
            if (d.Samples[at] != mark || d.VolumeGraph[at] != static_cast<std::uint8_t>(mark + 1) ||
                d.PitchGraph[at] != static_cast<std::uint8_t>(mark + 2))
                return false;
        }
        return d.SelStart == mark;
    }

    std::filesystem::path undoFile(const std::string& name) const { return root / "WavoraUnDo" / name; }

    std::vector<std::uint8_t> fileBytes(const std::string& name) const {
        std::ifstream in(undoFile(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void truncateFile(const std::string& name, std::size_t size) const {
        std::filesystem::resize_file(undoFile(name), size);
    }

    const FakeMenuItem& undoItem() const { return fake.menu.at({1, 0}); }
    const FakeMenuItem& redoItem() const { return fake.menu.at({1, 1}); }
};

} // namespace wavora::test
