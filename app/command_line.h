// The program's own command-line options, read before the window system is started so that
// --version and --help work without a display.
#pragma once

#include <string>
#include <vector>

// What main() does with its arguments: start the game, or print and leave with a status.
struct CommandLineOutcome {
  bool run_game = true;
  int exit_status = 0;
  std::string out;  // printed to standard output before leaving
  std::string err;  // printed to standard error before leaving
};

// Reads the arguments after the program name. --version / -v and --help / -h print and leave
// with status 0; Qt's own options (-platform offscreen, -display :1, -style=fusion, ...) are
// left for QApplication; anything else, an unknown option or a stray word, is an error with
// exit status 2. `program` is the name used in the messages.
CommandLineOutcome ParseCommandLine(const std::string& program,
                                    const std::vector<std::string>& args);
