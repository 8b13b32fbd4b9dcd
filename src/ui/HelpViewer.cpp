#include "ui/HelpViewer.h"

#include "text/Paths.h"
#include "ui/HelpBitmap.h"

#include <algorithm>

namespace wavora {

const char* const HelpBaseTitle = "Wavoraヘルプ";
const char* const HelpMenuButtonText = "メニューに戻る";

const std::array<HelpTopic, 22> HelpTopics = {{
    {1001, "Wavoraとは", 50, 50, 400, 22, "HelpWAVORA.txt", "WAVORA"},
    {1002, "画面の説明", 50, 100, 180, 30, "Help画面の説明.txt", "画面の説明"},
    {1003, "ツールバーについて", 250, 100, 180, 30, "Helpツールバー.txt", "ツールバー"},
    {1005, "サンプル", 50, 150, 180, 30, "Helpサンプル.txt", "サンプル"},
    {1006, "音の作りかた", 250, 150, 180, 30, "Help音の作りかた.txt", "音の作りかた"},
    {1087, "超ランダム", 50, 200, 180, 30, "Help超ランダム.txt", "超ランダム"},
    {1086, "ワンタッチ音量音程調節機能", 250, 200, 180, 30, "Helpワンタッチ音量音程調節機能.txt",
     "ワンタッチ音量音程調節機能"},
    {1082, "グラフの使い方", 50, 250, 180, 30, "Helpグラフの使い方.txt", "グラフの使い方"},
    {1079, "録音について", 250, 250, 180, 30, "Help録音.txt", "録音"},
    {1083, "マーカー", 50, 300, 180, 30, "Helpマーカー.txt", "Helpマーカー"},
    {1084, "選択範囲", 250, 300, 180, 30, "Help選択範囲.txt", "Help選択範囲"},
    {1085, "レイヤー", 50, 350, 180, 30, "Helpレイヤー.txt", "Helpレイヤー"},
    {1088, "音波の基礎知識", 250, 350, 180, 30, "Help音波の基礎知識１.txt", "音波の基礎知識"},
    {1080, "欲しい音を作るコツ１", 50, 400, 180, 30, "Help欲しい音を作るコツ１.txt", "欲しい音を作るコツ１"},
    {1081, "欲しい音を作るコツ２", 250, 400, 180, 30, "Help欲しい音を作るコツ２.txt", "欲しい音を作るコツ２"},
    {1094, "合成、ステレオ合成", 50, 449, 180, 30, "Help合成、ステレオ合成.txt", "合成、ステレオ合成"},
    {1090, "Sin以外の波形", 250, 450, 180, 30, "HelpSin以外の波形.txt", "Sin以外の波形"},
    {1089, "位相とは", 50, 500, 180, 30, "Help位相とは.txt", "位相"},
    {1091, "２重の線", 250, 500, 180, 30, "Help波形手書き入力２重の線.txt", "波形手書き入力２重の線"},
    {1093, "音階、コーラス、ヒズミ", 50, 550, 180, 30, "Help音階コーラスヒズミ.txt", "音階コーラスヒズミ"},
    {1092, "波形ビットマップ", 250, 550, 180, 30, "Help波形のBmp.txt", "波形のBmp"},
    // Below the grid, lower than the others so that it fits the window as it
    // has always been made.
    {1095, "効果音", 50, 595, 180, 22, "Help効果音.txt", "効果音"},
}};

namespace {
constexpr std::size_t HistoryMax = 101;
constexpr int ScrollSlack = 29; // how far past either end a new position may ask
} // namespace

HelpViewer::HelpViewer(Platform& platform, HelpWindowHost& host, std::filesystem::path root)
    : platform_(platform), host_(host), root_(std::move(root)) {}

bool HelpViewer::makeSurface(int height) {
    if (surface_ && surface_->height() >= height) return true;
    surface_.reset();
    surface_ = platform_.createSurface(HelpPageWidth, height);
    return surface_ != nullptr;
}

void HelpViewer::open() {
    if (!haveRemembered_) {
        remembered_ = host_.windowRect();
        haveRemembered_ = true;
    }
    makeSurface(HelpPageMinHeight);
    host_.setTitle(HelpBaseTitle);
    if (!lastPath_.empty()) {
        showPage(lastPath_, lastTitle_);
    } else {
        if (surface_) surface_->fill(HelpBackground);
        onIndex_ = true;
        pageHeight_ = HelpPageMinHeight;
        scrollPos_ = 0;
        host_.showTopicButtons(true);
        layoutWidth_ = remembered_.width();
        layoutHeight_ = remembered_.height();
        host_.placeWindow(remembered_);
        applyScroll();
    }
    host_.show();
}

void HelpViewer::showIndex() {
    // Back from a page the window gets the size the index was made for, so
    // that every topic button can be seen.
    HelpRect r = host_.windowRect();
    r.right = r.left + HelpIndexWidth;
    r.bottom = r.top + std::min(HelpIndexHeight, host_.workAreaHeight() - 10);
    layoutWidth_ = r.width();
    layoutHeight_ = r.height();
    onIndex_ = true;
    if (surface_) surface_->fill(HelpBackground);
    pageHeight_ = HelpPageMinHeight;
    scrollPos_ = 0;
    host_.setTitle(HelpBaseTitle);
    host_.showTopicButtons(true);
    host_.placeWindow(r);
    applyScroll();
    host_.repaint();
}

void HelpViewer::showPage(const std::string& relativePath, const std::string& title) {
    host_.showTopicButtons(false);
    lastPath_ = relativePath;
    lastTitle_ = title;
    onIndex_ = false;
    host_.setTitle(std::string(HelpBaseTitle) + " 【 " + title + " 】");
    auto seen =
        std::find_if(history_.begin(), history_.end(), [&](const auto& e) { return e.first == title; });
    if (seen == history_.end() && history_.size() < HistoryMax) history_.emplace_back(title, 0);

    std::string path = relativePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string text = readHelpText(utf8FromPath(root_ / pathFromUtf8(path)));
    const std::filesystem::path parts = root_ / pathFromUtf8("Wavora部品");
    page_ = layoutHelpPage(platform_, text, relativePath, [&](const std::string& name) {
        return loadBmpFile(utf8FromPath(parts / pathFromUtf8(name)));
    });
    if (makeSurface(page_.surfaceHeight())) drawHelpPage(platform_, *surface_, page_);

    const int bar = host_.scrollBarHeight();
    HelpRect r = host_.windowRect();
    r.right = r.left + bar + 530;
    r.bottom = r.top + std::min(page_.bottom + bar + 70, host_.workAreaHeight() - 10);
    layoutWidth_ = r.width();
    layoutHeight_ = r.height();
    pageHeight_ = page_.scrollHeight();
    host_.placeWindow(r);
    const int* known = rememberedPos();
    int wanted = known ? *known : 0;
    scrollPos_ = 0;
    scrollTo(wanted);
    applyScroll();
    host_.show();
    host_.repaint();
}

void HelpViewer::command(int id) {
    if (id == HelpMenuButtonId) {
        showIndex();
        return;
    }
    if (id == HelpTopmostCommand) {
        topmost_ = !topmost_;
        host_.setTopmost(topmost_);
        return;
    }
    for (const HelpTopic& t : HelpTopics)
        if (t.id == id) showPage(std::string("Wavora部品\\") + t.file, t.title);
}

const char* HelpViewer::topmostCaption() const {
    return topmost_ ? "最全面表示をやめる" : "最全面表示";
}

int* HelpViewer::rememberedPos() {
    if (onIndex_) return nullptr;
    for (auto& e : history_)
        if (e.first == lastTitle_) return &e.second;
    return nullptr; // a title beyond the history's room is not remembered
}

void HelpViewer::scrollTo(int wanted) {
    const int client = host_.clientHeight();
    if (wanted < -ScrollSlack || wanted > pageHeight_ + ScrollSlack - client) return;
    // Inside that slack the page still never moves past its own ends.
    scrollPos_ = std::clamp(wanted, 0, std::max(0, pageHeight_ - client));
    if (int* known = rememberedPos()) *known = scrollPos_;
}

void HelpViewer::applyScroll() {
    host_.setScrollBar(pageHeight_ - 1, host_.clientHeight(), scrollPos_);
}

void HelpViewer::scroll(HelpScroll request, int thumbPos) {
    switch (request) {
    case HelpScroll::LineUp:
        scrollTo(scrollPos_ - HelpLineStep);
        break;
    case HelpScroll::LineDown:
        scrollTo(scrollPos_ + HelpLineStep);
        break;
    case HelpScroll::Thumb:
        scrollTo(thumbPos);
        break;
    case HelpScroll::Other:
        return;
    }
    applyScroll();
    host_.repaint();
}

void HelpViewer::wheel(int delta) {
    const int notches = delta / 120;
    if (notches == 0) return;
    scrollTo(std::max(0, scrollPos_ - 2 * HelpLineStep * notches));
    applyScroll();
    host_.repaint();
}

void HelpViewer::close() {
    remembered_ = host_.windowRect();
    haveRemembered_ = true;
    host_.hide();
    surface_.reset();
}

} // namespace wavora
