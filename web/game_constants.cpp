// Writes game_constants.js, the page's module of what it shares with the game: the schema of the
// events the program reports (their numbers, names and fields), the names of the numbers they
// and the page's questions come with, the turn limit, a code's digits, a line's bytes and the
// Return prompt of the closing pause. The build runs this under Node.js, so the page reads the
// program's own values and never a copy that could drift from them.
//   hitblow_page_constants FILE   writes FILE; returns 1 (after a line on stderr) if it can't.
#include <cstdio>
#include <iterator>

#include "console/console.h"
#include "console/platform.h"
#include "game/game.h"
#include "questions.h"

namespace {

using namespace console::platform;

// The events the program reports (console/platform.h), by the names the page gives them, each
// with the names of its numbers in order: the schema of what the page reads from the program.
const struct {
  Event event;
  const char* name;
  const char* fields[7];  // up to the first null
} k_events[] = {
    {k_event_scored, "scored", {"guess", "hits", "blows"}},
    {k_event_computer_guess, "computerGuess", {"guess"}},
    {k_event_answer, "answer", {"guess", "hits", "blows"}},
    {k_event_unreadable, "unreadable", {}},
    {k_event_contradiction, "contradiction", {}},
    {k_event_wrong_answer,
     "wrongAnswer",
     {"turn", "guess", "saidHits", "saidBlows", "shouldHits", "shouldBlows"}},
    {k_event_result, "result", {"outcome", "secret"}},
    {k_event_waiting, "waiting", {"what"}},
};

// The names of the numbers some events come with, and of the page's questions' replies
// (questions.h), in the order of their values.
const struct {
  const char* constant;
  int count;
  const char* names[5];
} k_names[] = {
    {"OUTCOMES", 3, {"win", "loss", "draw"}},
    {"WAITS", 5, {"guess", "answer", "confirm", "code", "end"}},
    {"SCORE_FAULTS", 4, {nullptr, "negative", "tooMany", "threeOne"}},
};
static_assert(k_outcome_draw == 2 && k_wait_end == 4 && web::k_score_three_one == 3,
              "k_names lists every value");

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
  std::fputs("export const EVENTS = [\n", out);
  for (int i = 0; i < static_cast<int>(std::size(k_events)); ++i) {
    // The page finds an event by its number: the table must follow the numbers.
    if (k_events[i].event != i) {
      std::fprintf(stderr, "hitblow_page_constants: event %s is out of order\n", k_events[i].name);
      return 1;
    }
    std::fprintf(out, "  ['%s', [", k_events[i].name);
    for (const char* const* field = k_events[i].fields; *field != nullptr; ++field) {
      std::fprintf(out, "%s'%s'", field == k_events[i].fields ? "" : ", ", *field);
    }
    std::fputs("]],\n", out);
  }
  std::fputs("];\n", out);
  for (const auto& list : k_names) {
    std::fprintf(out, "export const %s = [", list.constant);
    for (int i = 0; i < list.count; ++i) {
      std::fputs(i > 0 ? ", " : "", out);
      if (list.names[i] == nullptr) {
        std::fputs("null", out);
      } else {
        print_string(out, list.names[i]);
      }
    }
    std::fputs("];\n", out);
  }
  std::fprintf(out, "export const MAX_TURNS = %d;\n", game::k_max_turns);
  std::fprintf(out, "export const DIGITS = %d;\n", static_cast<int>(codes::Digits{}.size()));
  std::fprintf(out, "export const LINE_BYTES = %d;\n", console::k_line_bytes);
  std::fputs("export const PAUSE = ", out);
  print_string(out, console::k_pause_prompt);
  std::fputs(";\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}
