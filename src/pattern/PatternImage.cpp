#include "pattern/PatternImage.h"

#include "converter/HelperClient.h"
#include "core/Platform.h"
#include "text/Paths.h"
#include "ui/HelpBitmap.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace wavora {

namespace {

void tellNoPicture(EditorState& s, const std::string& what) {
    s.platform.messageBox({what + "\r\n\r\n前の絵はそのままです。", "(;ﾟ0ﾟ) 画像を開けません", MsgButtons::Ok,
                           MsgIcon::Exclamation});
}

} // namespace

bool isBmpPath(const std::string& pathUtf8) {
    std::string ext = utf8FromPath(pathFromUtf8(pathUtf8).extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".bmp";
}

void OpenImageAsPicture(EditorState& s, PatternWindow& w) {
    if (AskHelperForFile(s, OpenDialog, "bmp,jpg,gif,png", "波形パターンを読み込む", s.frame.FileOpenPath, "",
                         0) < 1 ||
        !chosenNameUsable(s))
        return;
    const std::string chosen = helperReplyPath(s);
    std::string path = chosen;
    if (!isBmpPath(chosen)) {
        // The converted file of an earlier image must not pass for this one
        // when the helper cannot read it and writes nothing.
        const std::filesystem::path converted = s.path(ConvertedImageName);
        std::error_code ec;
        std::filesystem::remove(converted, ec);
        if (!requestImageConversion(s, chosen)) {
            tellNoPicture(s, "画像をBMPに変換するプログラム（Pictra）が見つかりません。");
            return;
        }
        path = utf8FromPath(converted);
    }
    // Transparent parts of a converted PNG show as the white they stand on.
    const std::shared_ptr<Surface> image = loadBmpFile(path, true);
    if (!image) {
        tellNoPicture(s, "次の画像を読み込めませんでした。\r\n" + chosen);
        return;
    }
    if (!replacePicture(s, w, *image)) return;
    repaintPatternWindow(s, w);
}

} // namespace wavora
