#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  std::vector<std::string> args;
  bool run_game;
  int exit_status;
  std::string out_has;  // expected in standard output ("" = output must be empty)
  std::string err_has;  // expected in standard error ("" = must be empty)
};

TEST(CommandLine, AnswersHelpVersionQtOptionsAndMistakes) {
  const std::vector<Case> cases = {
      {{}, true, 0, "", ""},
      {{"--version"}, false, 0, "Zelmar Slots 1.1\n", ""},
      {{"-v"}, false, 0, "Zelmar Slots 1.1\n", ""},
      {{"--help"}, false, 0, "--version", ""},
      {{"-h"}, false, 0, "-platform offscreen", ""},
      // Qt's options, with their values, are Qt's business.
      {{"-platform", "offscreen"}, true, 0, "", ""},
      {{"--platform", "offscreen", "-reverse"}, true, 0, "", ""},
      {{"-style=fusion", "-display", ":3"}, true, 0, "", ""},
      // A value that looks like --help still belongs to the option before it.
      {{"-qwindowtitle", "--help"}, true, 0, "", ""},
      {{"-platform", "offscreen", "--version"}, false, 0, "1.1", ""},
      {{"--fullscreen"}, false, 2, "", "unknown option '--fullscreen'"},
      {{"-platform", "offscreen", "-x"}, false, 2, "", "unknown option '-x'"},
      {{"-platform"}, false, 2, "", "option '-platform' needs a value"},
      {{"savegame.ini"}, false, 2, "", "unexpected argument 'savegame.ini'"},
      {{"-"}, false, 2, "", "unexpected argument '-'"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    SCOPED_TRACE("args: " + joined);
    const CommandLineOutcome got = ParseCommandLine("zelmar-slots", c.args);
    EXPECT_EQ(got.run_game, c.run_game);
    EXPECT_EQ(got.exit_status, c.exit_status);
    if (c.out_has.empty()) {
      EXPECT_EQ(got.out, "");
    } else {
      EXPECT_NE(got.out.find(c.out_has), std::string::npos) << got.out;
    }
    if (c.err_has.empty()) {
      EXPECT_EQ(got.err, "");
    } else {
      EXPECT_NE(got.err.find("zelmar-slots: " + c.err_has), std::string::npos) << got.err;
      EXPECT_NE(got.err.find("--help"), std::string::npos) << "points to --help";
    }
  }
}

}  // namespace
