// A test fixture holding an engine wired to a recording key output and a
// scripted IME, with every keymap released at the end.
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
