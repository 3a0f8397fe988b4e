// zelmar-sim: the game's math from the command line, on the game's own engine.
//
//   zelmar-sim spins --seed S --count N [--lines L] [--per-line C] [--width W]
//     replays the game's random sequence from seed S for N spins at a fixed bet and prints one
//     JSON object per spin.
//   zelmar-sim par [--lines L] [--per-line C]
//     prints the exact figures of the game's math as one JSON object.
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/bonus.h"
#include "engine/game_state.h"
#include "engine/par.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "engine/scale.h"
#include "engine/spin.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kMaxWidth = 1000000;  // keeps ScaleAt(width, 912) far inside 32 bits

constexpr const char* kUsage =
    "usage: zelmar-sim spins --seed S --count N [--lines L] [--per-line C] [--width W]\n"
    "       zelmar-sim par [--lines L] [--per-line C]\n"
    "\n"
    "  spins  replay the game's random sequence from seed S (0..4294967295) for N spins\n"
    "         (N >= 0) and print one JSON object per spin\n"
    "  par    print the exact return, probabilities and volatility as one JSON object\n"
    "\n"
    "  --lines L     paylines bet: 1, 3, 5, 7 or 9 (default 9)\n"
    "  --per-line C  credits per payline: 1, 2, 3, 5 or 10 (default 1)\n"
    "  --width W     screen width in pixels the spin's strip offsets are drawn for,\n"
    "                1..1000000 (default 800)\n";

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "zelmar-sim: %s\n\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Output goes through one buffer so that millions of spins print quickly.
class Output {
 public:
  void Append(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= 1 << 16) Flush();
  }
  void Int(int64_t v) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, v);
    buffer_.append(digits, result.ptr);
  }
  // Shortest text that reads back as exactly the same double (never fewer digits than needed).
  void Real(double v) {
    char digits[40];
    const auto result = std::to_chars(digits, digits + sizeof digits, v);
    buffer_.append(digits, result.ptr);
  }
  template <typename Array>
  void IntArray(const Array& values, int from, int to) {
    buffer_ += '[';
    for (int i = from; i < to; ++i) {
      if (i > from) buffer_ += ',';
      Int(values[i]);
    }
    buffer_ += ']';
  }
  void Flush() {
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size())
      failed_ = true;
    buffer_.clear();
  }
  // Flushes everything; false when any write failed (a full disk or a closed pipe).
  bool Finish() {
    Flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) failed_ = true;
    return !failed_;
  }

 private:
  std::string buffer_;
  bool failed_ = false;
};

int FinishOutput(Output& out) {
  if (out.Finish()) return 0;
  std::fprintf(stderr, "zelmar-sim: writing the output failed: %s\n", std::strerror(errno));
  return 1;
}

struct Options {
  std::map<std::string, std::string> values;
};

// Reads "--name value" and "--name=value" pairs; only the names in `allowed` are accepted, each
// at most once.
std::optional<std::string> ParseOptions(int argc, char** argv, int first,
                                        std::initializer_list<std::string_view> allowed,
                                        Options& options) {
  for (int i = first; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg.substr(0, 2) != "--") return "unexpected argument '" + std::string(arg) + "'";
    std::string name(arg.substr(2));
    std::optional<std::string> value;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    bool known = false;
    for (std::string_view a : allowed) known = known || a == name;
    if (!known) return "unknown option '--" + name + "'";
    if (!value) {
      if (i + 1 >= argc) return "option '--" + name + "' needs a value";
      value = argv[++i];
    }
    if (!options.values.emplace(name, *value).second) {
      return "option '--" + name + "' given twice";
    }
  }
  return std::nullopt;
}

// Reads the bet options shared by both commands.
std::optional<std::string> ReadBet(const Options& options, int& lines, int& per_line) {
  lines = 9;
  per_line = 1;
  if (auto it = options.values.find("lines"); it != options.values.end()) {
    const auto v = ParseNumber<int>(it->second);
    if (!v || !IsValidLinesBet(*v)) return "--lines must be 1, 3, 5, 7 or 9";
    lines = *v;
  }
  if (auto it = options.values.find("per-line"); it != options.values.end()) {
    const auto v = ParseNumber<int>(it->second);
    if (!v || !IsValidCreditsPerLine(*v)) return "--per-line must be 1, 2, 3, 5 or 10";
    per_line = *v;
  }
  return std::nullopt;
}

