#include "engine/par.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/bonus.h"
#include "engine/paytable.h"
#include "engine/reels.h"

namespace {

constexpr int kMaxScatters = kReels * kRows;

// The strips seen as small alphabets: on each reel the distinct codes get class numbers, so a
// payline's five symbols become an index into a table of every possible line's pay. The table is
// filled by the game's own ScoreLine, so the math can never drift from the rules.
struct StripModel {
  std::array<int, kReels> class_count{};
  std::array<std::array<int, kRows>, kStripLength> cls[kReels]{};  // [r][stop - 1][row]
  std::array<int, kStripLength> scatters[kReels]{};                // visible scatters per stop
  std::array<std::array<int64_t, 32>, kReels> class_weight{};      // strip positions per class
  std::vector<int32_t> pays;  // line pay per credit by class tuple, reel 0 most significant
  int suffix_size = 0;        // classCount[3] * classCount[4]
};

StripModel BuildModel() {
  GameState state;
  BuildReelStrips(state);
  StripModel model;
  std::array<std::array<int, 32>, kReels> code_of_class{};
  for (int r = 0; r < kReels; ++r) {
    std::array<int, 32> class_of_code;
    class_of_code.fill(-1);
    for (int p = 1; p <= kStripLength; ++p) {
      const int code = state.ReelStrip[r][p];
      if (class_of_code[code] < 0) {
        class_of_code[code] = model.class_count[r]++;
        code_of_class[r][class_of_code[code]] = code;
      }
      ++model.class_weight[r][class_of_code[code]];
    }
    for (int stop = 1; stop <= kStripLength; ++stop) {
      int visible = 0;
      for (int row = 0; row < kRows; ++row) {
        const int code = state.ReelStrip[r][StripPosition(stop, row)];
        model.cls[r][stop - 1][row] = class_of_code[code];
        if (IsScatter(code)) ++visible;
      }
      model.scatters[r][stop - 1] = visible;
    }
  }
  const auto& m = model.class_count;
  model.suffix_size = m[3] * m[4];
  model.pays.resize(static_cast<size_t>(m[0]) * m[1] * m[2] * m[3] * m[4]);
  size_t index = 0;
  std::array<int, kReels> symbols{};
  for (int c0 = 0; c0 < m[0]; ++c0)
    for (int c1 = 0; c1 < m[1]; ++c1)
      for (int c2 = 0; c2 < m[2]; ++c2)
        for (int c3 = 0; c3 < m[3]; ++c3)
          for (int c4 = 0; c4 < m[4]; ++c4) {
            symbols = {code_of_class[0][c0], code_of_class[1][c1], code_of_class[2][c2],
                       code_of_class[3][c3], code_of_class[4][c4]};
            model.pays[index++] = ScoreLine(symbols).pays;
          }
  return model;
}

const StripModel& Model() {
  static const StripModel kModel = BuildModel();
  return kModel;
}

// Counts how many of the 30^5 stop combinations show c scatters, c = 0..15.
std::array<int64_t, kMaxScatters + 1> ScatterCountDistribution(const StripModel& model) {
  std::array<int64_t, kMaxScatters + 1> ways{};
  ways[0] = 1;
  for (int r = 0; r < kReels; ++r) {
    std::array<int64_t, kMaxScatters + 1> next{};
    for (int c = 0; c <= kMaxScatters; ++c) {
      if (ways[c] == 0) continue;
      for (int s = 0; s < kStripLength; ++s) next[c + model.scatters[r][s]] += ways[c];
    }
    ways = next;
  }
  return ways;
}

int64_t PowStrip(int reels) {
  int64_t n = 1;
  for (int i = 0; i < reels; ++i) n *= kStripLength;
  return n;
}

void EnumerateSlice(const StripModel& model, int lines_bet, int first_stop, int stride,
                    StopEnumeration& out) {
  const auto& m = model.class_count;
  const int suffix_size = model.suffix_size;
  const int prefix_count = m[0] * m[1] * m[2];

  // A prefix of three reels often decides the pay on its own (K, B, ... pays nothing whatever
  // follows). Such lines become a constant; only the others are looked up per suffix.
  std::vector<int32_t> decided(prefix_count);
  for (int p = 0; p < prefix_count; ++p) {
    const int32_t* row = &model.pays[static_cast<size_t>(p) * suffix_size];
    const bool same = std::all_of(row, row + suffix_size, [&](int32_t v) { return v == row[0]; });
    decided[p] = same ? row[0] : -1;
  }

  // Suffix class index for every (row on reel 3, row on reel 4) and every pair of stops.
  constexpr int kPairs = kStripLength * kStripLength;
  std::vector<int32_t> suffix(static_cast<size_t>(kRows * kRows) * kPairs);
  std::array<int, kPairs> scatter34{};
  std::array<int64_t, kMaxScatters + 1> scatter34_ways{};
  for (int s3 = 0; s3 < kStripLength; ++s3) {
    for (int s4 = 0; s4 < kStripLength; ++s4) {
      const int pair = s3 * kStripLength + s4;
      for (int row3 = 0; row3 < kRows; ++row3)
        for (int row4 = 0; row4 < kRows; ++row4)
          suffix[(row3 * kRows + row4) * kPairs + pair] =
              model.cls[3][s3][row3] * m[4] + model.cls[4][s4][row4];
      scatter34[pair] = model.scatters[3][s3] + model.scatters[4][s4];
      ++scatter34_ways[scatter34[pair]];
    }
  }
  std::array<int64_t, kMaxScatters + 1> scatter_pay{};
  for (int c = 0; c <= kMaxScatters; ++c)
    scatter_pay[c] = int64_t{ScatterMultiplier(c)} * lines_bet;

  StopEnumeration total;
  std::array<const int32_t*, kPaylines> alive_table{};
  std::array<const int32_t*, kPaylines> alive_suffix{};
  for (int s0 = first_stop; s0 < kStripLength; s0 += stride) {
    total.combinations += PowStrip(kReels - 1);
    for (int s1 = 0; s1 < kStripLength; ++s1) {
      for (int s2 = 0; s2 < kStripLength; ++s2) {
        int64_t base = 0;
        int alive = 0;
        for (int n = 1; n <= lines_bet; ++n) {
          const int prefix =
              (model.cls[0][s0][PaylineRow(n, 0)] * m[1] + model.cls[1][s1][PaylineRow(n, 1)]) *
                  m[2] +
              model.cls[2][s2][PaylineRow(n, 2)];
          if (decided[prefix] >= 0) {
            base += decided[prefix];
          } else {
            alive_table[alive] = &model.pays[static_cast<size_t>(prefix) * suffix_size];
            alive_suffix[alive] =
                &suffix[static_cast<size_t>(PaylineRow(n, 3) * kRows + PaylineRow(n, 4)) * kPairs];
            ++alive;
          }
        }
        const int scatter012 =
            model.scatters[0][s0] + model.scatters[1][s1] + model.scatters[2][s2];
        if (alive == 0) {
          for (int c = 0; c <= kMaxScatters - scatter012; ++c) {
            if (scatter34_ways[c] == 0) continue;
            const int64_t x = base + scatter_pay[scatter012 + c];
            total.pay_sum += x * scatter34_ways[c];
            total.pay_square_sum += x * x * scatter34_ways[c];
            if (x > 0) total.paying += scatter34_ways[c];
          }
          continue;
        }
        for (int pair = 0; pair < kPairs; ++pair) {
          int64_t x = base + scatter_pay[scatter012 + scatter34[pair]];
          for (int a = 0; a < alive; ++a) x += alive_table[a][alive_suffix[a][pair]];
          total.pay_sum += x;
          total.pay_square_sum += x * x;
          if (x > 0) ++total.paying;
        }
      }
    }
  }
  out = total;
}

}  // namespace

