// The computer player: finds the user's code by elimination over the 5040 codes, taking its
// second guess from an opening book and every later one by an entropy measure, thinking aloud
// through the message table as it goes.
#pragma once

#include <array>

#include "codes/codes.h"

namespace player {

using codes::Code;
using codes::ScoreCode;

// Every valid code, once built. Entries 0..candidate_count-1 are the codes the user can still
// hold; the rest are eliminated codes, kept because they may still be the best guess. The
// order the filter leaves is the tie-break order of the guess choice and of the comments.
using CandidateTable = std::array<Code, codes::k_code_count>;
extern CandidateTable candidate_table;
extern int candidate_count;

// Writes every valid code into `table`, in ascending order.
void fill_candidates(CandidateTable& table);

// Fills the global table with fill_candidates(), on the first call only.
void build_candidates();

// Back to the unbuilt table with 5040 candidates: for tools and tests that play many games
// in one process. The game itself plays one game per run and never calls it.
void reset_candidates();

// Keeps in front, among the first `count` entries, those that agree with all `rows` answers
// (score of guesses[j] against the entry equals answers[j]) and returns how many they are. A
// rejected entry is exchanged with the last one still in play, which is tested next.
int filter_candidates(int count, Code* table, int rows, const Code* guesses,
                      const ScoreCode* answers);

// The computer's second guess, assembled from the first guess and the digits it lacks according
// to the answer to it. An answer no code can give is an internal error: "Error!!!", pause,
// exit -1.
Code opening_guess(Code first_guess, ScoreCode answer);

// The guess whose answer splits the `count` candidates in front of `table` most evenly (see
// choice.cpp for the exact arithmetic and tie-breaks). Requires count >= 1.
Code choose_guess(int count, const Code* table);

// The straightforward version of choose_guess: same result, far slower. Kept as the reference
// for tests and benchmarks.
Code choose_guess_reference(int count, const Code* table);

// The computer's turn: narrows the candidates by all `rows` answers, thinks aloud, and returns
// its next guess. When no code fits the answers it runs the contradiction dialog, which ends
// the program.
Code next_guess(const Code* guesses, const ScoreCode* answers, int rows);

// Shows the user the answers that can't all be true, settles the game with them, and ends the
// program with status 0 (after pause_for_return). Never returns.
[[noreturn]] void contradiction_dialog(int rows, const Code* guesses, const ScoreCode* answers);

}  // namespace player
