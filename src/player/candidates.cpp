// The candidate table: every valid code, with the codes the user can still hold in front.
// Eliminated codes stay behind the boundary because the guess choice still tries them as guesses.
#include <cassert>

#include "player/player.h"

namespace player {

CandidateTable candidate_table{};
int candidate_count = codes::k_code_count;

// Set once the table holds all valid codes; the game fills it on its first turn only.
static bool candidates_built = false;

void fill_candidates(CandidateTable& table) {
  int filled = 0;
  for (Code code = 123; code <= 9876; ++code) {
    if (codes::is_valid_code(code) == 1) table[static_cast<std::size_t>(filled++)] = code;
  }
  assert(filled == codes::k_code_count);
}

void build_candidates() {
  if (candidates_built) return;
  fill_candidates(candidate_table);
  candidates_built = true;
}

void reset_candidates() {
  candidate_table.fill(0);
  candidate_count = codes::k_code_count;
  candidates_built = false;
}

int filter_candidates(int count, Code* table, int rows, const Code* guesses,
                      const ScoreCode* answers) {
  int last = count - 1;
  int i = 0;
  while (i <= last) {
    bool agrees = true;
    for (int j = 0; j < rows; ++j) {
      if (codes::score_guess(guesses[j], table[i]) != answers[j]) {
        agrees = false;
        break;
      }
    }
    if (agrees) {
      ++i;
      continue;
    }
    // The last code still in play takes the rejected one's place and is tested next; the
    // order this leaves is the tie-break order of the guess choice and of the comments.
    const Code rejected = table[i];
    table[i] = table[last];
    table[last] = rejected;
    --last;
  }
  return last + 1;
}

}  // namespace player
