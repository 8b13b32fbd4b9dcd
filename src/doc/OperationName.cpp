#include "doc/OperationName.h"

#include <array>

namespace wavora {

namespace {
const std::array<std::string, OperationCount> kNames = {
    "新規作成",          "背景への描画",       "レイヤーへの描画",
    "レイヤー移動",      "切り取り",           "音量、音の高さの変化",
    "選択範囲の削除",    "選択範囲の無音",     "選択範囲の変化",
    "レイヤー削除",      "選択範囲にWAVを読み込む", "音量グラフのリセット",
    "音の高さグラフのリセット", "合成",        "エコー",
    "カーソルで変化",    "波形入力",           "録音",
    "データの長さ変える", "データ貼り付け",     "Sin波",
    "Sin+Sin波",         "Sin×Sin波",          "ランダムノイズ波",
    "コーラス",          "音の高さがSinの波",  "音の高さが整数化したSinの波",
    "音の高さがSinの周波数がさらにSin", "音の高さがランダムに変化するSin", "ディストーション",
    "超ランダム波",      "マーカー部分に無音領域を挿入する", "超ランダムエフェクト波",
    "トリム",            "",                   "選択範囲の繰り返し",
    "波形パターン読み込み", "ランダム合成Sin波", "前後を反転",
    "ビット変換",        "コイン",             "レーザー",
    "爆発",              "パワーアップ",       "ダメージ",
    "ジャンプ",          "ピッ",               "こもらせる（ローパス）",
    "シャープにする（ハイパス）",
};
const std::string kNoName;
} // namespace

const std::string& operationName(int code) {
    if (code < 0 || code >= OperationCount) return kNoName;
    return kNames[static_cast<std::size_t>(code)];
}

} // namespace wavora
