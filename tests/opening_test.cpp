// Opening book: known second guesses, validity for every first guess, and the internal error.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "codes/codes.h"
#include "console_session.h"
#include "player/player.h"

namespace {

using codes::Code;
using codes::ScoreCode;

// Every answer the book has a row for.
constexpr ScoreCode k_book_answers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15};

std::vector<Code> all_valid_codes() {
  std::vector<Code> valid;
  for (Code code = 0; code <= 9999; ++code) {
    if (codes::is_valid_code(code) == 1) valid.push_back(code);
  }
  return valid;
}

TEST(Opening, KnownSecondGuesses) {
  static const struct {
    Code first;
    ScoreCode answer;
    Code want;
    const char* why;
  } cases[] = {
      // 1234 lacks 0 5 6 7 8 9.
      {1234, 0, 567, "four fresh digits, shown as 0567"},
      {1234, 1, 2056, "d1 then three fresh"},
      {1234, 2, 2045, "d1 u0 d3 u1"},
      {1234, 3, 2045, "shares the row of 2"},
      {1234, 4, 2140, "d1 d0 d3 u0"},
      {1234, 5, 1056, "d0 then three fresh"},
      {1234, 6, 1205, "d0 d1 u0 u1"},
      {1234, 7, 1305, "d0 d2 u0 u1"},
      {1234, 8, 1240, "d0 d1 d3 u0"},
      {1234, 10, 1305, "shares the row of 7"},
      {1234, 11, 1305, "shares the row of 7"},
      {1234, 12, 1320, "d0 d2 d1 u0"},
      {1234, 15, 1305, "shares the row of 7"},
      // 0123 lacks 4 5 6 7 8 9; a leading zero is a digit like any other.
      {123, 0, 4567, "four fresh digits"},
      {123, 1, 1456, "d1 then three fresh"},
      {123, 2, 1435, "d1 u0 d3 u1"},
      {123, 3, 1435, "shares the row of 2"},
      {123, 4, 1034, "d1 d0 d3 u0"},
      {123, 5, 456, "d0 is zero: shown as 0456"},
      {123, 6, 145, "d0 is zero: shown as 0145"},
      {123, 7, 245, "d0 d2 u0 u1, shown as 0245"},
      {123, 8, 134, "d0 d1 d3 u0, shown as 0134"},
      {123, 10, 245, "shares the row of 7"},
      {123, 11, 245, "shares the row of 7"},
      {123, 12, 214, "d0 d2 d1 u0, shown as 0214"},
      {123, 15, 245, "shares the row of 7"},
      // 5203 lacks 1 4 6 7 8 9: its missing digits interleave with its own, and its digits
      // are not in ascending order.
      {5203, 0, 1467, "fresh digits in ascending order"},
      {5203, 1, 2146, "d1 then three fresh"},
      {5203, 2, 2134, "d1 u0 d3 u1"},
      {5203, 4, 2531, "d1 d0 d3 u0"},
      {5203, 5, 5146, "d0 then three fresh"},
      {5203, 6, 5214, "d0 d1 u0 u1"},
      {5203, 7, 5014, "d0 d2 u0 u1"},
      {5203, 8, 5231, "d0 d1 d3 u0"},
      {5203, 12, 5021, "d0 d2 d1 u0"},
      // 9876 lacks 0 1 2 3 4 5: its digits descend.
      {9876, 0, 123, "the lowest fresh digits, shown as 0123"},
      {9876, 4, 8960, "d1 d0 d3 u0"},
      {9876, 12, 9780, "d0 d2 d1 u0"},
  };
  for (const auto& c : cases) {
    testing_support::ConsoleSession session("");
    Code got = -1;
    const auto ended = session.run([&] { got = player::opening_guess(c.first, c.answer); });
    EXPECT_FALSE(ended.has_value()) << c.first << " answered " << c.answer << ": ended the program";
    EXPECT_EQ(got, c.want) << c.first << " answered " << c.answer << ": " << c.why;
    EXPECT_EQ(session.output(), "") << c.first << " answered " << c.answer << ": printed text";
  }
}

// Whatever the first guess, every row yields four different digits.
TEST(Opening, EveryRowGivesAValidCodeForEveryFirstGuess) {
  const std::vector<Code> firsts = all_valid_codes();
  ASSERT_EQ(firsts.size(), static_cast<std::size_t>(codes::k_code_count));
  // In a session, so that a missing row reports here instead of ending the test binary.
  testing_support::ConsoleSession session("");
  const auto ended = session.run([&] {
    for (Code first : firsts) {
      for (ScoreCode answer : k_book_answers) {
        const Code guess = player::opening_guess(first, answer);
        ASSERT_EQ(codes::is_valid_code(guess), 1)
            << "first guess " << first << " answered " << answer << " gave " << guess;
      }
    }
  });
  EXPECT_FALSE(ended.has_value()) << "a book answer ended the program: " << session.output();
}

// Answers that share a row must keep sharing it for every first guess, not only for 1234.
TEST(Opening, SharedRowsAgreeForEveryFirstGuess) {
  static const struct { ScoreCode answer, same_as; } shared[] = {{3, 2}, {10, 7}, {11, 7}, {15, 7}};
  testing_support::ConsoleSession session("");
  const auto ended = session.run([&] {
    for (Code first : all_valid_codes()) {
      for (const auto& s : shared) {
        ASSERT_EQ(player::opening_guess(first, s.answer), player::opening_guess(first, s.same_as))
            << "first guess " << first << ": answer " << s.answer << " vs " << s.same_as;
      }
    }
  });
  EXPECT_FALSE(ended.has_value()) << "a book answer ended the program: " << session.output();
}

// Answers no pair of valid codes produces, plus 20, which ends the game before the book.
TEST(Opening, ImpossibleAnswerIsAnInternalError) {
  static const struct {
    ScoreCode answer;
    const char* why;
  } cases[] = {
      {9, "1 hit 4 blows: five digits"},
      {13, "2 hits 3 blows"},
      {14, "2 hits 4 blows"},
      {16, "3 hits 1 blow"},
      {19, "3 hits 4 blows"},
      {20, "four hits: the game is over"},
      {21, "above the score range"},
      {-1, "negative"},
      {INT_MIN, "most negative int"},
      {INT_MAX, "largest int"},
  };
  const std::string want = "Error!!!\n\n--(Hit return key)--\n";
  for (const auto& c : cases) {
    testing_support::ConsoleSession session("\n");
    const auto ended = session.run([&] { player::opening_guess(1234, c.answer); });
    ASSERT_TRUE(ended.has_value()) << "answer " << c.answer << " (" << c.why << ") returned";
    EXPECT_EQ(*ended, -1) << "answer " << c.answer << ": " << c.why;
    EXPECT_EQ(session.output(), want) << "answer " << c.answer << ": " << c.why;
  }
}

}  // namespace
