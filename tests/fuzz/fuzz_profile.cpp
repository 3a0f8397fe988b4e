// Any byte string read as a profile file (the saved-games file, "Testing.ini"): reading its
// sections, keys and integer values never fails, a value is never longer than the promised
// length, an integer read back from its own text is itself, and rewriting one section leaves every
// other section's values as they were.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_file.h"

namespace {

// The [section] names and key names the text itself uses, so lookups hit real entries.
void NamesIn(std::string_view text, std::vector<std::string>* sections,
             std::vector<std::string>* keys) {
  size_t start = 0;
  while (start <= text.size() && sections->size() + keys->size() < 64) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const size_t open = line.find('[');
    const size_t close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      sections->emplace_back(line.substr(open + 1, close - open - 1));
    }
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos) keys->emplace_back(line.substr(0, equals));
    start = end + 1;
  }
  sections->push_back("CurrentGame");
  keys->push_back("Credits");
}

// Whether a lookup of this name could find the section the game rewrites.
bool IsGameSection(std::string_view name) {
  std::string folded;
  for (char c : name) {
    if (c != ' ' && c != '\t') folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  return folded == "currentgame";
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ProfileDocument doc = ProfileDocument::Parse(text);
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  NamesIn(text, &sections, &keys);

  // The game's own section is rewritten; every other section must read the same afterwards.
  ProfileDocument rewritten = ProfileDocument::Parse(doc.Text());
  rewritten.SetValue("CurrentGame", "Credits", "-2147483648");
  rewritten.SetValue("CurrentGame", "Name", text.substr(0, 40));
  const ProfileDocument reread = ProfileDocument::Parse(rewritten.Text());
  Check(reread.Value("currentgame", "CREDITS") == std::optional<std::string>("-2147483648"));
  Check(ParseProfileInt(*reread.Value("CurrentGame", "Credits")) == INT32_MIN);

  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      const std::optional<std::string> value = doc.Value(section, key);
      if (!value) continue;
      Check(Utf8Prefix(*value, kProfileValueMaxChars) == *value);
      if (const std::optional<int32_t> number = ParseProfileInt(*value)) {
        Check(ParseProfileInt(std::to_string(*number)) == number);
      }
      if (!IsGameSection(section)) Check(reread.Value(section, key) == value);
    }
  }
  return 0;
}
