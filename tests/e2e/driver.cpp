// The game with a fixed first guess for the computer, for end-to-end tests:
//   hitblow_driver DDDD [game options...]
// DDDD becomes deck A's first four entries; everything else is the real start-up and game.
// `hitblow_driver --slot-arguments` prints how many numbers the game passes with each slot.
#include <cstring>
#include <vector>

#include "console/console.h"
#include "console/messages.h"
#include "game/game.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--slot-arguments") == 0) {
    for (int slot = 0; slot < console::k_slot_count; ++slot)
      console::print("%d%c", console::slot_argument_count(slot),
                     slot + 1 < console::k_slot_count ? ' ' : '\n');
    console::end_program(0);
  }
  if (argc < 2 || std::strlen(argv[1]) != 4) return 2;
  std::vector<char*> arguments = {argv[0]};
  for (int i = 2; i < argc; ++i) arguments.push_back(argv[i]);
  arguments.push_back(nullptr);
  game::StartState state = game::start_up(argc - 1, arguments.data());
  for (int i = 0; i < 4; ++i) state.deck_a[static_cast<std::size_t>(i)] = argv[1][i] - '0';
  game::run_game(state.secret, state.deck_a);
  console::end_program(0);
}
