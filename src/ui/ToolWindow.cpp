#include "ui/ToolWindow.h"

#include "core/ToolIds.h"
#include "ui/FaceMessages.h"

namespace wavora {

namespace {

constexpr int SelectionToolCommand = 1205;
constexpr int ZoomToolCommand = 1206;

// The memo reader has no menu item; its button sends its own id through the
// frame's dispatch, which knows it once the memo reader is there.
constexpr int MemoReadCommand = 5016;

const std::array<ToolButton, 16> kButtons = {{
    {5001, "再生", "Saiseiのアイコン.ico", 1201},
    {5002, "録音", "Recのアイコン.ico", 1215},
    {5003, "停止", "Stopのアイコン.ico", 1227},
    {5004, "選択範囲、マーカー", "SentakuHanniのアイコン.ico", 0},
    {5005, "選択（レイヤーにする）", "Sentakuのアイコンのアイコン.ico", 0},
    {5006, "曲線", "Kyokusenのアイコン.ico", 0},
    {5007, "直線", "Chokusenのアイコン.ico", 0},
    {5008, "「高さ(Hz)」を直線的に変える曲線", "HzChokusenのアイコン.ico", 0},
    {5009, "消しゴム", "Clearのアイコン.ico.ico", 0},
    {5010, "拡大（左クリック）縮小（右クリック）表示", "KakudaiHyoujiのアイコン.ico", 0},
    {5011, "超ランダム波", "超のアイコン.ico", 1239},
    {5012, "超ランダムエフェクト波", "エのアイコン.ico", 1242},
    {5013, "ランダムSin波", "ラのアイコン.ico", 1261},
    {5014, "ランダム合成Sin波", "合のアイコン.ico", 1255},
    {5015, "ランダム情報のメモをとる", "Memoのアイコン.ico", 1265},
    {5016, "メモを読み込む", "MemoReadのアイコン.ico", MemoReadCommand},
}};

bool needsSound(EditorState& s) {
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    return false;
}

void choose(EditorState& s, std::uint8_t tool, std::uint8_t eraser, std::uint8_t hzLine) {
    s.CurrentTool = tool;
    // Every tool but the eraser ends erasing; otherwise a press with the next
    // tool would still erase.
    s.EraserOn = eraser;
    s.HzLineMode = hzLine;
}

void run(EditorState& s, int command) {
    if (s.runCommand) s.runCommand(s, command);
}

} // namespace

const std::array<ToolButton, 16>& toolButtons() { return kButtons; }

Point defaultToolWindowPosition(int frameLeft, int frameTop, int frameWidth) {
    return {frameLeft + frameWidth + 1, frameTop + 2};
}

Size toolWindowSize(int frameBorder, int captionHeight) {
    return {2 * frameBorder + ToolButtonSize, 2 * frameBorder + captionHeight + 16 * ToolButtonSize};
}

void toolButtonPressed(EditorState& s, int id) {
    switch (id) {
    case 5004:
        s.EraserOn = 0;
        run(s, SelectionToolCommand);
        break;
    case 5005:
        if (needsSound(s)) choose(s, ToolMakeLayer, 0, s.HzLineMode);
        break;
    case 5006:
        if (needsSound(s)) choose(s, ToolCurve, 0, s.HzLineMode);
        break;
    case 5007: choose(s, ToolLine, 0, 0); break;
    case 5008: choose(s, ToolLine, 0, 1); break;
    case 5009: choose(s, ToolEraser, 1, s.HzLineMode); break;
    case 5010:
        s.EraserOn = 0;
        run(s, ZoomToolCommand);
        break;
    default:
        for (const ToolButton& b : kButtons)
            if (b.id == id && b.command != 0) run(s, b.command);
        break;
    }
}

int pressedToolButton(const EditorState& s) {
    if (s.EraserOn) return 5009;
    switch (s.CurrentTool) {
    case ToolSelection: return 5004;
    case ToolMakeLayer: return 5005;
    case ToolCurve: return 5006;
    case ToolLine: return s.HzLineMode ? 5008 : 5007;
    case ToolZoom: return 5010;
    default: return 0;
    }
}

} // namespace wavora
