// The computer's strategy played out against every code at once: for one first guess, the game
// tree of truthful answers, walked with the game's own filter, opening book and guess choice.
// Codes that have received the same answers share every decision, so each history is thought
// through once instead of once per code. Every function here is thread-safe: the walk keeps its
// own candidate tables and never touches the game's global one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "codes/codes.h"
#include "player/player.h"

namespace strategy {

using codes::Code;
using codes::ScoreCode;

// The game's history holds 100 turns; a code still unsolved after 100 guesses counts as
// unfinished (it never happens, and the tests say so).
constexpr int k_max_guesses = 100;

// One past the largest code value, for tables indexed by code.
constexpr int k_code_values = 10000;

// What the walk met besides the solved codes; all zero when the strategy is sound.
struct WalkStats {
  long nodes = 0;             // histories after which the computer named a guess
  long empty_nodes = 0;       // histories that some code answered but the filter left empty
  long miscounted_nodes = 0;  // histories whose candidate count differs from the codes that
                              // gave those answers
  long unfinished_codes = 0;  // codes dropped by an empty history or still unsolved at 100
};

// The counts of one walk, or of several walks added up with add_tally().
struct Tally {
  // distribution[k]: how many codes need exactly k guesses.
  std::array<long, k_max_guesses + 1> distribution{};
  long solved_codes = 0;
  long total_guesses = 0;
  int worst = 0;  // most guesses any code needs
  WalkStats stats;
};

// Adds `part`'s counts into `whole`'s.
void add_tally(Tally& whole, const Tally& part);

// The outcome of one first guess against all 5040 codes.
struct FirstGuessResult : Tally {
  Code first_guess = 0;
  // Guesses the computer needs for each code, the winning guess included, indexed by the code's
  // value; 0 for values that are not codes and for unfinished codes.
  std::array<std::uint8_t, k_code_values> guesses_for{};
};

// All valid codes in ascending order: the candidate table as the game builds it on its first
// turn, before any filtering.
const player::CandidateTable& fresh_table();

// Called once for each solved code with the computer's guesses in that game, the last of which
// is the code itself.
using SolvedHook = std::function<void(Code code, const Code* guesses, int guess_count)>;

// Plays first_guess against every code with truthful answers, exactly as the game's turns would
// (filter_candidates over the whole history, then opening_guess for the second guess and
// choose_guess for every later one, each history with its own table in the game's order).
// Requires a valid first_guess. Cannot fail; anything unexpected shows in `stats`.
FirstGuessResult play_every_code(Code first_guess, const SolvedHook& on_solved = nullptr);

// The same for the codes that answer first_guess with first_answer (0..20) only: one subtree of
// the game, independent of the others, so that subtrees can be played apart (on several
// threads, or a few of them where a whole walk is too slow) and merged.
FirstGuessResult play_first_answer(Code first_guess, ScoreCode first_answer,
                                   const SolvedHook& on_solved = nullptr);

// Adds `part`, a subtree of the same first guess that `whole` doesn't hold yet, into `whole`.
void merge_result(FirstGuessResult& whole, const FirstGuessResult& part);

}  // namespace strategy
