// Fuzz target: a whole game, in process, with the fuzzer's bytes as its command line and its
// standard input. The first bytes choose the options and the computer's first guess; the rest
// is what the user types. Every ending of the program (the summary, the usage text, the
// contradiction dialog, end of input) comes back here as an exception from the exit hook or as
// the return of run_game, so the next input starts from a clean state.
//
// Layout of an input:
//   byte 0        option bits: 1 -quiet, 2 -sjis, 4 -key= from the input, 8 an unknown option,
//                 16 an argument without '-'
//   bytes 1..4    deck A: the computer's first guess, made a permutation of 0..9 as a shuffle
//                 would leave it
//   byte 5        with bit 4: the length (mod 12) of the -key= text that follows it
//   the rest      standard input
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/console.h"
#include "console/messages.h"
#include "fuzz_support.h"
#include "game/game.h"
#include "player/player.h"

namespace {

enum OptionBits : std::uint8_t {
  k_quiet = 1,
  k_sjis = 2,
  k_key_text = 4,
  k_unknown_option = 8,
  k_plain_argument = 16,
};

// Every ending of the program passes through the pause, so the output ends with its prompt.
constexpr char k_pause_prompt[] = "\n--(Hit return key)--\n";

// The output of one game, in memory.
class MemoryOutput {
 public:
  MemoryOutput() : file_(open_memstream(&text_, &size_)) {
    if (file_ == nullptr) std::abort();
  }
  ~MemoryOutput() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(text_);
  }
  MemoryOutput(const MemoryOutput&) = delete;
  MemoryOutput& operator=(const MemoryOutput&) = delete;
  std::FILE* file() const { return file_; }
  // Everything written; the stream can't be used after this.
  std::string_view close() {
    std::fclose(file_);
    file_ = nullptr;
    return {text_, size_};
  }

 private:
  char* text_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

// Takes bytes from the front of the input.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t next() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
};

// Deck A from four bytes: a swap of each of the first four positions with a later one, which is
// how any order the start-up shuffle can leave is reached.
game::Deck deck_from(Reader& reader) {
  game::Deck deck = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t j = i + reader.next() % (deck.size() - i);
    std::swap(deck[i], deck[j]);
  }
  return deck;
}

// A -key= text: up to 11 bytes, cut at a NUL as a command-line argument would be.
std::string key_text(Reader& reader) {
  const int length = reader.next() % 12;
  std::string text;
  for (int i = 0; i < length; ++i) text.push_back(static_cast<char>(reader.next()));
  return text.substr(0, text.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool hooked = (fuzz_support::catch_program_ends(), true);
  (void)hooked;
  Reader reader{data, size};
  const std::uint8_t options = reader.next();
  const game::Deck deck_a = deck_from(reader);

  // A fixed secret unless the input names one, so that each input replays the same game (a
  // -key= text that reads as -1 draws it from the clock, as in the game).
  std::vector<std::string> arguments = {"hitblow", "-key=1357"};
  if (options & k_key_text) arguments.push_back("-key=" + key_text(reader));
  if (options & k_quiet) arguments.push_back("-quiet");
  if (options & k_sjis) arguments.push_back("-sjis");
  if (options & k_plain_argument) arguments.push_back("plain");
  if (options & k_unknown_option) arguments.push_back("-help");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  console::reset_message_table();
  player::reset_candidates();
  fuzz_support::MemoryInput input(reader.data, reader.size);
  MemoryOutput output;
  console::use_streams(input.file(), output.file());
  const bool usage = (options & k_unknown_option) != 0;
  bool returned = false;
  try {
    game::StartState state = game::start_up(static_cast<int>(arguments.size()), argv.data());
    state.deck_a = deck_a;
    game::run_game(state.secret, state.deck_a);
    returned = true;
  } catch (const fuzz_support::ProgramEnded& ended) {
    // The usage text ends with -1, the contradiction dialog with 0; nothing else ends a game
    // that starts without a message file.
    FUZZ_CHECK(ended.status == (usage ? -1 : 0), "the game ended with status %d", ended.status);
  }
  FUZZ_CHECK(!(usage && returned), "a game was played after the usage text");
  console::use_streams(nullptr, nullptr);
  const std::string_view text = output.close();
  FUZZ_CHECK(text.ends_with(k_pause_prompt), "the game ended without its pause prompt");
  // A game that ran its course lists its turns after the separator.
  if (returned) {
    FUZZ_CHECK(text.find("---------------------------\n") != std::string_view::npos,
               "the game returned without its summary");
  }
  return 0;
}
