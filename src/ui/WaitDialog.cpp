#include "ui/WaitDialog.h"

#include "core/Platform.h"

#include <limits>

namespace wavora {

const char* const WaitDialogCaption = " お待ちください";
const char* const WaitDialogFirstFace = "|  <(_ _)>";
const std::array<const char*, 17> WaitFaces = {"|(_ _)>",
                                               "| _)>",
                                               "|ェ・)",
                                               "|        <(_ _)>",
                                               "|<(_ _)>",
                                               "|)>",
                                               "|",
                                               "|              <(_ _)>",
                                               "|дﾟ;)",
                                               "|дﾟ)",
                                               "|♪",
                                               "|",
                                               "|              <(_ _)>",
                                               "| 　<(_ _)>♪",
                                               "|дﾟ)))",
                                               "|)ﾉ",
                                               "|o旦~  "};

namespace {

void showFace(EditorState& s, const char* face) {
    s.wait.WaitFaceText = face;
    s.platform.waitDialogSetFace(s.wait.WaitFaceText);
}

const char* randomFace(EditorState& s) {
    s.rng.seed(s.platform.tickCount());
    auto k = static_cast<std::size_t>(17.0 * s.rng.uniform());
    return WaitFaces[k < WaitFaces.size() ? k : WaitFaces.size() - 1];
}

} // namespace

void openWaitDialog(EditorState& s) {
    s.platform.waitDialogCreate();
    s.wait.WaitTotal = 0;
    s.wait.WaitDone = 0;
    showFace(s, WaitDialogFirstFace);
}

void setWaitTotal(EditorState& s, std::uint32_t total) {
    if (!s.platform.waitDialogExists()) return;
    s.wait.WaitTotal = total;
    s.platform.waitDialogSetRange(total);
}

void advanceWait(EditorState& s, std::uint32_t n) {
    if (n == 0 || !s.platform.waitDialogExists()) return;
    s.platform.waitDialogStep(n);
    showFace(s, randomFace(s));
    // Counted in 64 bits: near the top of the 32-bit range "done + 1" would
    // wrap to 0 and the dialog would never go away.
    std::uint64_t done = static_cast<std::uint64_t>(s.wait.WaitDone) + n;
    constexpr std::uint64_t top = std::numeric_limits<std::uint32_t>::max();
    s.wait.WaitDone = static_cast<std::uint32_t>(done < top ? done : top);
    if (done + 1 >= s.wait.WaitTotal) s.platform.waitDialogDestroy();
}

} // namespace wavora
