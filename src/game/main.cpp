// hitblow: a console game of hits and blows against the computer.
#include "console/console.h"
#include "game/game.h"

int main(int argc, char** argv) {
  const game::StartState state = game::start_up(argc, argv);
  game::run_game(state.secret, state.deck_a);
  console::end_program(0);
}
