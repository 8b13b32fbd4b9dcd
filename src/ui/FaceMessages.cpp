#include "ui/FaceMessages.h"

#include "core/Platform.h"

#include <array>

namespace wavora {

const char* const NoSoundWindowText =
    "音声データWindowがありません。\r\nファイル→新規作成で作成してください。細かい設定がわからない場合はそのままでもOKです。\r\n詳細はHelpを参照してください。";

namespace {

// k = int(10 r) with a fresh seed from the tick count.
int drawFace(EditorState& s) {
    s.rng.seed(s.platform.tickCount());
    return static_cast<int>(10.0 * s.rng.uniform());
}

} // namespace

void showFaceMessage(EditorState& s, const std::string& text) {
    static const std::array<const char*, 10> faces = {"<(_ _)>", "（;・-・）", "m(_ _)m", "(つд⊂)", "（‘ v‘）/",
                                                      "('-'*)",  "(;ﾟ0ﾟ)",    "<(_ _)>", "<(_ _)>", "<(_ _)>"};
    int k = drawFace(s);
    s.platform.messageBox({text.empty() ? NoSoundWindowText : text, faces[static_cast<std::size_t>(k)]});
}

void showNoLayerMessage(EditorState& s) {
    static const std::array<const char*, 10> faces = {"<(_ _)>", "（TдT）", "(*_ _)",  "(つＡ⊂)", "(>_<)>",
                                                      "(; ;)",   "(;‘‘)",   "(;ﾟ-ﾟ)", "(;ﾟoﾟ)",  "<(_ _)>"};
    int k = drawFace(s);
    s.platform.messageBox({"その画像にはレイヤーがありません。レイヤーがある画像のウィンドウを指定してから実行してください。",
                           faces[static_cast<std::size_t>(k)]});
}

} // namespace wavora
