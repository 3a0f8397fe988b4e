// The saved-games file: the running game and eight named slots, one INI section each, holding a
// game's money and statistics (credits, borrowed credits, spins, total bets, bonus payouts).
// The bet selection and the reels never travel with a saved game.
#pragma once

#include <QDate>
#include <QLocale>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"
#include "engine/slot_machine.h"
#include "platform/profile_file.h"

inline constexpr int kSavedGameSlots = 8;   // slots 0..7, shown as 1..8
inline constexpr int kRunningGameSlot = 8;  // the index that stands for the running game
inline constexpr int kSavedGameNameMaxChars = 30;
inline constexpr int kSavedGameDateMaxChars = 10;
inline constexpr char kRunningGameName[] = "CurrentGame";

// "GameNo1" .. "GameNo8" for slots 0..7, "CurrentGame" for kRunningGameSlot.
std::string SlotSectionName(int slot);

// $XDG_DATA_HOME/zelmar-slots, the folder of the player's games; XDG_DATA_HOME defaults to
// ~/.local/share as the desktop's base-directory rules say.
std::string GameDataFolder();

// GameDataFolder() + "/" + exe_base_name + ".ini".
std::string SavedGamesFilePath(const std::string& exe_base_name);

// "mm/dd/yy" with the locale's date separator in place of '/': 12/06/26, 12.06.26.
std::string FormatSaveDate(const QDate& date, const QLocale& locale = QLocale());

// One slot's section: as read, with the defaults for whatever is missing or unreadable, or as a
// save is about to write it.
struct SavedGame {
  std::string name;  // as read, at most 30 characters; a save writes the name whole
  std::string date;  // as read, at most 10 characters
  int32_t credits = 1000;
  int32_t borrowed = 1000;
  int32_t spin_count = 0;
  int32_t total_bet = 0;
  int32_t bonus_payoffs = 0;
  // The running game's only: a bonus game won and not yet ended (see GameState::BonusBet); a bet
  // of 0 owes none.
  int32_t bonus_bet = 0;
  std::array<int32_t, 8> bonus_prizes{};
  std::vector<int32_t> bonus_picks;
};

// A save of `state` under `name`, dated today: what writing a slot stores.
SavedGame SavedGameOf(const GameState& state, std::string_view name);

// The keys of a slot's section with their values, in the order writing puts them in the file.
// Every writer of a section builds it here, so a slot and the running game are always written
// alike.
ProfileEntries SavedGameEntries(const SavedGame& game);
// The running game's section: a slot's keys, then the bonus game it owes, if any ("BonusBet", 0
// when none; "BonusPrizes", the multipliers behind balls 0..7; "BonusPicks", the balls picked in
// order and "stop" for a collect). A section without them owes none.
ProfileEntries RunningGameEntries(const SavedGame& game);

class SavedGames {
 public:
  SavedGames(GameState& state, std::string file_path);

  const std::string& FilePath() const { return file_path_; }

  // Reads the section of slot 0..7 or kRunningGameSlot and changes nothing. A missing file,
  // section or key gives the section's name, today's date, 1000, 1000, 0, 0, 0. The running
  // game's owed bonus game is read only when it is one this game could have drawn; picks past
  // one that could not have been made are dropped.
  SavedGame ReadSlot(int slot) const;
  // Whether the file holds a section for slot 0..7 or kRunningGameSlot.
  bool SlotIsSaved(int slot) const;

  // Reading (saving false) sets SavedGameName(), SavedGameDate() and restores the machine's
  // money from the slot's section, and the running game's owed bonus game with it. Writing stores
  // `name`, today's date and the five numbers in that section as one step and changes no variable;
  // it returns false when the file could not be written, and the file is then as it was.
  [[nodiscard]] bool SaveLoadGame(int slot, bool saving, std::string_view name = {});

  const std::string& SavedGameName() const { return saved_game_name_; }
  const std::string& SavedGameDate() const { return saved_game_date_; }

 private:
  SlotMachine machine_;  // what a read changes in the game
  std::string file_path_;
  std::string saved_game_name_;
  std::string saved_game_date_;
};
