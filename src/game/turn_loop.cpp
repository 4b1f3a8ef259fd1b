// The turn loop: the user's guesses, the computer's guesses, the results and the summary.
#include "console/console.h"
#include "game/game.h"

namespace game {

void run_game(Code, const Deck&) {}

}  // namespace game