StopEnumeration EnumerateAllStops(int lines_bet, int threads) {
  const StripModel& model = Model();
  lines_bet = std::clamp(lines_bet, 0, kPaylines);
  threads = std::clamp(threads, 1, kStripLength);
  std::vector<StopEnumeration> parts(threads);
  std::vector<std::thread> workers;
  for (int t = 1; t < threads; ++t) {
    workers.emplace_back(EnumerateSlice, std::cref(model), lines_bet, t, threads,
                         std::ref(parts[t]));
  }
  EnumerateSlice(model, lines_bet, 0, threads, parts[0]);
  for (std::thread& w : workers) w.join();
  StopEnumeration total;
  for (const StopEnumeration& part : parts) {
    total.combinations += part.combinations;
    total.paying += part.paying;
    total.pay_sum += part.pay_sum;
    total.pay_square_sum += part.pay_square_sum;
  }
  return total;
}

StopEnumeration EnumerateStopsWithFirstReelAt(int lines_bet, int reel0_stop) {
  StopEnumeration slice;
  EnumerateSlice(Model(), std::clamp(lines_bet, 0, kPaylines), StripPosition(reel0_stop, 0) - 1,
                 kStripLength, slice);
  return slice;
}

std::array<double, 7> BonusExpectations() {
  // A player who picks uniformly among the unpicked balls reveals the prizes in a uniformly random
  // order whatever the shuffle did, so every distinct order of the multiset counts equally.
  std::array<int32_t, kBonusBalls> order{};
  std::copy(kBallMultipliers.begin(), kBallMultipliers.end(), order.begin());
  std::sort(order.begin(), order.end());
  std::array<int64_t, 7> sum{};
  int64_t orders = 0;
  do {
    ++orders;
    for (int k = 1; k <= kBonusWinners; ++k) {
      // A bet of one credit: the total comes out in multiples of the bet.
      BonusGame game(order, 1, 1);
      for (int pick = 0; pick < k && !game.Over(); ++pick) game.Pick(pick);
      sum[k] += game.Total();
    }
  } while (std::next_permutation(order.begin(), order.end()));
  std::array<double, 7> ev{};
  for (int k = 1; k <= kBonusWinners; ++k) {
    ev[k] = static_cast<double>(sum[k]) / static_cast<double>(orders);
  }
  return ev;
}

