// Benchmarks of the computer's hot paths: the guess choice on its heaviest turn, fast and
// reference side by side with their ratio, and the candidate filter.
#include <benchmark/benchmark.h>
#include <time.h>

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

// CPU time of this thread in milliseconds: other processes on a shared machine don't count.
double thread_cpu_ms() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Both choices in every iteration, timed apart in CPU time, so that the ratio comes from one run
// under the same conditions.
void BM_ChooseGuess_FastVersusReference(benchmark::State& state) {
  const Position position = heaviest_history(2);
  if (!is_heaviest(position, state)) return;
  double fast_ms = 0;
  double reference_ms = 0;
  for (auto _ : state) {
    const double start = thread_cpu_ms();
    const Code fast = player::choose_guess(position.count, position.table.data());
    const double middle = thread_cpu_ms();
    const Code reference = player::choose_guess_reference(position.count, position.table.data());
    fast_ms += middle - start;
    reference_ms += thread_cpu_ms() - middle;
    if (fast != reference) {
      state.SkipWithError("the fast and reference choices differ");
      return;
    }
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["fast_ms"] = fast_ms / iterations;
  state.counters["reference_ms"] = reference_ms / iterations;
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
