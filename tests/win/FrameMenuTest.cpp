// The menu bar read back from the running frame: fourteen popups, every item
// with its text, identifier and place, as the user sees them.
#include "WinHarness.h"

#include "core/EditorState.h"

#include <utility>
#include <vector>

namespace wintest {
namespace {

struct Item {
    const char* text; // "" for a separator
    int id;
};
struct Popup {
    const char* title;
    std::vector<Item> items;
};

// Written out from the product's menu description, independently of the
// table the program builds its menu from.
const std::vector<Popup> kExpected = {
    {"ファイル(&F)",
     {{"新規作成（無音）(&N)\tCtrl+N", 1001},
      {"読み込み(&O)\tCtrl+O", 1003},
      {"変換して読み込み(&I)\tCtrl+I", 1270},
      {"選択範囲にwavファイルを読み込む(&O)", 1207},
      {"保存(&S)\tCtrl+S", 1002}}},
    {"編集(&E)",
     {{"前の状態に戻す(&U)", 1212},
      {"やり直す(&Y)", 1222},
      {"作業の履歴(&R)", 1273},
      {"", 0},
      {"音量グラフをリセットする(&V)", 1220},
      {"音の高さグラフをリセットする(&H)", 1221},
      {"", 0},
      {"選択範囲,マーカーを作る（消す）(&S)", 1205},
      {"選択範囲を無音にする(&M)", 1214},
      {"選択範囲のデータを削除(&D)\tDel", 1208},
      {"トリム（選択範囲のデータだけにする)(&T)", 1248},
      {"選択範囲の繰り返し", 1252},
      {"", 0},
      {"レイヤーを結合(&K)", 1211},
      {"レイヤーを削除(&Z)", 1213},
      {"合成 (&G)", 1217},
      {"ステレオ合成 (&W)", 1251},
      {"ステレオをモノラルに分割 (&:)", 1253},
      {"", 0},
      {"データの長さを変える (&L)", 1225},
      {"マーカー部分に無音領域を挿入する (&O)", 1241},
      {"名前を変える (&N)", 1244},
      {"ビット変換(&B)", 1262},
      {"前後を反転(&1)", 1263}}},
    {"表示(&V)",
     {{"拡大縮小表示(&M)", 1206}}},
    {"超ランダム(&R)",
     {{"超ランダム波(&X)", 1239},
      {"超ランダムエフェクト波(&7)", 1242},
      {"ランダムSin波(&S)", 1261},
      {"ランダム合成Sin波(&G)", 1255},
      {" 今（最後）の種類で固定(&K)", 1256},
      {"種類を限定(&T)", 1257},
      {"周波数を限定(&F)", 1260},
      {"選択された部分のランダム波情報を表示、全体をその波にする？(&I)", 1243}}},
    {"波形(&K)",
     {{"Sin波(&S)", 1101},
      {"Sin+Sin波(&Z)", 1224},
      {"Sin×Sin波(&W)", 1226},
      {"音の高さがSinの波(&@)", 1228},
      {"音の高さがSinの周波数がさらにSin(&\\)", 1230},
      {"音の高さがランダムに変化するSin(&,)", 1231},
      {"ランダムノイズ波(&R)", 1223},
      {"", 0},
      {"波形パターン入力ウィンドウ(&I)", 1102},
      {"波形パターンを保存(&H)", 1203},
      {"波形パターンを読み込む(&L)", 1204}}},
    {"再生(&P)",
     {{"再生(&N)", 1201},
      {"試聴(&T)\tSpace", 1271},
      {"ループ再生(&R)", 1238},
      {"停止(&S)\tEsc", 1227},
      {"音量グラフ固定する(&V)", 1258},
      {"高さグラフ固定する(&H)", 1259},
      {"", 0},
      {"変更したら試聴する(&A)", 1272}}},
    {"録音(&R)",
     {{"録音開始(&1)", 1215}}},
    {"エコー (&D)",
     {{"エコー をかける(&C)", 1216},
      {"多重エコー をかける(&J)", 1240}}},
    {"コーラス(&C)",
     {{"コーラスをかける(&C)", 1232},
      {"周波数を変えてやりなおす(&H)", 1233},
      {"ボリュームを変えてやりなおす(&V)", 1234}}},
    {"ヒズミ(&Z)",
     {{"ディストーション(&D)", 1235}}},
    {"音階(&S)",
     {{"音波にオクターブと音階を指定する(&A)", 1249}}},
    {"効果音(&G)",
     {{"コイン(&C)", 1280},
      {"レーザー(&L)", 1281},
      {"爆発(&B)", 1282},
      {"パワーアップ(&P)", 1283},
      {"ダメージ(&D)", 1284},
      {"ジャンプ(&J)", 1285},
      {"ピッ（選択音）(&S)", 1286},
      {"", 0},
      {"ちょっと変える(&M)", 1287},
      {"", 0},
      {"こもらせる（ローパス）(&O)", 1288},
      {"シャープにする（ハイパス）(&H)", 1289}}},
    {"ヘルプ(&H)",
     {{"音声データウィンドウ、レイヤー情報(&I)", 1210},
      {"ヘルプ(&S)\tF1", 1250}}},
    {"最新版？(&Z)",
     {{"最新版？(&Z)", 1267}}},
};

std::string menuText(HMENU menu, UINT pos) {
    wchar_t buf[512] = {};
    GetMenuStringW(menu, pos, buf, 512, MF_BYPOSITION);
    return utf8(buf);
}

TEST_F(EditorTest, MenuBarHasEveryItemInOrder) {
    HMENU bar = GetMenu(frame());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 14);
    for (UINT p = 0; p < kExpected.size(); ++p) {
        SCOPED_TRACE(kExpected[p].title);
        EXPECT_EQ(menuText(bar, p), kExpected[p].title);
        HMENU popup = GetSubMenu(bar, static_cast<int>(p));
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(kExpected[p].items.size()));
        for (UINT i = 0; i < kExpected[p].items.size(); ++i) {
            const Item& want = kExpected[p].items[i];
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
            ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
            if (want.id == 0) {
                EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "position " << i;
                continue;
            }
            EXPECT_EQ(static_cast<int>(info.wID), want.id) << "position " << i;
            if (want.id == 1212 || want.id == 1222) continue; // replaced at start-up, below
            EXPECT_EQ(menuText(popup, i), want.text) << "position " << i;
            EXPECT_FALSE(info.fState & MFS_GRAYED) << "position " << i;
        }
    }
}

TEST_F(EditorTest, UndoAndRedoStartGrayed) {
    HMENU edit = GetSubMenu(GetMenu(frame()), 1);
    EXPECT_EQ(menuText(edit, 0), "<(_ _)>元に戻せません(&U)\tCtrl+Z");
    EXPECT_EQ(menuText(edit, 1), "<(_ _)>やり直せません(&Y)\tCtrl+Y");
    EXPECT_EQ(GetMenuItemID(edit, 0), 1212u);
    EXPECT_EQ(GetMenuItemID(edit, 1), 1222u);
    EXPECT_TRUE(GetMenuState(edit, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(edit, 1, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(EditorTest, HelperIsFoundAndTheFrameKeepsItsLimits) {
    ASSERT_NE(wavora::app().helper, nullptr);
    wchar_t title[256] = {};
    GetWindowTextW(wavora::app().helper, title, 256);
    EXPECT_EQ(utf8(title), "圧縮ファイルBMP変換だぞ");
    // The frame cannot be made smaller than its default size.
    SetWindowPos(frame(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    GetWindowRect(frame(), &r);
    EXPECT_EQ(r.right - r.left, 950);
    EXPECT_EQ(r.bottom - r.top, 534);
}

} // namespace
} // namespace wintest