ParFigures ComputePar(int lines_bet, int credits_per_line) {
  (void)credits_per_line;  // every figure is per credit staked
  const StripModel& model = Model();
  lines_bet = std::clamp(lines_bet, 1, kPaylines);
  const auto& m = model.class_count;
  const double combinations = static_cast<double>(PowStrip(kReels));
  ParFigures par;

  // Each row of a reel shows every strip position once over the 30 stops, so each payline on its
  // own sees the five strips as independent draws: the same expected pay for every payline.
  int64_t weighted_pay = 0;
  size_t index = 0;
  for (int c0 = 0; c0 < m[0]; ++c0)
    for (int c1 = 0; c1 < m[1]; ++c1) {
      const int64_t w01 = model.class_weight[0][c0] * model.class_weight[1][c1];
      for (int c2 = 0; c2 < m[2]; ++c2) {
        const int64_t w012 = w01 * model.class_weight[2][c2];
        for (int c3 = 0; c3 < m[3]; ++c3) {
          int64_t inner = 0;
          for (int c4 = 0; c4 < m[4]; ++c4)
            inner += model.pays[index++] * model.class_weight[4][c4];
          weighted_pay += w012 * model.class_weight[3][c3] * inner;
        }
      }
    }
  // Line pay is per credit per line and there are linesBet lines at linesBet credits per credit
  // per line, so the lines drop out of the return.
  par.line_rtp = static_cast<double>(weighted_pay) / combinations;

  const auto scatter_ways = ScatterCountDistribution(model);
  int64_t scatter_pay = 0;
  int64_t triggers = 0;
  for (int c = 0; c <= kMaxScatters; ++c) {
    scatter_pay += scatter_ways[c] * ScatterMultiplier(c);
    if (c >= 3) triggers += scatter_ways[c];
  }
  par.scatter_rtp = static_cast<double>(scatter_pay) / combinations;
  par.bonus_trigger_probability = static_cast<double>(triggers) / combinations;

  // The jackpot depends only on where each reel shows its own piece: a row mask per stop.
  std::array<std::array<int64_t, 8>, kReels> mask_ways{};
  {
    GameState state;
    BuildReelStrips(state);
    for (int r = 0; r < kReels; ++r)
      for (int stop = 1; stop <= kStripLength; ++stop) {
        int mask = 0;
        for (int row = 0; row < kRows; ++row)
          if (state.ReelStrip[r][StripPosition(stop, row)] == kFirstScatter + r) mask |= 1 << row;
        ++mask_ways[r][mask];
      }
  }
  int64_t jackpot_ways = 0;
  for (int mask = 0; mask < 8 * 8 * 8 * 8 * 8; ++mask) {
    std::array<int, kReels> masks{};
    int64_t ways = 1;
    for (int r = 0; r < kReels; ++r) {
      masks[r] = (mask >> (3 * r)) & 7;
      ways *= mask_ways[r][masks[r]];
    }
    if (ways == 0) continue;
    bool jackpot = false;
    for (int n = 1; n <= lines_bet && !jackpot; ++n) {
      jackpot = true;
      for (int r = 0; r < kReels; ++r) jackpot = jackpot && (masks[r] >> PaylineRow(n, r) & 1);
    }
    if (jackpot) jackpot_ways += ways;
  }
  par.jackpot_probability = static_cast<double>(jackpot_ways) / combinations;

  const StopEnumeration all = EnumerateAllStops(lines_bet);
  par.hit_frequency = static_cast<double>(all.paying) / static_cast<double>(all.combinations);
  // Variance from exact integer totals: (N * sum(x^2) - sum(x)^2) / N^2, without cancellation.
  const __int128 n = all.combinations;
  const __int128 spread = n * all.pay_square_sum - static_cast<__int128>(all.pay_sum) * all.pay_sum;
  const long double variance = static_cast<long double>(spread) /
                               (static_cast<long double>(n) * static_cast<long double>(n));
  par.volatility = static_cast<double>(std::sqrt(variance) / lines_bet);

  par.bonus_ev_stop_after = BonusExpectations();
  return par;
}
