// Runs the built zelmar-sim as a player would and checks what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SimRun {
  int exit_code = -1;
  std::string out;
};

// Runs zelmar-sim with the arguments (already shell-safe) and collects stdout; stderr is dropped.
SimRun Sim(const std::string& args) {
  const std::string command = std::string("'") + ZELMAR_SIM_PATH + "' " + args + " 2>/dev/null";
  SimRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::string kInts = R"(\[-?\d+(,-?\d+)*\])";

}  // namespace

TEST(SimSpinsTest, PrintsOneJsonObjectPerSpinWithTheGamesKeys) {
  const SimRun run = Sim("spins --seed 12345 --count 3");
  ASSERT_EQ(run.exit_code, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  // Pinned: the first spin of seed 12345 at width 800.
  EXPECT_EQ(lines[0],
            R"({"stops":[9,17,11,3,28],"window":[[12,13,20],[17,15,12],[13,12,15],[8,11,15],)"
            R"([19,13,20]],"line_win":[0,0,0,0,0,0,0,0,0],"line_match":[0,0,0,0,0,0,0,0,0],)"
            R"("scatter_count":1,"scatter_win":0,"game_paid":0})");
  const std::regex shape("\\{\"stops\":" + kInts + ",\"window\":\\[(" + kInts + ",?){5}\\]" +
                         ",\"line_win\":" + kInts + ",\"line_match\":" + kInts +
                         ",\"scatter_count\":\\d,\"scatter_win\":\\d+,\"game_paid\":\\d+" +
                         "(,\"ball_prizes\":" + kInts + ")?\\}");
  for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, shape)) << line;
}

TEST(SimSpinsTest, BallPrizesAppearExactlyWhenTheBonusFollows) {
  const SimRun run = Sim("spins --seed 1 --count 400 --lines 5 --per-line 2 --width 1024");
  ASSERT_EQ(run.exit_code, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 400u);
  const std::regex count("\"scatter_count\":(\\d)");
  int bonuses = 0;
  for (const std::string& line : lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, count));
    const bool bonus = std::stoi(m[1]) >= 3;
    EXPECT_EQ(line.find("\"ball_prizes\"") != std::string::npos, bonus) << line;
    bonuses += bonus ? 1 : 0;
  }
  EXPECT_GT(bonuses, 0);  // about 6 % of spins; 400 spins without one would be a fault
}

TEST(SimSpinsTest, SameSeedSameOutputAtAnyWidth) {
  const SimRun a = Sim("spins --seed 99 --count 20");
  const SimRun b = Sim("spins --seed=99 --count=20 --width 800");
  const SimRun wide = Sim("spins --seed 99 --count 20 --width 1920");
  ASSERT_EQ(a.exit_code, 0);
  EXPECT_EQ(a.out, b.out);
  // Every draw advances the sequence once whatever its range, so the offsets' range (the
  // width) moves the picture but never the stops.
  EXPECT_EQ(a.out, wide.out);
  const SimRun none = Sim("spins --seed 99 --count 0");
  EXPECT_EQ(none.exit_code, 0);
  EXPECT_EQ(none.out, "");
}

TEST(SimParTest, PrintsTheExactFigures) {
  const SimRun run = Sim("par --lines 9 --per-line 1");
  ASSERT_EQ(run.exit_code, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u);
  const std::string number = R"(-?\d+(\.\d+)?(e-?\d+)?)";
  const std::regex shape("\\{\"line_rtp\":" + number + ",\"scatter_rtp\":" + number +
                         ",\"bonus_trigger_probability\":" + number + ",\"jackpot_probability\":" +
                         number + ",\"hit_frequency\":" + number + ",\"volatility\":" + number +
                         ",\"bonus_ev_stop_after\":\\[(" + number + ",){5}" + number + "\\]\\}");
  EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
  EXPECT_NE(lines[0].find("\"line_rtp\":0.9737156378600823"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("\"bonus_ev_stop_after\":[2.625,3.75,3.75,3,1.875,0.75]"),
            std::string::npos);
}

TEST(SimArgumentsTest, BadArgumentsExitWithTwo) {
  const char* bad[] = {
      "",
      "dance",
      "spins",
      "spins --seed 1",
      "spins --count 5",
      "spins --seed -1 --count 5",
      "spins --seed 4294967296 --count 5",
      "spins --seed 1x --count 5",
      "spins --seed 1 --count -1",
      "spins --seed 1 --count 5 --lines 4",
      "spins --seed 1 --count 5 --per-line 4",
      "spins --seed 1 --count 5 --width 0",
      "spins --seed 1 --count 5 --width",
      "spins --seed 1 --count 5 --colour red",
      "spins --seed 1 --seed 2 --count 5",
      "spins --seed 1 --count 5 extra",
      "par --lines 2",
      "par --seed 1",
      "par --per-line ten",
  };
  for (const char* args : bad) {
    const SimRun run = Sim(args);
    EXPECT_EQ(run.exit_code, 2) << "zelmar-sim " << args;
    EXPECT_EQ(run.out, "") << "zelmar-sim " << args;
  }
}

TEST(SimArgumentsTest, UsageGoesToStderr) {
  const std::string command = std::string("'") + ZELMAR_SIM_PATH + "' par --lines 4 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[1024];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  pclose(pipe);
  EXPECT_NE(text.find("usage: zelmar-sim spins"), std::string::npos) << text;
  EXPECT_NE(text.find("--lines must be 1, 3, 5, 7 or 9"), std::string::npos) << text;
}
