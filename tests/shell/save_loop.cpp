// Saves a game into one slot of a saved-games file again and again: save number k stores k in
// all five numbers and "Loop k" as the name, k counting on from the number found in the slot. After
// each save it reads the whole file back and checks that no save, its own or another program's, has
// been undone.
//
//   save_loop FILE SLOT COUNT   (COUNT 0: until killed)
// Exit status 0 when all saves were written and kept, 1 on bad arguments, 2 when a save was
// refused, 3 when a save was found undone.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/profile_file.h"
#include "shell/saved_games.h"

int main(int argc, char** argv) {
  if (argc != 4) return 1;
  const std::string path = argv[1];
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
