#include "ui/DialogPosition.h"

#include "core/TextFiles.h"
#include "text/NumberText.h"
#include "ui/DialogLayout.h"

namespace wavora {

const char* const DialogPositionFile = "Wavora個人設定/　汎用ダイアログ個人設定ファイル.txt";

DialogPosition readDialogPosition(EditorState& s) {
    DialogPosition p;
    if (!fileExists(s.root, DialogPositionFile)) return p;
    auto file = s.path(DialogPositionFile);
    p.left = cutToInt(textToNumber(readLine(s.platform, file, 0)));
    p.top = cutToInt(textToNumber(readLine(s.platform, file, 1)));
    return p;
}

bool writeDialogPosition(EditorState& s, DialogPosition position) {
    return writeText(s.path(DialogPositionFile),
                     intText(position.left) + "\r\n" + intText(position.top) + "\r\n");
}

} // namespace wavora
