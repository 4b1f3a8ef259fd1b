// The console game: command line and start-up, then the turn loop that plays one game.
#pragma once

#include <array>

#include "codes/codes.h"

namespace game {

using codes::Code;
using codes::ScoreCode;

constexpr int k_max_turns = 100;  // the History holds 100 turns; the game ends after them

// The line between the last turn and the closing summary, which lists every turn.
constexpr char k_summary_rule[] = "---------------------------\n";

// The game's record, one entry per turn in which the user gave a valid code.
struct History {
  Code user_guesses[k_max_turns];
  ScoreCode user_scores[k_max_turns];
  Code computer_guesses[k_max_turns];
  ScoreCode answers[k_max_turns];  // the user's scores of the computer's guesses
};

using Deck = std::array<int, 10>;

struct StartState {
  Code secret;  // not tested for validity: -key= may preset any number
  Deck deck_a;  // the computer's first guess is its entries 0..3
};

// The code of a deck's entries 0..3: deck B's is the secret, deck A's the computer's first
// guess.
Code first_four(const Deck& deck);

// Fills the table with the built-in texts in the output's encoding (console::output_encoding),
// or, with no -mesg= option, with the player's language on a terminal (use_player_language),
// reads the options, loads message files as they come, rewrites the table, seeds the random
// generator and draws the secret and deck A. Ends the program itself (status -1, after the
// pause) on an unknown option or an unreadable message file.
StartState start_up(int argc, char** argv);

// Plays the turns and prints the closing summary, then returns; the contradiction dialog may end
// the program from inside a turn.
void run_game(Code secret, const Deck& deck_a);

}  // namespace game
