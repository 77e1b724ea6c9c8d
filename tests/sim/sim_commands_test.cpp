// The command line tool's commands: check output for good and broken files,
// the type command's output, its script and its options, and the tool's
// command-line conventions (help, version, usage, exit codes).
#include "sim/views/sim_commands.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/option_table.h"
#include "engine/virtual_keys.h"
#include "sim/device/ime_emulation.h"
#include "sim/views/event_listing.h"
#include "sim/views/keymap_diagnostics.h"
#include "sim/views/option_labels.h"
#include "tests/sim/sim_fixture.h"
#include "tests/sim/temp_file.h"

namespace {

SimCommandLine commandLine(const std::vector<std::string>& args) {
  SimCommandLine line;
  std::string error;
  EXPECT_TRUE(parseSimCommandLine(args, line, error)) << error;
  return line;
}

TEST(SimCommandsTest, CheckListsTheFilledSlotsOfTheDefaultKeymap) {
  SimOutput output;
  EXPECT_EQ(runCheckCommand(commandLine({"check", defaultKeymapFile()}), output), 0);
  EXPECT_EQ(output.out, "slots: 0 2 4 5 6\n");
}

TEST(SimCommandsTest, CheckPrintsEveryMessageWithItsLine) {
  TempFile file(
      "defcode TOGGLE '\\x02'\n"
      "keymap '\\x03'\n"
      "key TOGGLE\n"
      "char QQ RR\n"
      "key TOGGLE\n");
  SimOutput output;
  EXPECT_EQ(runCheckCommand(commandLine({"check", file.path()}), output), 1);
  // The second bad token gets no box on the device, but is listed; the key
  // count names the keymap's own line too.
  const std::string& f = file.path();
  EXPECT_EQ(output.out,
            f + ":4: 4行:symbolが見つかりません\n" + f + ":4: 4行:symbolが見つかりません\n" + f +
                ":4: 4行:Keyの数が合いません\n" + f + ":2: 備考: このkeymapはここから始まります\n");
}

TEST(SimCommandsTest, CheckNamesTheLineAnEditorShows) {
  TempFile file("nop" + std::string(835, 'x') + "nop\r\n\r\nkeymap\r\nkey '\\x01'\r\nbad\r\n");
  SimOutput output;
  EXPECT_EQ(runCheckCommand(commandLine({"check", file.path()}), output), 1);
  const std::string& f = file.path();
  EXPECT_EQ(output.out,
            f + ":1: 警告: 行が838バイトを超えています (残りは次の行として読まれます)\n" + f +
                ":5: 6行:判定できないコマンドです\n" + f + ":5: 6行:bellはactionが12個必要です\n" +
                f + ":4: 備考: このkeyはここから始まります\n" + f +
                ":5: 6行:Keyの数が合いません\n" + f + ":3: 備考: このkeymapはここから始まります\n");
}

TEST(SimCommandsTest, CheckWarnsWithoutChangingTheExitStatus) {
  std::string text = "keymap '\\x07'\nkey '\\x02'\nchar '\\x4G'\nexec calc.exe\ncommand '\\xFF'\n";
  for (int key = 2; key <= 12; ++key) text += "key '\\x02'\n";
  TempFile file(text);
  SimOutput output;
  EXPECT_EQ(runCheckCommand(commandLine({"check", file.path()}), output), 0);
  const std::string& f = file.path();
  EXPECT_EQ(output.out,
            f + ":3: 警告: '\\x4G' に16進数の数字でない文字があります (0x40 と読まれます)\n" + f +
                ":4: 警告: execのプログラムと引数は \"…\" で囲んでください" +
                " (囲みの外の文字は使われません)\n" + f +
                ":5: 警告: commandの番号 0xFF のコマンドはありません (何もしません)\n" +
                "slots: 7\n");
  TempFile none("# no keymaps\n");
  output = {};
  EXPECT_EQ(runCheckCommand(commandLine({"check", none.path()}), output), 0);
  EXPECT_EQ(output.out,
            none.path() + ": 警告: keymap行がありません (キーマップが一つもできません)\nslots:\n");
}

TEST(SimCommandsTest, CheckOfAMissingFileSaysSoOnce) {
  const std::string missing = "/tmp/pqk_sim_no_such_keymap.txt";
  SimOutput output;
  EXPECT_EQ(runCheckCommand(commandLine({"check", missing}), output), 1);
  EXPECT_EQ(output.out, missing + ": ファイルがありません\n");
}

TEST(SimCommandsTest, MessagesWithoutALineNumberKeepTheirText) {
  EXPECT_EQ(formatKeymapMessage("k.txt", "12行:symbolが見つかりません"),
            "k.txt:12: 12行:symbolが見つかりません");
  EXPECT_EQ(formatKeymapMessage("k.txt", "読込エラー"), "k.txt: 読込エラー");
  EXPECT_EQ(formatKeymapMessage("k.txt", "12x"), "k.txt: 12x");
}

TEST(SimCommandsTest, TypeSaysHelloFromTheDefaultKeymap) {
  SimOutput output;
  EXPECT_EQ(runTypeCommand(commandLine({"type", "--keymap", defaultKeymapFile(), "22222", "000",
                                        "55", "44", "6"}),
                           std::make_unique<ImeEmulation>(), output),
            0);
  EXPECT_EQ(output.out, "text: こんにちは\n");
  EXPECT_EQ(output.err, "");
}

TEST(SimCommandsTest, TypeWithEventsListsEveryEventThatReachesTheIme) {
  SimOutput output;
  runTypeCommand(commandLine({"type", "--keymap", defaultKeymapFile(), "--events", "2", "2", "C",
                              "ime:off", "3"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out,
            "down 0x4B K\nup 0x4B K\ndown 0x41 A\nup 0x41 A\n"
            "down 0x08 Backspace\nup 0x08 Backspace\ndown 0x4B K\nup 0x4B K\n"
            "down 0x49 I\nup 0x49 I\n"
            "pass down 0x08 Backspace\npass up 0x08 Backspace\n"
            "ime off\n"
            "down 0x44 D\nup 0x44 D\n"
            "text: d\n");
  // On a Japanese keyboard the alphanumeric keymap's @ is the key right of
  // P, unshifted (on a US one Shift+2).
  output = {};
  runTypeCommand(commandLine({"type", "--keymap", defaultKeymapFile(), "--events", "--layout", "jp",
                              "--ime", "off", "11"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out,
            "down 0xBE .\nup 0xBE .\ndown 0x08 Backspace\nup 0x08 Backspace\n"
            "down 0xC0 `\nup 0xC0 `\n"
            "text: @\n");
}

// A character the layout has no key for is passed over: the listing says
// which, where it happened.
TEST(SimCommandsTest, TypeWithEventsNamesTheCharactersPassedOver) {
  ScriptedLayout layout;
  layout.keys = {{'.', {true, 0xBE, 0}}};
  SimDevice device;
  device.useKeyboardLayout(layout);
  startDevice(device, kKanaToggleMode, false);
  std::vector<std::string> lines;
  device.onDelivered = [&lines](const SimEvent& event) { lines.push_back(formatSimEvent(event)); };
  device.onUntypable = [&lines](char16_t c) { lines.push_back(formatUntypable(c)); };
  play(device, "11");
  EXPECT_EQ(lines, (std::vector<std::string>{"down 0xBE .", "up 0xBE .", "down 0x08 Backspace",
                                             "up 0x08 Backspace", "untypable @"}));
  EXPECT_EQ(device.text(), "");
  EXPECT_EQ(formatUntypable(u'\u00A5'), "untypable U+00A5");
}

TEST(SimCommandsTest, TypeOptionsChooseModeImeAndTimeout) {
  const std::string keymap = defaultKeymapFile();
  SimOutput output;
  runTypeCommand(commandLine({"type", "--keymap", keymap, "--mode", "2touch", "21"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out, "text: か\n");
  output = {};
  runTypeCommand(commandLine({"type", "--keymap", keymap, "--ime", "off", "22"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out, "text: b\n");
  output = {};
  runTypeCommand(
      commandLine({"type", "--keymap", keymap, "--options", "41c0", "--timeout", "50", "2", "2"}),
      std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out, "text: かか\n");
  output = {};
  runTypeCommand(commandLine({"type", "--keymap", keymap, "--mode", "none", "--ime", "off", "2",
                              "vk:41", "ime:on", "vk:41"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.out, "text: 2aあ\n");
}

TEST(SimCommandsTest, TypeWithEventsShowsPostedWindowCommands) {
  std::string text =
      "keymap '\\x04'\n"
      "key '\\x02'\n"
      "exec \"\\Windows\\calc.exe\" \"-x 1\"\n"
      "key '\\x02'\n"
      "command '\\x07' '\\x02'\n";
  for (int key = 3; key <= 12; ++key) text += "key '\\x02'\n";
  TempFile file(text);
  SimOutput output;
  runTypeCommand(commandLine({"type", "--keymap", file.path(), "--events", "12"}),
                 std::make_unique<ImeEmulation>(), output);
  EXPECT_EQ(output.err, "");
  EXPECT_EQ(output.out, "run \"\\Windows\\calc.exe\" \"-x 1\"\ncommand 30001 2\ntext: \n");
}

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string readFile(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

// Runs padquiltkana-sim itself, input from /dev/null.
ProgramRun runProgram(const std::vector<std::string>& args) {
  TempFile out("");
  TempFile err("");
  std::vector<const char*> argv = {PQK_SIM_PROGRAM};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  ProgramRun run;
  const pid_t child = fork();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int o = open(out.path().c_str(), O_WRONLY | O_TRUNC);
    const int e = open(err.path().c_str(), O_WRONLY | O_TRUNC);
    if (in < 0 || o < 0 || e < 0 || dup2(in, 0) < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(126);
    execv(PQK_SIM_PROGRAM, const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exitCode = WEXITSTATUS(status);
  }
  run.out = readFile(out.path());
  run.err = readFile(err.path());
  return run;
}

struct CommandLineCase {
  std::vector<std::string> args;
  int exitCode;
  std::string out;
  std::string err;  // exact, or what it must contain when errContains
  bool errContains = false;
};

TEST(SimCommandsTest, CommandLineConventions) {
  const std::string keymap = defaultKeymapFile();
  TempFile broken("keymap 3\n");
  const std::string brokenMessage = broken.path() + ":1: 1行:Keymap番号が不正です\n";
  const std::string missing = "/tmp/pqk_sim_no_such_keymap.txt";
  const std::string usage = simUsage();
  const std::string error = "padquiltkana-sim: ";
  const std::vector<CommandLineCase> cases = {
      {{"--help"}, 0, usage, ""},
      {{"-h"}, 0, usage, ""},
      {{"help"}, 0, usage, ""},
      {{"type", "--keymap", keymap, "--help", "2"}, 0, usage, ""},
      {{"--version"}, 0, "padquiltkana-sim " PQK_VERSION "\n", ""},
      // A usage error: its message, then the usage once.
      {{}, 2, "", error + "no command\n" + usage},
      {{"run"}, 2, "", error + "unknown command 'run'\n" + usage},
      {{"type", "--mode", "pager", "1"},
       2,
       "",
       error + "--mode takes toggle, 2touch or none\n" + usage},
      {{"type", "--ime-engine", "atok", "1"},
       2,
       "",
       error + "--ime-engine takes emulation or mozc\n" + usage},
      {{"type", "--keymap", keymap, "5x"}, 2, "", error + "bad script token '5x'\n" + usage},
      // A keymap that is missing or broken: its messages, exit 1, nothing typed.
      {{"type", "--keymap", broken.path(), "12"}, 1, "", brokenMessage},
      {{"live", "--keymap", broken.path()}, 1, "", brokenMessage},
      {{"type", "--keymap", missing, "12"}, 1, "", missing, true},
      {{"live", "--keymap", missing}, 1, "", missing, true},
      {{"live", "--keymap", keymap},
       2,
       "",
       error + "live needs a terminal; use type for scripts\n"},
      {{"check", keymap}, 0, "slots: 0 2 4 5 6\n", ""},
      // A real IME: what mozc makes of the default keymap.
      {{"type", "--keymap", keymap, "--ime-engine", "mozc", "22222", "000", "55", "44", "6"},
       0,
       "text: こんにちは\n",
       ""},
      {{"type", "--keymap", keymap, "--ime-engine", "mozc", "--options", "4118", "48", "01", "04"},
       0,
       "text: ふぁ、\n",
       ""},
      // mozc reads the keys through the keyboard's layout too.
      {{"type", "--keymap", keymap, "--ime-engine", "mozc", "--layout", "jp", "--ime", "off", "11",
        ">", "111111", ">", "1111111"},
       0,
       "text: @:~\n",
       ""},
  };
  for (const CommandLineCase& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += " " + arg;
    const ProgramRun run = runProgram(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << shown;
    EXPECT_EQ(run.out, c.out) << shown;
    if (c.errContains) {
      EXPECT_NE(run.err.find(c.err), std::string::npos) << shown << ": " << run.err;
      EXPECT_EQ(run.err.find("usage:"), std::string::npos) << shown;
    } else {
      EXPECT_EQ(run.err, c.err) << shown;
    }
  }
  // The usage names every option bit by its label in the settings dialogs,
  // and every rotation behaviour.
  for (const OptionRow& option : kOptionTable) {
    if (option.bits == 0 || option.storage != OptionStorage::kStored) continue;
    EXPECT_NE(usage.find(option.label), std::string::npos) << option.label;
  }
  for (const char* entry : kRotationBehaviourLabels) {
    EXPECT_NE(usage.find(entry), std::string::npos) << entry;
  }
}

TEST(SimCommandsTest, BadScriptTokensAndOptionsAreRefused) {
  std::vector<ScriptStep> steps;
  std::string error;
  for (const char* token : {"x", "2a", "vk:", "vk:100", "vk:zz", "+", "+-5", "+1x", "ime:maybe"}) {
    EXPECT_FALSE(parseScript({token}, steps, error)) << token;
    EXPECT_NE(error.find(token), std::string::npos);
  }
  ASSERT_TRUE(parseScript({"12*0#>C", "+250", "vk:1b", "ime:off", "ime:on"}, steps, error));
  ASSERT_EQ(steps.size(), 11u);
  EXPECT_EQ(steps[2].value, kKeypadVk[9]);
  EXPECT_EQ(steps[4].value, kKeypadVk[11]);
  EXPECT_EQ(steps[5].value, kVkRight);
  EXPECT_EQ(steps[6].value, kVkBack);
  EXPECT_EQ(steps[7].kind, ScriptStepKind::kWait);
  EXPECT_EQ(steps[7].value, 250u);
  EXPECT_EQ(steps[8].value, 0x1Bu);
  EXPECT_EQ(steps[9].kind, ScriptStepKind::kImeOff);

  SimCommandLine line;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"run"},
           {"check"},
           {"type"},
           {"type", "--mode", "pager", "1"},
           {"type", "--ime", "maybe", "1"},
           {"type", "--options", "xyz", "1"},
           {"type", "--timeout", "-5", "1"},
           {"type", "1", "--keymap"},
           {"check", "a.txt", "b.txt"},
           {"dump", "a.txt", "--slot", "10"},
           {"check", "a.txt", "--events"},
           {"table"},
           {"table", "a.txt", "--slot", "10"},
           {"table", "a.txt", "--mode", "2touch"},
           {"check", "a.txt", "--options", "4120"},
           {"type", "--layout", "de", "1"},
           {"dump", "a.txt", "--layout", "jp"},
       }) {
    EXPECT_FALSE(parseSimCommandLine(args, line, error)) << (args.empty() ? "" : args[0]);
  }
}

TEST(SimCommandsTest, DefaultOptionsAddTheModeBit) {
  EXPECT_EQ(commandLine({"type", "1"}).settings.options, kKanaToggleMode);
  EXPECT_EQ(commandLine({"type", "--mode", "2touch", "1"}).settings.options, kTwoTouchMode);
  EXPECT_EQ(commandLine({"live", "--mode", "none"}).settings.options, kDefaultOptions);
  EXPECT_EQ(commandLine({"live", "--options", "0x18"}).settings.options, 0x18u);
  EXPECT_FALSE(commandLine({"live", "--options", "0x18"}).settings.screenRotated);
  EXPECT_TRUE(commandLine({"live"}).settings.imeOn);
  EXPECT_EQ(commandLine({"live"}).settings.layout, SimLayout::kUs);
  EXPECT_EQ(commandLine({"table", "a.txt", "--layout", "jp"}).settings.layout, SimLayout::kJis);
  // 0x10000 turns the simulated screen; it is no bit of the option word.
  const SimCommandLine turned = commandLine({"type", "--options", "14140", "1"});
  EXPECT_EQ(turned.settings.options, kKanaToggleMode);
  EXPECT_TRUE(turned.settings.screenRotated);
}

TEST(SimCommandsTest, DumpDecodesKeysAndActions) {
  SimOutput output;
  EXPECT_EQ(runDumpCommand(commandLine({"dump", defaultKeymapFile(), "--slot", "4"}), output), 0);
  EXPECT_NE(output.out.find("keymap 4:\n"), std::string::npos);
  EXPECT_NE(
      output.out.find("  key 2: type 2 (toggle), 5 actions\n    0: char (1,0x54) (17,0x54)\n"),
      std::string::npos);
  EXPECT_NE(output.out.find("  key *: type 4 (next entry), 0 actions\n"), std::string::npos);
  EXPECT_NE(output.out.find("3: raw 0x01 0x58 0x02 0x58 0x01 0x57 0x02 0x57 0x01 0x41 0x02 0x41"),
            std::string::npos);
  output = {};
  runDumpCommand(commandLine({"dump", defaultKeymapFile(), "--slot", "1"}), output);
  EXPECT_EQ(output.out, "keymap 1: empty\n");
}

}  // namespace
