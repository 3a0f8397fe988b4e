// The art and sound tools take a folder to write into as their argument: one that looks like an
// option they do not know (--help, say) is answered with the tool's usage instead of being made
// into a folder full of art.
#pragma once

#include <cstdio>
#include <cstring>

// -1 when arg is no option and the tool goes on; otherwise the status to exit with, the usage
// printed: 0 for --help or -h (on the standard output), 2 for any other option (on the error
// output).
inline int AnswerUnknownOption(const char* arg, const char* usage) {
  if (arg[0] != '-') return -1;
  const bool help = std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
  std::fputs(usage, help ? stdout : stderr);
  return help ? 0 : 2;
}
