// Benchmarks of the computer's hot paths: the guess choice on its heaviest turn, fast and
// reference side by side with their ratio, and the candidate filter.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "codes/codes.h"
#include "player/player.h"

namespace {

using codes::Code;
using codes::ScoreCode;

// The heaviest turn is the third guess after the first guess 1234 is answered 1 (1440 codes
// left) and the book's 2056 is answered 1 too: 378 candidates, the most any first guess, answer
// and book guess leave, each split by all 5040 guesses.
constexpr Code k_first_guess = 1234;
constexpr ScoreCode k_first_answer = 1;
constexpr ScoreCode k_second_answer = 1;
constexpr int k_heaviest_count = 378;

struct Position {
  player::CandidateTable table;
  int count;
  Code guesses[2];
  ScoreCode answers[2];
};

// The table as the game leaves it after `rows` of the heaviest history.
Position heaviest_history(int rows) {
  player::reset_candidates();
  player::build_candidates();
  Position position{player::candidate_table, codes::k_code_count, {}, {}};
  position.guesses[0] = k_first_guess;
  position.answers[0] = k_first_answer;
  position.guesses[1] = player::opening_guess(k_first_guess, k_first_answer);
  position.answers[1] = k_second_answer;
  for (int done = 1; done <= rows; ++done) {
    position.count = player::filter_candidates(position.count, position.table.data(), done,
                                               position.guesses, position.answers);
  }
  return position;
}

bool is_heaviest(const Position& position, benchmark::State& state) {
  if (position.count == k_heaviest_count) return true;
  state.SkipWithError("the heaviest history no longer leaves 378 candidates");
  return false;
}

void BM_ChooseGuess_HeaviestTurn(benchmark::State& state) {
  const Position position = heaviest_history(2);
  if (!is_heaviest(position, state)) return;
  for (auto _ : state) {
    benchmark::DoNotOptimize(player::choose_guess(position.count, position.table.data()));
  }
}
BENCHMARK(BM_ChooseGuess_HeaviestTurn)->Unit(benchmark::kMillisecond);

void BM_ChooseGuessReference_HeaviestTurn(benchmark::State& state) {
  const Position position = heaviest_history(2);
  if (!is_heaviest(position, state)) return;
  for (auto _ : state) {
    benchmark::DoNotOptimize(player::choose_guess_reference(position.count, position.table.data()));
  }
}
BENCHMARK(BM_ChooseGuessReference_HeaviestTurn)->Unit(benchmark::kMillisecond);

// Both choices in every iteration, timed apart, so that the ratio comes from one run under the
// same load (the machines this runs on are shared).
void BM_ChooseGuess_FastVersusReference(benchmark::State& state) {
  const Position position = heaviest_history(2);
  if (!is_heaviest(position, state)) return;
  using Clock = std::chrono::steady_clock;
  Clock::duration fast_time{};
  Clock::duration reference_time{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const Code fast = player::choose_guess(position.count, position.table.data());
    const Clock::time_point middle = Clock::now();
    const Code reference = player::choose_guess_reference(position.count, position.table.data());
    const Clock::time_point end = Clock::now();
    fast_time += middle - start;
    reference_time += end - middle;
    if (fast != reference) {
      state.SkipWithError("the fast and reference choices differ");
      return;
    }
  }
  const double iterations = static_cast<double>(state.iterations());
  const double fast_ms = std::chrono::duration<double, std::milli>(fast_time).count() / iterations;
  const double reference_ms =
      std::chrono::duration<double, std::milli>(reference_time).count() / iterations;
  state.counters["fast_ms"] = fast_ms;
  state.counters["reference_ms"] = reference_ms;
  state.counters["ratio"] = reference_ms / fast_ms;
  char label[64];
  std::snprintf(label, sizeof label, "reference/fast = %.1fx", reference_ms / fast_ms);
  state.SetLabel(label);
}
BENCHMARK(BM_ChooseGuess_FastVersusReference)->Unit(benchmark::kMillisecond);

// Filtering by the newest row after `rows - 1` rows: one row over the fresh 5040 codes, or the
// second row of the heaviest history over the 1440 the first left. Each iteration starts from a
// copy of the table (20 KB, a small part of the time).
void BM_Filter(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const Position before = heaviest_history(rows - 1);
  int kept = 0;
  for (auto _ : state) {
    player::CandidateTable table = before.table;
    kept =
        player::filter_candidates(before.count, table.data(), rows, before.guesses, before.answers);
    benchmark::DoNotOptimize(table.data());
  }
  state.counters["before"] = before.count;
  state.counters["kept"] = kept;
}
BENCHMARK(BM_Filter)->ArgName("rows")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
