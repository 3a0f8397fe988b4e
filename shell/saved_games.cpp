#include "shell/saved_games.h"

#include <cstdlib>
#include <utility>

namespace {

// The keys of a section, in the order they are written.
constexpr char kNameKey[] = "GameName";
constexpr char kDateKey[] = "GameDate";
constexpr char kCreditsKey[] = "Credits";
constexpr char kBorrowedKey[] = "Borrowed";
constexpr char kSpinsKey[] = "Spins";
constexpr char kTotalBetsKey[] = "TotalBets";
constexpr char kBonusKey[] = "Bonus";

std::string Today() {
  return FormatSaveDate(QDate::currentDate());
}

int32_t ReadInt(const ProfileDocument& file, const std::string& section, const char* key,
                int32_t fallback) {
  const std::optional<std::string> text = file.Value(section, key);
  if (!text) return fallback;
  return ParseProfileInt(*text).value_or(fallback);
}

}  // namespace

std::string SlotSectionName(int slot) {
  if (slot == kRunningGameSlot) return kRunningGameName;
  return "GameNo" + std::to_string(slot + 1);
}

std::string GameDataFolder() {
  std::string data_home;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // Only an absolute path counts; anything else is to be ignored.
  if (xdg != nullptr && xdg[0] == '/') {
    data_home = xdg;
  } else {
    const char* home = std::getenv("HOME");
    data_home = std::string(home != nullptr ? home : "") + "/.local/share";
  }
  return data_home + "/zelmar-slots";
}

std::string SavedGamesFilePath(const std::string& exe_base_name) {
  return GameDataFolder() + "/" + exe_base_name + ".ini";
}

std::string FormatSaveDate(const QDate& date, const QLocale& locale) {
  // The separator is the first character of the locale's short date format that is neither part
  // of a field nor a blank ("M/d/yy" gives '/', "yy. M. d." gives '.'); a format without one
  // ("d MMM yy") keeps '/'.
  QChar separator = '/';
  for (const QChar c : locale.dateFormat(QLocale::ShortFormat)) {
    if (!c.isLetter() && !c.isSpace() && c != '\'') {
      separator = c;
      break;
    }
  }
  const QString text = date.toString(QStringLiteral("MM")) + separator +
                       date.toString(QStringLiteral("dd")) + separator +
                       date.toString(QStringLiteral("yy"));
  return text.toStdString();
}

SavedGame SavedGameOf(const GameState& state, std::string_view name) {
  SavedGame game;
  game.name = name;
  game.date = Today();
  game.credits = state.Credits;
  game.borrowed = state.Borrowed;
  game.spin_count = state.SpinCount;
  game.total_bet = state.TotalBet;
  game.bonus_payoffs = state.BonusPayoffs;
  return game;
}

ProfileEntries SavedGameEntries(const SavedGame& game) {
  return {
      {kNameKey, game.name},
      {kDateKey, game.date},
      {kCreditsKey, std::to_string(game.credits)},
      {kBorrowedKey, std::to_string(game.borrowed)},
      {kSpinsKey, std::to_string(game.spin_count)},
      {kTotalBetsKey, std::to_string(game.total_bet)},
      {kBonusKey, std::to_string(game.bonus_payoffs)},
  };
}

SavedGames::SavedGames(GameState& state, std::string file_path)
    : machine_(state), file_path_(std::move(file_path)) {}

SavedGame SavedGames::ReadSlot(int slot) const {
  const ProfileDocument file = ReadProfileFile(file_path_);
  const std::string section = SlotSectionName(slot);
  SavedGame game;
  game.name = Utf8Prefix(file.Value(section, kNameKey).value_or(section), kSavedGameNameMaxChars);
  game.date = Utf8Prefix(file.Value(section, kDateKey).value_or(Today()), kSavedGameDateMaxChars);
  game.credits = ReadInt(file, section, kCreditsKey, 1000);
  game.borrowed = ReadInt(file, section, kBorrowedKey, 1000);
  game.spin_count = ReadInt(file, section, kSpinsKey, 0);
  game.total_bet = ReadInt(file, section, kTotalBetsKey, 0);
  game.bonus_payoffs = ReadInt(file, section, kBonusKey, 0);
  return game;
}

bool SavedGames::SlotIsSaved(int slot) const {
  return ReadProfileFile(file_path_).HasSection(SlotSectionName(slot));
}

bool SavedGames::SaveLoadGame(int slot, bool saving, std::string_view name) {
  if (saving) {
    return WriteProfileSection(file_path_, SlotSectionName(slot),
                               SavedGameEntries(SavedGameOf(machine_.State(), name)));
  }
  const SavedGame game = ReadSlot(slot);
  saved_game_name_ = game.name;
  saved_game_date_ = game.date;
  machine_.Restore({.credits = game.credits,
                    .borrowed = game.borrowed,
                    .spin_count = game.spin_count,
                    .total_bet = game.total_bet,
                    .bonus_payoffs = game.bonus_payoffs});
  return true;
}
