// Command line and start-up: options, message files, table rewrites, the secret and deck A.
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "console/console.h"
#include "console/language.h"
#include "console/messages.h"
#include "console/platform.h"
#include "game/game.h"

namespace game {

namespace {

struct Options {
  Code secret = -1;  // -1 until -key= sets it; -1 then means "draw one"
  bool double_backslashes = false;
  bool quiet = false;
};

using OptionHandler = void (*)(Options& options, const char* value);

// First matching row wins; every option is a prefix, so "-quietly" is -quiet.
struct OptionRow {
  const char* text;
  OptionHandler apply;
};
constexpr OptionRow k_options[] = {
    {"-key=", [](Options& o, const char* value) { o.secret = console::read_decimal(value); }},
    {"-mesg=", [](Options&, const char* value) { console::load_message_file(value); }},
    {"-sjis", [](Options& o, const char*) { o.double_backslashes = true; }},
    {"-quiet", [](Options& o, const char*) { o.quiet = true; }},
};

// The linear congruential generator of the C standard's example rand(): 0..32767. The exact
// sequence doesn't matter to the game, only that it is uniform enough and seeded afresh each run.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  int next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ / 65536u) % 32768u);
  }

 private:
  std::uint32_t state_;
};

// 1000 exchanges of two positions, each drawn as the next random number modulo 10.
void shuffle(Deck& deck, Random& random) {
  for (int exchange = 0; exchange < 1000; ++exchange) {
    const int i = random.next() % 10;
    const int j = random.next() % 10;
    std::swap(deck[static_cast<std::size_t>(i)], deck[static_cast<std::size_t>(j)]);
  }
}

// When `argument` begins with `option`, the rest of it (possibly empty); otherwise nothing.
std::optional<const char*> match_option(const char* argument, const char* option) {
  const std::size_t length = std::strlen(option);
  if (std::strncmp(argument, option, length) != 0) return std::nullopt;
  return argument + length;
}

// The usage text, with the program name in its first line.
void print_usage(const char* program_name) {
  console::print("Usage: %s [options]\n", program_name);
  static const char* const k_lines[] = {
      "       -key=%04d        preset answer (for debug)\n",
      "       -mesg=(filename) message resource file\n",
      "       -quiet           suppress thought messages\n",
      "       -sjis            convert \\ into \\\\ in message\n",
      "       -help            This help.\n",
  };
  for (const char* line : k_lines) console::print("%s", line);
}

// Whether the command line names a message file: then the player has chosen the words, and the
// table starts from the built-in texts as the files expect.
bool names_message_file(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (match_option(argv[i], "-mesg=")) return true;
  }
  return false;
}

}  // namespace

Code first_four(const Deck& deck) {
  return codes::compose_digits({deck[0], deck[1], deck[2], deck[3]});
}

StartState start_up(int argc, char** argv) {
  // The built-in texts in the form the terminal shows, before any message file replaces them;
  // with none named, the player's language where the player watches (a terminal).
  console::reset_message_table(console::output_encoding());
  if (!names_message_file(argc, argv)) console::use_player_language();
  Options options;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (argument[0] != '-') continue;
    const OptionRow* row = nullptr;
    std::optional<const char*> value;
    for (const OptionRow& candidate : k_options) {
      value = match_option(argument, candidate.text);
      if (value) {
        row = &candidate;
        break;
      }
    }
    if (row == nullptr) {
      print_usage(argv[0] != nullptr ? argv[0] : "hitblow");
      console::pause_and_end(-1);
    }
    row->apply(options, *value);
  }
  if (options.double_backslashes) console::double_backslashes();
  if (options.quiet) console::blank_thinking_slots();

  Deck deck_a = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  Deck deck_b = deck_a;
  Random random(console::platform::random_seed());
  // Deck B is shuffled even under -key=, so deck A does not depend on the option.
  shuffle(deck_b, random);
  if (options.secret == -1) options.secret = first_four(deck_b);
  shuffle(deck_a, random);
  return {options.secret, deck_a};
}

}  // namespace game