int RunSpins(int argc, char** argv) {
  Options options;
  if (auto problem =
          ParseOptions(argc, argv, 2, {"seed", "count", "lines", "per-line", "width"}, options))
    return UsageError(*problem);
  int lines = 0, per_line = 0;
  if (auto problem = ReadBet(options, lines, per_line)) return UsageError(*problem);

  const auto seed_text = options.values.find("seed");
  if (seed_text == options.values.end()) return UsageError("spins needs --seed");
  const auto seed = ParseNumber<uint32_t>(seed_text->second);
  if (!seed) return UsageError("--seed must be a whole number from 0 to 4294967295");

  const auto count_text = options.values.find("count");
  if (count_text == options.values.end()) return UsageError("spins needs --count");
  const auto count = ParseNumber<int64_t>(count_text->second);
  if (!count || *count < 0) return UsageError("--count must be a whole number, 0 or more");

  int width = 800;
  if (auto it = options.values.find("width"); it != options.values.end()) {
    const auto v = ParseNumber<int>(it->second);
    if (!v || *v < 1 || *v > kMaxWidth) return UsageError("--width must be 1 to 1000000");
    width = *v;
  }
  // The spinning strip's height on screen: its 912 design rows scaled to the width.
  const int blur_height = ScaleAt(width, 912);

  GameState state;
  BuildReelStrips(state);
  state.LinesBet = lines;
  state.CreditsPerLine = per_line;
  state.Random.SetSeed(*seed);

  Output out;
  std::array<int, kReels> offsets{};
  for (int64_t spin = 0; spin < *count; ++spin) {
    const bool bonus = PlaySpin(state, blur_height, offsets);

    out.Append("{\"stops\":");
    out.IntArray(state.ReelStop, 0, kReels);
    out.Append(",\"window\":[");
    for (int r = 0; r < kReels; ++r) {
      if (r > 0) out.Append(",");
      out.IntArray(state.ReelWindow[r], 0, kRows);
    }
    out.Append("],\"line_win\":");
    out.IntArray(state.LineWin, 1, kPaylines + 1);
    out.Append(",\"line_match\":");
    out.IntArray(state.LineMatch, 1, kPaylines + 1);
    out.Append(",\"scatter_count\":");
    out.Int(state.ScatterCount);
    out.Append(",\"scatter_win\":");
    out.Int(state.ScatterWin);
    out.Append(",\"game_paid\":");
    out.Int(state.GamePaid);
    if (bonus) {
      out.Append(",\"ball_prizes\":");
      out.IntArray(state.BallPrizes, 0, 8);
    }
    out.Append("}\n");
  }
  return FinishOutput(out);
}

int RunPar(int argc, char** argv) {
  Options options;
  if (auto problem = ParseOptions(argc, argv, 2, {"lines", "per-line"}, options))
    return UsageError(*problem);
  int lines = 0, per_line = 0;
  if (auto problem = ReadBet(options, lines, per_line)) return UsageError(*problem);

  const ParFigures par = ComputePar(lines, per_line);
  Output out;
  const auto field = [&](const char* name, double value, bool first = false) {
    out.Append(first ? "{\"" : ",\"");
    out.Append(name);
    out.Append("\":");
    out.Real(value);
  };
  field("line_rtp", par.line_rtp, true);
  field("scatter_rtp", par.scatter_rtp);
  field("bonus_trigger_probability", par.bonus_trigger_probability);
  field("jackpot_probability", par.jackpot_probability);
  field("hit_frequency", par.hit_frequency);
  field("volatility", par.volatility);
  out.Append(",\"bonus_ev_stop_after\":[");
  for (int k = 1; k <= 6; ++k) {
    if (k > 1) out.Append(",");
    out.Real(par.bonus_ev_stop_after[k]);
  }
  out.Append("]}\n");
  return FinishOutput(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("a command is needed: spins or par");
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "spins") return RunSpins(argc, argv);
  if (command == "par") return RunPar(argc, argv);
  return UsageError("unknown command '" + std::string(command) + "'");
}
