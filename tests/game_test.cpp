// The console game's own readers: the turn loop's answers, and start-up's option table.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/messages.h"
#include "console_session.h"
#include "game/turn_loop.h"

namespace {

using game::ScoreCode;
using testing_support::ConsoleSession;

// Answers as a player might type them, and lines that read as a negative score (then dropped).
TEST(Game, ScanAnswer) {
  static const struct {
    const char* line;
    ScoreCode want;
  } cases[] = {
      {"1H1B", 6},          {"1h1b", 6},   {"1H 1B", 6},    {"1H1", 6},
      {"+1H1B", 6},         {" 1H1B", 6},  {"\t1H\v1B", 6}, {"1HH2B", 7},
      {"1 2", 7},           {"1+2", 7},    {"2 0", 10},     {"1H-1B", 4},
      {"1-1", 4},           {"1H-2B", 3},  {"0H0B", 0},     {"x", 0},
      {"X and more", 0},    {"2H", 10},    {"2B", 2},       {"2b", 2},
      {"1B1H", 1},          {"10H0B", 50}, {"1H4B", 9},     {"4H", 20},
      {"0H20B", 20},        {"3H5B", 20},  {"0 20", 20},    {"4H0B", 20},
      {"4294967297H0B", 5}, {"-1H0B", -5}, {"0H-1B", -1},   {"-1 0", -5},
  };
  for (const auto& c : cases) EXPECT_EQ(game::scan_answer(c.line), c.want) << '"' << c.line << '"';
  // A lone number counts by the line's second byte: a digit or a blank there refuses it.
  for (const char* refused :
       {"12B", " 2H", "20B", "-1H", "2", "", "1 H1B", "H1B", "1,2", "?", "Y", "\xEF\xBC\x91H"}) {
    EXPECT_EQ(game::scan_answer(refused), std::nullopt) << '"' << refused << '"';
  }
  // The numbers as typed, which the page checks against the scores a code can give.
  static const struct {
    const char* line;
    std::int32_t hits, blows;
  } typed[] = {{"0H20B", 0, 20}, {"2B", 0, 2}, {"1B1H", 0, 1}, {"X9H", 0, 0}, {"1H-1B", 1, -1}};
  for (const auto& c : typed) {
    game::AnswerCounts counts{-9, -9};
    game::scan_answer(c.line, &counts);
    EXPECT_EQ(std::pair(counts.hits, counts.blows), std::pair(c.hits, c.blows)) << c.line;
  }
}

TEST(Game, ParseAnswerReadsUntilAUsableAnswer) {
  static const struct {
    std::string input;
    std::optional<ScoreCode> want;
    int reminders;
  } cases[] = {
      {"1H2B\n", 7, 0},      {"zzz\n?\n3B\n", 3, 2},           {"-1H0B\n0H-1B\nx\n", 0, 0},
      {"", std::nullopt, 0}, {"zzz\n-1 0\n", std::nullopt, 1}, {"4h", 20, 0},
  };
  for (const auto& c : cases) {
    ConsoleSession session(c.input);
    console::message_table[console::k_slot_answer_help] = {'<', '2', '5', '>'};
    console::message_table[console::k_slot_answer_help_x] = {'<', '2', '6', '>', '\n'};
    EXPECT_EQ(game::parse_answer(), c.want) << c.input;
    std::string want;
    for (int i = 0; i < c.reminders; ++i) want += "<25><26>\n";
    EXPECT_EQ(session.output(), want) << c.input;
  }
}

// start_up() with one argument after the program's name: the secret it settles on, or the
// status it ends with.
struct StartUp {
  std::optional<int> ended;
  std::int32_t secret;
  std::string output;
};
StartUp start_with(const std::string& argument) {
  ConsoleSession session("");
  std::string program = "hitblow", copy = argument;
  std::vector<char*> argv = {program.data(), copy.data(), nullptr};
  StartUp result{std::nullopt, 0, ""};
  result.ended = session.run([&] { result.secret = game::start_up(2, argv.data()).secret; });
  result.output = session.output();
  return result;
}

TEST(Game, OptionsMatchByPrefix) {
  static const struct {
    const char* argument;
    std::int32_t secret;  // -1: drawn, so any valid code
  } accepted[] = {
      {"-key=1234", 1234},   {"-key=0123", 123},
      {"-key=1234th", 1234}, {"-key=", 0},
      {"-key=12345", 12345}, {"-key=-2147483648", INT32_MIN},
      {"-key=-1", -1},       {"-key=99999999999", 1215752191},
      {"-quietly", -1},      {"-sjisfoo", -1},
      {"plain", -1},         {"", -1},
  };
  for (const auto& c : accepted) {
    const StartUp run = start_with(c.argument);
    ASSERT_FALSE(run.ended) << c.argument;
    EXPECT_TRUE(c.secret == -1 ? codes::is_valid_code(run.secret) : run.secret == c.secret)
        << c.argument << ": " << run.secret;
  }
  const std::string usage = "Usage: hitblow [options]\n";
  for (const char* refused : {"-help", "-", "-key", "-KEY=1234", "-Quiet", "-mesg", "--help"}) {
    const StartUp run = start_with(refused);
    EXPECT_EQ(run.ended, -1) << refused;
    EXPECT_EQ(run.output.substr(0, usage.size()), usage) << refused;
  }
}

}  // namespace
