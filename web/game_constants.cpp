// Writes game_constants.js, the page's module of what it shares with the game: the slot numbers
// it follows, the turn limit, the Return prompt of the closing pause and the rule above the
// summary. The build runs this under Node.js, so the page reads the program's own values and
// never a copy that could drift from them.
//   hitblow_page_constants FILE   writes FILE; returns 1 (after a line on stderr) if it can't.
#include <cstdio>

#include "console/console.h"
#include "console/slots.h"
#include "game/game.h"

namespace {

// The slots the page's game state follows, by the names it gives them.
const struct {
  const char* name;
  int slot;
} k_slots[] = {
    {"remaining", console::k_slot_remaining},
    {"firstPrompt", console::k_slot_first_prompt},
    {"nextPrompt", console::k_slot_next_prompt},
    {"notACode", console::k_slot_not_a_code},
    {"computerGuess", console::k_slot_computer_guess},
    {"answerHelp", console::k_slot_answer_help},
    {"answerHelpX", console::k_slot_answer_help_x},
    {"draw", console::k_slot_draw},
    {"userWins", console::k_slot_user_wins},
    {"computerWins", console::k_slot_computer_wins},
    {"answerEchoEnd", console::k_slot_answer_echo_end},
    {"scoredGuessEnd", console::k_slot_scored_guess_end},
    {"strange", console::k_slot_strange},
    {"really", console::k_slot_really},
    {"giveUp", console::k_slot_give_up},
    {"tellMe", console::k_slot_tell_me},
    {"wrongHere", console::k_slot_wrong_here},
    {"shouldBe", console::k_slot_should_be},
    {"rowEnd", console::k_slot_row_end},
    {"youLose", console::k_slot_you_lose},
    {"iWin", console::k_slot_i_win},
};

// `text` as a JavaScript string literal; the texts here are ASCII.
void print_string(std::FILE* out, const char* text) {
  std::fputc('\'', out);
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\n') {
      std::fputs("\\n", out);
    } else {
      if (*p == '\'' || *p == '\\') std::fputc('\\', out);
      std::fputc(*p, out);
    }
  }
  std::fputc('\'', out);
}

}  // namespace

int main(int argc, char** argv) {
  std::FILE* out = argc == 2 ? std::fopen(argv[1], "w") : nullptr;
  if (out == nullptr) {
    std::fputs("hitblow_page_constants: cannot write the file named (one argument)\n", stderr);
    return 1;
  }
  std::fputs("// Written by the build (web/game_constants.cpp) from the game's own values.\n", out);
  std::fputs("export const SLOT = {\n", out);
  for (const auto& s : k_slots) std::fprintf(out, "  %s: %d,\n", s.name, s.slot);
  std::fputs("};\n", out);
  std::fprintf(out, "export const MAX_TURNS = %d;\n", game::k_max_turns);
  std::fputs("export const PAUSE = ", out);
  print_string(out, console::k_pause_prompt);
  std::fputs(";\nexport const SUMMARY_RULE = ", out);
  print_string(out, game::k_summary_rule);
  std::fputs(";\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}
