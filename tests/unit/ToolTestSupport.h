#pragma once
// Sound windows for the mouse-tool and layer tests: a fresh editor in its own
// folder, sounds opened the way the new-sound command opens them, and mouse
// gestures given in the window's client coordinates.
#include "FakePlatform.h"
#include "TempFolder.h"
#include "undo/UndoStore.h"
#include "input/MouseTools.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavora::test {

struct ToolFixture : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    std::vector<int> commands; // frame commands the code under test started

    ToolFixture() {
        s.runCommand = [this](EditorState&, int id) { commands.push_back(id); };
    }

    // A sound of `length` bytes, each byte `fill`, recorded as its base state.
    int open(std::int32_t length, std::uint8_t fill = 128, std::uint8_t bits = 8) {
        int slot = createSoundWindow(s, "音", DefaultClientWidth, DefaultClientHeight);
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        d.BitsParSample = bits;
        d.SRATE = 8000;
        d.DataLen = length;
        std::fill(d.Samples.begin(), d.Samples.end(), fill);
        std::fill(d.VolumeGraph.begin(), d.VolumeGraph.end(), std::uint8_t{128});
        std::fill(d.PitchGraph.begin(), d.PitchGraph.end(), std::uint8_t{128});
        fitViewToLength(s, slot);
        snapshot(s, 0);
        PaintSoundWindow(s, slot); // the window shows its sound before anyone draws on it
        return slot;
    }
    SoundDoc& doc(int slot) { return s.docs[static_cast<std::size_t>(slot)]; }

    // Press, moves in steps of at most 10 pixels, release.
    void drag(int slot, int x0, int y0, int x1, int y1) {
        onLeftPress(s, slot, x0, y0);
        const int steps = std::max(1, std::max(std::abs(x1 - x0), std::abs(y1 - y0)) / 10);
        for (int i = 1; i <= steps; ++i)
            onMouseMove(s, slot, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, true);
        onLeftRelease(s, slot, x1, y1);
    }
    void click(int slot, int x, int y) {
        onLeftPress(s, slot, x, y);
        onLeftRelease(s, slot, x, y);
    }
    // A selection of the bytes at content x0..x1 made with the selection tool.
    void select(int slot, int x0, int x1) {
        s.CurrentTool = ToolSelection;
        drag(slot, 200 + x0, 50, 200 + x1, 50);
    }
};

} // namespace wavora::test
