#include "shell/saved_games.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/bonus.h"

namespace {

// The keys of a section, in the order they are written.
constexpr char kNameKey[] = "GameName";
constexpr char kDateKey[] = "GameDate";
constexpr char kCreditsKey[] = "Credits";
constexpr char kBorrowedKey[] = "Borrowed";
constexpr char kSpinsKey[] = "Spins";
constexpr char kTotalBetsKey[] = "TotalBets";
constexpr char kBonusKey[] = "Bonus";
constexpr char kBonusBetKey[] = "BonusBet";
constexpr char kBonusPrizesKey[] = "BonusPrizes";
constexpr char kBonusPicksKey[] = "BonusPicks";
constexpr char kCollectWord[] = "stop";

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    const size_t comma = text.find(',', from);
    std::string part = text.substr(from, comma == std::string::npos ? comma : comma - from);
    const size_t first = part.find_first_not_of(' ');
    const size_t last = part.find_last_not_of(' ');
    parts.push_back(first == std::string::npos ? "" : part.substr(first, last - first + 1));
    if (comma == std::string::npos) return parts;
    from = comma + 1;
  }
}

// The owed bonus game of the running game's section, if it is one the game could have drawn and
// played: the prizes a shuffle of the balls' multipliers, a bet, and picks of balls not picked
// before, a collect only last, nothing after the game has ended.
void ReadOwedBonus(const ProfileDocument& file, const std::string& section, SavedGame* game) {
  const int32_t bet = ParseProfileInt(file.Value(section, kBonusBetKey).value_or("0")).value_or(0);
  const std::vector<std::string> prizes =
      SplitAtCommas(file.Value(section, kBonusPrizesKey).value_or(""));
  if (bet <= 0 || prizes.size() != kBonusBalls) return;
  std::array<int32_t, kBonusBalls> read{};
  for (size_t i = 0; i < prizes.size(); ++i) {
    const std::optional<int32_t> prize = ParseProfileInt(prizes[i]);
    if (!prize) return;
    read[i] = *prize;
  }
  std::array<int32_t, kBonusBalls> sorted = read;
  std::array<int32_t, kBonusBalls> expected = kBallMultipliers;
  std::sort(sorted.begin(), sorted.end());
  std::sort(expected.begin(), expected.end());
  if (sorted != expected) return;
  game->bonus_bet = bet;
  game->bonus_prizes = read;
  const std::string picks = file.Value(section, kBonusPicksKey).value_or("");
  if (picks.empty()) return;
  BonusGame check(read, bet, 1);
  for (const std::string& pick : SplitAtCommas(picks)) {
    if (check.Over()) return;
    if (pick == kCollectWord) {
      check.Collect();
      game->bonus_picks.push_back(kBonusCollect);
      continue;
    }
    const std::optional<int32_t> ball = ParseProfileInt(pick);
    if (!ball || check.Pick(*ball).outcome == BonusGame::Outcome::kIgnored) return;
    game->bonus_picks.push_back(*ball);
  }
}

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
  if (state.BonusBet > 0) {
    game.bonus_bet = state.BonusBet;
    game.bonus_prizes = state.BallPrizes;
    game.bonus_picks.assign(
        state.BonusPicks.begin(),
        state.BonusPicks.begin() + std::clamp<int32_t>(state.BonusPickCount, 0, kBonusBalls + 1));
  }
  return game;
}

ProfileEntries RunningGameEntries(const SavedGame& game) {
  ProfileEntries entries = SavedGameEntries(game);
  std::string prizes;
  std::string picks;
  if (game.bonus_bet > 0) {
    for (const int32_t prize : game.bonus_prizes) {
      prizes += (prizes.empty() ? "" : ",") + std::to_string(prize);
    }
    for (const int32_t pick : game.bonus_picks) {
      picks += (picks.empty() ? "" : ",") +
               (pick == kBonusCollect ? std::string(kCollectWord) : std::to_string(pick));
    }
  }
  entries.push_back({kBonusBetKey, std::to_string(std::max(game.bonus_bet, 0))});
  entries.push_back({kBonusPrizesKey, prizes});
  entries.push_back({kBonusPicksKey, picks});
  return entries;
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
  if (slot == kRunningGameSlot) ReadOwedBonus(file, section, &game);
  return game;
}

bool SavedGames::SlotIsSaved(int slot) const {
  return ReadProfileFile(file_path_).HasSection(SlotSectionName(slot));
}

bool SavedGames::SaveLoadGame(int slot, bool saving, std::string_view name) {
  if (saving) {
    const SavedGame game = SavedGameOf(machine_.State(), name);
    return WriteProfileSection(
        file_path_, SlotSectionName(slot),
        slot == kRunningGameSlot ? RunningGameEntries(game) : SavedGameEntries(game));
  }
  const SavedGame game = ReadSlot(slot);
  saved_game_name_ = game.name;
  saved_game_date_ = game.date;
  machine_.Restore({.credits = game.credits,
                    .borrowed = game.borrowed,
                    .spin_count = game.spin_count,
                    .total_bet = game.total_bet,
                    .bonus_payoffs = game.bonus_payoffs});
  if (slot == kRunningGameSlot) {
    machine_.OweBonusGame(game.bonus_prizes, game.bonus_bet, game.bonus_picks.data(),
                          static_cast<int32_t>(game.bonus_picks.size()));
  }
  return true;
}
