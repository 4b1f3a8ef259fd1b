// The game tree of one first guess. A node is a history: the guesses so far and the answers to
// all but the newest. The codes still in play at a node are exactly its candidates (every answer
// is true), and the answer each gives to the newest guess splits them into the children.
//
// Exactness rests on each node holding the candidate table in the order the game would have it
// at that point: the filter exchanges rejected codes with the last one in play, so the order
// depends on every earlier filter, and the guess choice breaks its ties by that order. So every
// child starts from a copy of its parent's whole table, eliminated codes included (the choice
// still tries them as guesses), and narrows it with the game's own filter over the whole
// history, as the game's turn does.
#include "strategy.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace strategy {

const player::CandidateTable& fresh_table() {
  // The walk must not touch the game's global table, which a test may be playing on.
  static const player::CandidateTable table = [] {
    player::CandidateTable built{};
    player::fill_candidates(built);
    return built;
  }();
  return table;
}

namespace {

// One walk: the history along the current path and one table per depth, reused by siblings
// (a sibling starts only after the previous one's whole subtree is done).
struct Walk {
  FirstGuessResult& result;
  const SolvedHook& on_solved;
  Code guesses[k_max_guesses] = {};
  ScoreCode answers[k_max_guesses] = {};
  std::vector<player::CandidateTable> tables;  // tables[rows]: the node with `rows` guesses

  // The capacity is reserved up front, so growing never moves a table a caller still holds.
  Walk(FirstGuessResult& out, const SolvedHook& hook) : result(out), on_solved(hook) {
    tables.reserve(k_max_guesses + 1);
  }

  player::CandidateTable& table_at(int rows) {
    if (static_cast<int>(tables.size()) <= rows) tables.resize(static_cast<std::size_t>(rows) + 1);
    return tables[static_cast<std::size_t>(rows)];
  }
};

void record_solved(Walk& walk, Code code, int guesses) {
  FirstGuessResult& result = walk.result;
  result.guesses_for[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(guesses);
  ++result.distribution[static_cast<std::size_t>(guesses)];
  ++result.solved_codes;
  result.total_guesses += guesses;
  result.worst = std::max(result.worst, guesses);
  if (walk.on_solved) walk.on_solved(code, walk.guesses, guesses);
}

constexpr ScoreCode k_every_answer = -1;

// The node with `rows` guesses, the newest of which the `count` candidates in front of its
// table are about to answer; `only` limits the walk to the codes giving that answer. Recursion
// depth is the number of guesses, at most k_max_guesses.
void answer_newest(Walk& walk, int rows, int count, ScoreCode only = k_every_answer) {
  const Code* table = walk.table_at(rows).data();
  const Code guess = walk.guesses[rows - 1];

  int split[codes::k_score_values] = {};
  for (int i = 0; i < count; ++i) {
    const ScoreCode answer = codes::score_guess(guess, table[i]);
    assert(answer >= 0 && answer < codes::k_score_values);
    ++split[answer];
    if (answer == codes::k_all_hits && (only == k_every_answer || only == answer)) {
      record_solved(walk, table[i], rows);
    }
  }

  // Every child starts from this table. The filter moves only the codes in play, so the
  // eliminated part is copied once for all the children and the part in play once each.
  bool eliminated_copied = false;
  // Children in ascending answer order; the order changes nothing but the time each runs.
  for (ScoreCode answer = 0; answer < codes::k_all_hits; ++answer) {
    if (split[answer] == 0 || (only != k_every_answer && only != answer)) continue;
    if (rows == k_max_guesses) {
      walk.result.stats.unfinished_codes += split[answer];
      continue;
    }
    player::CandidateTable& child = walk.table_at(rows + 1);
    if (!eliminated_copied) {
      std::copy(table + count, table + codes::k_code_count, child.begin() + count);
      eliminated_copied = true;
    }
    std::copy(table, table + count, child.begin());
    walk.answers[rows - 1] = answer;

    const int left =
        player::filter_candidates(count, child.data(), rows, walk.guesses, walk.answers);
    ++walk.result.stats.nodes;
    if (left != split[answer]) ++walk.result.stats.miscounted_nodes;
    if (left < 1) {
      // The game would open the contradiction dialog here, which truthful answers never do.
      ++walk.result.stats.empty_nodes;
      walk.result.stats.unfinished_codes += split[answer];
      continue;
    }
    walk.guesses[rows] = rows == 1 ? player::opening_guess(walk.guesses[0], answer)
                                   : player::choose_guess(left, child.data());
    answer_newest(walk, rows + 1, left);
  }
}

}  // namespace

static FirstGuessResult play_from_root(Code first_guess, ScoreCode only,
                                       const SolvedHook& on_solved) {
  assert(codes::is_valid_code(first_guess) == 1);
  FirstGuessResult result;
  result.first_guess = first_guess;
  Walk walk(result, on_solved);
  walk.guesses[0] = first_guess;
  walk.table_at(1) = fresh_table();
  answer_newest(walk, 1, codes::k_code_count, only);
  return result;
}

FirstGuessResult play_every_code(Code first_guess, const SolvedHook& on_solved) {
  return play_from_root(first_guess, k_every_answer, on_solved);
}

FirstGuessResult play_first_answer(Code first_guess, ScoreCode first_answer,
                                   const SolvedHook& on_solved) {
  assert(first_answer >= 0 && first_answer <= codes::k_all_hits);
  return play_from_root(first_guess, first_answer, on_solved);
}

void add_tally(Tally& whole, const Tally& part) {
  for (std::size_t k = 0; k < whole.distribution.size(); ++k) {
    whole.distribution[k] += part.distribution[k];
  }
  whole.solved_codes += part.solved_codes;
  whole.total_guesses += part.total_guesses;
  whole.worst = std::max(whole.worst, part.worst);
  whole.stats.nodes += part.stats.nodes;
  whole.stats.empty_nodes += part.stats.empty_nodes;
  whole.stats.miscounted_nodes += part.stats.miscounted_nodes;
  whole.stats.unfinished_codes += part.stats.unfinished_codes;
}

void merge_result(FirstGuessResult& whole, const FirstGuessResult& part) {
  assert(whole.first_guess == part.first_guess);
  for (std::size_t code = 0; code < whole.guesses_for.size(); ++code) {
    if (part.guesses_for[code] != 0) whole.guesses_for[code] = part.guesses_for[code];
  }
  add_tally(whole, part);
}

}  // namespace strategy
