// Saves a game into one slot of a saved-games file again and again: save number k stores k in
// all five numbers and "Loop k" as the name, k counting on from the number found in the slot. After
// each save it reads the whole file back and checks that no save, its own or another program's, has
// been undone.
//
//   save_loop FILE SLOT COUNT   (COUNT 0: until killed)
// Exit status 0 when all saves were written and kept, 1 on bad arguments, 2 when a save was
// refused, 3 when a save was found undone.
//
//   save_loop FILE spins COUNT
// Plays COUNT spins instead, keeping the running game after each one as the game does, through a
// RunningGameWriter: spin k, counting on from the spins found in the running game, leaves the
// numbers RunningGameAfterSpin(k) gives. k is printed once the writer has flushed it, so the last
// number printed is the last spin kept. Exit status 2 when a write was refused.
#include "tests/shell/save_loop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/profile_file.h"
#include "shell/running_game_writer.h"
#include "shell/saved_games.h"

namespace {

int PlaySpins(const std::string& path, long count) {
  GameState state;
  SavedGames saves(state, path);
  (void)saves.SaveLoadGame(kRunningGameSlot, false);
  const int32_t first = state.SpinCount + 1;
  RunningGameWriter writer(path);
  for (int32_t k = first; k < first + count; ++k) {
    const SavedGame after = RunningGameAfterSpin(k);
    state.Credits = after.credits;
    state.Borrowed = after.borrowed;
    state.SpinCount = after.spin_count;
    state.TotalBet = after.total_bet;
    state.BonusPayoffs = after.bonus_payoffs;
    writer.Keep(state);
    if (!writer.Flush()) return 2;
    std::printf("%d\n", k);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 1;
  const std::string path = argv[1];
  if (std::strcmp(argv[2], "spins") == 0) return PlaySpins(path, std::atol(argv[3]));
  const int slot = std::atoi(argv[2]);
  const long count = std::atol(argv[3]);
  GameState state;
  SavedGames saves(state, path);
  // The highest save number seen in each section so far.
  int32_t seen[kSavedGameSlots + 1] = {};
  (void)saves.SaveLoadGame(slot, false);
  const int32_t first = state.SpinCount + 1;
  for (int32_t k = first; count == 0 || k < first + count; ++k) {
    state.Credits = state.Borrowed = state.SpinCount = state.TotalBet = state.BonusPayoffs = k;
    if (!saves.SaveLoadGame(slot, true, "Loop " + std::to_string(k))) return 2;
    seen[slot] = k;
    std::printf("%d\n", k);
    std::fflush(stdout);
    const ProfileDocument file = ReadProfileFile(path);
    for (int s = 0; s <= kSavedGameSlots; ++s) {
      const int32_t now =
          ParseProfileInt(file.Value(SlotSectionName(s), "Spins").value_or("0")).value_or(-1);
      if (now < seen[s]) {
        std::fprintf(stderr, "%s went back from %d to %d\n", SlotSectionName(s).c_str(), seen[s],
                     now);
        return 3;
      }
      seen[s] = now;
    }
  }
  return 0;
}
