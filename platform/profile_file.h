// Profile files: small INI files of "[Section]" headers and "Key=Value" lines.
//
// Reading follows the classic profile rules the game's files are written for: section and key
// names match without regard to (ASCII) case, the first match wins, a value loses the blanks at
// its ends and then one pair of double quotation marks around it, and is cut to 2047 characters.
// CRLF files read like LF files.
//
// Writing changes one section in one step. Lines the caller does not touch (other sections,
// other keys, comments) stay as they were, in their order. On disk the step is a locked
// read-modify-write whose new content replaces the old file by a rename, so a crash or a kill at
// any moment leaves either the old file or the new one, and two programs writing the same file
// never lose each other's changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The longest value reading returns, in characters.
inline constexpr int kProfileValueMaxChars = 2047;

// The first max_chars characters of UTF-8 text; a character is never split.
std::string Utf8Prefix(std::string_view text, int max_chars);

// Reads an integer value: blanks, an optional sign, then decimal digits or hexadecimal digits
// after "0x", "0X", "x", "X" or "$". Anything else (trailing characters included), an empty
// text and a number outside the signed 32-bit range give nullopt.
std::optional<int32_t> ParseProfileInt(std::string_view text);

// An INI document held as its lines, so a rewrite keeps what it does not own.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  static ProfileDocument Parse(std::string_view text);

  // The document as file content, every line ended by "\n".
  std::string Text() const;

  // The value of key in section after the reading rules above; nullopt when either is missing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets key in section. An existing key keeps its place and its spelling; a new key goes after
  // the last key of the section; a new section goes to the end. Line breaks in the value become
  // blanks, since a value is one line.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  bool HasSection(std::string_view section) const { return FindSection(section) >= 0; }

 private:
  // Index of the header line of the first section named `section`, or -1.
  int FindSection(std::string_view section) const;

  std::vector<std::string> lines_;
};

// Reads the file at path. A missing or unreadable file reads as an empty document.
ProfileDocument ReadProfileFile(const std::string& path);

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// Sets the keys of one section in the file at path, in the given order, as one step: the file's
// folder is created if needed, and while a lock file beside it (path + ".lock") is held the file
// is read, changed, written beside the old one, flushed and renamed over it. Returns false, with
// the reason in *error when given, if any part of that is refused; the file is then as it was.
bool WriteProfileSection(const std::string& path, std::string_view section,
                         const ProfileEntries& entries, std::string* error = nullptr);
