// Every game the computer plays against a truthful user, for the first guesses given, as text:
//   hitblow_game_tree FIRST...
// prints, per first guess and for every code in ascending order, "FIRST CODE: GUESS GUESS ...",
// the computer's guesses until it names the code. Builds for other machines must print the very
// same bytes as the native build; any difference in a guess choice shows up here.
// Exit status 0, or 2 for an argument that is not a code.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "strategy.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const codes::Code first = std::atoi(argv[i]);
    if (codes::is_valid_code(first) != 1) return 2;
    std::vector<std::string> games(strategy::k_code_values);
    const strategy::FirstGuessResult result = strategy::play_every_code(
        first, [&](codes::Code code, const codes::Code* guesses, int count) {
          std::string& line = games[static_cast<std::size_t>(code)];
          char text[8];
          for (int g = 0; g < count; ++g) {
            std::snprintf(text, sizeof text, " %04d", guesses[g]);
            line += text;
          }
        });
    for (codes::Code code = 0; code < strategy::k_code_values; ++code) {
      const std::string& line = games[static_cast<std::size_t>(code)];
      if (!line.empty()) std::printf("%04d %04d:%s\n", first, code, line.c_str());
    }
    // Anything the walk met besides solved games would differ between builds too.
    std::printf("%04d nodes %ld, empty %ld, miscounted %ld, unfinished %ld\n", first,
                result.stats.nodes, result.stats.empty_nodes, result.stats.miscounted_nodes,
                result.stats.unfinished_codes);
  }
  return 0;
}
