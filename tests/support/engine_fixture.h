// A test fixture holding an engine wired to a recording key output and a
// scripted IME, with every keymap released at the end.
//
// How to write an engine test: go through the entry the rest of the program
// uses (handleKeyEvent, see KeypadFixture; or the state operation the shell
// calls) and assert the injected events, which print as keys ("+K -K") when
// they differ. Assert a state field only where that field is the contract
// (the slot the IME selects, the pending CapsLock bit). What a keymap types
// is tested as text in tests/sim; each rule is tested at one layer.
#pragma once

#include <gtest/gtest.h>

#include "engine/engine_state.h"
#include "tests/support/test_doubles.h"

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.keyOutput = &output;
    engine.imeControl = &ime;
    setEngineDefaults(engine);
  }
  void TearDown() override { clearKeymaps(engine); }

  EngineState engine;
  RecordingKeyOutput output;
  ScriptedIme ime;
};
