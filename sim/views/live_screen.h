// What `padquiltkana-sim live` and the web page show, in the program's and
// the manual's words: the input mode and options as the settings dialog
// labels them, the keymap as キーマップN, the IME state, the candidates of the
// key being toggled, the forms that post-conversion (*) steps through and the
// row of a pending first stroke (一打目), each with the current one marked.
#pragma once

#include <string>
#include <vector>

#include "sim/device/sim_device.h"

// What the actions of one key type, in order, as a person reads them.
struct CandidateRow {
  int column = -1;  // the keypad column the row belongs to; -1 for none
  std::vector<std::string> texts;
  int current = -1;  // the one in use; -1 for none
};

struct InputStateView {
  std::string mode;     // "かな入力・トグル式" ...
  std::string keymap;   // "キーマップ4", "キーマップ4 (空)", "キーマップ無し"
  std::string ime;      // "IME ON" or "IME OFF", as the settings dialog shows it
  std::string imeMode;  // the IME's own mode name: ひらがな, オフ ...
  std::string options;  // the options in use besides the mode; "-" for none
  CandidateRow toggle;  // the key being toggled
  CandidateRow forms;   // the char list typed last, when it has forms
  CandidateRow firstStroke;  // a pending first stroke: its row by second key
};

// What each action of the key in `column` of `image` types, for at most
// `most` actions, with the IME as the device has it.
std::vector<std::string> keyActionTexts(const SimDevice& device, const KeymapImage& image,
                                        int column, uint32_t most);

InputStateView inputStateView(const SimDevice& device);

// The state lines, without the text; the current candidates in [ ].
std::string describeInputState(const SimDevice& device);

// The whole screen as plain text (no terminal control codes).
std::string liveScreen(const SimDevice& device, const std::string& keymapPath);
