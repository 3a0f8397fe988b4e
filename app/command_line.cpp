#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::string_view kTitle = "Zelmar Slots";
constexpr int kUsageError = 2;

// Options QApplication reads itself (X11 / xcb included), named without their leading dash.
// Those that take a value accept it as the next argument or after '='.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "visual"};
constexpr std::array<std::string_view, 5> kQtFlags = {"reverse", "widgetcount", "nograb", "dograb",
                                                      "sync"};

template <size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

std::string HelpText(const std::string& program) {
  return "Usage: " + program +
         " [OPTION]...\n"
         "A video slot machine: five reels, nine paylines and a pick-a-ball bonus game.\n"
         "\n"
         "  -h, --help       show this help and exit\n"
         "  -v, --version    show the title and version and exit\n"
         "\n"
         "Qt's own options also work, for example -platform offscreen, -display :1,\n"
         "-style fusion.\n";
}

CommandLineOutcome Leave(int status, std::string out, std::string err) {
  return CommandLineOutcome{false, status, std::move(out), std::move(err)};
}

}  // namespace

CommandLineOutcome ParseCommandLine(const std::string& program,
                                    const std::vector<std::string>& args) {
  const std::string try_help = "Try '" + program + " --help' for more information.\n";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Leave(0, HelpText(program), "");
    if (arg == "--version" || arg == "-v") {
      return Leave(0, std::string(kTitle) + " " + ZELMAR_VERSION + "\n", "");
    }
    if (arg.size() < 2 || arg[0] != '-') {
      return Leave(kUsageError, "", program + ": unexpected argument '" + arg + "'\n" + try_help);
    }
    // Qt takes its options with one dash or two.
    std::string_view name(arg);
    name.remove_prefix(name.starts_with("--") ? 2 : 1);
    const size_t equals = name.find('=');
    const std::string_view bare = name.substr(0, equals);
    if (Contains(kQtOptionsWithValue, bare)) {
      if (equals == std::string_view::npos) {
        if (i + 1 >= args.size()) {
          return Leave(kUsageError, "",
                       program + ": option '" + arg + "' needs a value\n" + try_help);
        }
        ++i;
      }
      continue;
    }
    if (Contains(kQtFlags, name)) continue;
    return Leave(kUsageError, "", program + ": unknown option '" + arg + "'\n" + try_help);
  }
  return CommandLineOutcome{};
}
