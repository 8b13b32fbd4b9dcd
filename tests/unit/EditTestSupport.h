#pragma once
// Sound windows for the editing tests: each is made as the program makes one,
// filled with a known pattern, and recorded as its base state.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "TempFolder.h"
#include "core/SlotTable.h"
#include "undo/UndoStore.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wavora::test {

using Bytes = std::vector<std::uint8_t>;

struct EditFixture : ::testing::Test {
    TempRoot folder;
    FakePlatform fake;
    std::unique_ptr<EditorState> s = std::make_unique<EditorState>(fake, folder.path);

    // A window with `len` bytes of the pattern 0, 1, 2, ... (mod 251), so
    // that every moved byte can be told apart.
    SoundDoc& openSound(std::int32_t len, std::uint8_t bits = 8, std::int32_t rate = 11025,
                        const std::string& title = "音") {
        const int slot = createSoundWindow(*s, title, 1100, 768);
        SoundDoc& d = s->docs[static_cast<std::size_t>(slot)];
        d.SRATE = rate;
        d.BitsParSample = bits;
        d.DataLen = len;
        allocateNewSound(*s);
        for (std::int32_t i = 0; i < len; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 251);
        fitViewToLength(*s, slot);
        snapshot(*s, 0);
        return d;
    }
    static Bytes head(const SoundDoc& d, std::int32_t n = -1) {
        return Bytes(d.Samples.begin(), d.Samples.begin() + (n < 0 ? d.DataLen : n));
    }
    void select(std::int32_t start, std::int32_t length) {
        SoundDoc& d = s->active();
        d.HasSelection = 1;
        d.SelStart = start;
        d.SelLength = length;
    }
    // The last operation code in the active slot's history.
    std::string lastCode() {
        const std::string& f = s->active().UnDoFlag;
        return f.size() >= 2 ? f.substr(f.size() - 2) : f;
    }
    void expectBox(const std::string& caption, const std::string& text) {
        ASSERT_FALSE(fake.boxes.empty());
        EXPECT_EQ(fake.lastBox().caption, caption);
        EXPECT_EQ(fake.lastBox().text, text);
    }
};

inline int sample16(const SoundDoc& d, std::size_t at) {
    return static_cast<std::int16_t>(d.Samples[at] | (d.Samples[at + 1] << 8));
}

} // namespace wavora::test
