#include "sim/views/option_labels.h"

#include "engine/engine_state.h"

const OptionLabel kOptionLabels[] = {
    {kOptionKanaToggle, "かな入力・トグル式"},
    {kOptionTwoTouch, "2タッチ(ポケベル)入力"},
    {kOptionAutoAdvance, "自動送り"},
    {kOptionAdvanceAfterStep, "後変換/逆トグル後も自動送りする"},
    {kOptionAutoCapsLock, "自動CapsLock"},
    {kOptionNicoTouch, "ニコタッチ風"},
    {kOptionImeControl, "IME制御(Atok/Wnn用)"},
    {kOptionSwapCtrlCaps, "Ctrl-Caps 交換"},
    {kOptionSwapEscHankaku, "Esc-半全 交換"},
    {kOptionRotationMask, "画面回転時の動作"},
    {kOptionClearCancelsStroke, "[クリア]キーで2タッチの一打目を取り消す"},
};
const int kOptionLabelCount = sizeof kOptionLabels / sizeof kOptionLabels[0];

const char* inputModeName(uint32_t options) {
  if ((options & kOptionTwoTouch) != 0) {
    return (options & kOptionNicoTouch) != 0 ? "2タッチ(ポケベル)入力 ニコタッチ風"
                                             : "2タッチ(ポケベル)入力";
  }
  if ((options & kOptionKanaToggle) != 0) return "かな入力・トグル式";
  return "無し";
}
