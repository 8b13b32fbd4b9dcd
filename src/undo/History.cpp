#include "undo/History.h"

#include "doc/OperationName.h"
#include "undo/UndoStore.h"

namespace wavora {

namespace {

constexpr std::size_t CodeWidth = 2;

int codeAt(const std::string& codes, std::size_t index) {
    const std::size_t at = index * CodeWidth;
    if (at + 1 >= codes.size()) return 0;
    return (codes[at] - '0') * 10 + (codes[at + 1] - '0');
}

HistoryRow rowOf(int code, bool current) {
    return {(current ? "▶" : "　") + operationName(code), current};
}

} // namespace

std::vector<HistoryRow> historyRows(const EditorState& s) {
    std::vector<HistoryRow> rows;
    const SoundDoc& d = s.docs[static_cast<std::size_t>(s.activeSlot())];
    if (s.WindowCount == 0 || d.WindowHandle == 0) return rows;
    // The redo list holds the undone states newest first; the undo list the
    // kept ones oldest first, the current one last.
    const std::size_t redo = d.Yarinaoshi.size() / CodeWidth;
    const std::size_t kept = d.UnDoFlag.size() / CodeWidth;
    for (std::size_t i = 0; i < redo; ++i) rows.push_back(rowOf(codeAt(d.Yarinaoshi, i), false));
    for (std::size_t i = kept; i-- > 0;) rows.push_back(rowOf(codeAt(d.UnDoFlag, i), i + 1 == kept));
    return rows;
}

void goToHistoryRow(EditorState& s, int row) {
    if (s.BusyFlag || s.WindowCount == 0 || s.active().WindowHandle == 0) return;
    const auto rows = static_cast<int>(historyRows(s).size());
    if (row < 0 || row >= rows) return;
    s.BusyFlag = 1;
    SoundDoc& d = s.active();
    while (d.UndoPos != row) {
        const std::uint8_t before = d.UndoPos;
        if (row > d.UndoPos) undoStep(s);
        else redoStep(s);
        if (d.UndoPos == before) break; // the step could not be read; the user has been told
    }
    s.BusyFlag = 0;
}

} // namespace wavora
