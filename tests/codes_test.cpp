// Codes and scores: validity against a brute-force definition, scoring, and the printers.
#include "codes/codes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "console_session.h"

namespace {

using codes::Code;
using codes::ScoreCode;

// Validity by the plain definition: four digits with leading zeros, all different.
bool valid_by_definition(long long n) {
  if (n < 0 || n > 9999) return false;
  const std::string text = std::to_string(10000 + n).substr(1);
  return std::set<char>(text.begin(), text.end()).size() == 4;
}

TEST(Codes, ValidityMatchesDefinitionOverAWideRange) {
  std::vector<Code> valid;
  for (long long n = -200000; n <= 200000; ++n) {
    const int got = codes::is_valid_code(static_cast<Code>(n));
    ASSERT_EQ(got, valid_by_definition(n) ? 1 : 0) << "code " << n;
    if (got) valid.push_back(static_cast<Code>(n));
  }
  ASSERT_EQ(valid.size(), 5040u);
  EXPECT_EQ(valid.front(), 123);
  EXPECT_EQ(valid.back(), 9876);
}

TEST(Codes, ExtremeIntegersAreInvalid) {
  for (Code n : {INT32_MIN, INT32_MIN + 1, -1, INT32_MAX, 1023456789, 10234})
    EXPECT_EQ(codes::is_valid_code(n), 0) << n;
}

TEST(Codes, SplitAndComposeRoundTrip) {
  for (Code n = -20000; n <= 20000; ++n)
    ASSERT_EQ(codes::compose_digits(codes::split_digits(n)), n) << n;
  EXPECT_EQ(codes::split_digits(123), (codes::Digits{0, 1, 2, 3}));
  EXPECT_EQ(codes::split_digits(12345), (codes::Digits{12, 3, 4, 5}));
  EXPECT_EQ(codes::split_digits(-123), (codes::Digits{0, -1, -2, -3}));
}

// Scoring by counting hits and common digits separately, valid codes only.
ScoreCode score_by_definition(Code a, Code b) {
  const auto da = codes::split_digits(a), db = codes::split_digits(b);
  int hits = 0, common = 0;
  for (int i = 0; i < 4; ++i) {
    hits += da[i] == db[i];
    for (int j = 0; j < 4; ++j) common += da[i] == db[j];
  }
  return 5 * hits + (common - hits);
}

TEST(Score, KnownPairs) {
  static const struct {
    Code a, b;
    ScoreCode want;
    const char* why;
  } cases[] = {
      {1234, 1234, 20, "same code: four hits"},
      {1234, 4321, 4, "all digits displaced"},
      {1234, 5678, 0, "nothing in common"},
      {123, 1230, 4, "leading zero counts as a digit"},
      {1234, 1243, 12, "two hits, two blows"},
      {1122, 1212, 16, "repeated digits: every equal pair counts (6+2+2+6)"},
      {0, 0, 32, "0000 against itself: 4 hits and 12 cross pairs"},
      {1234, 1123, 8, "one repeated digit: its two 1s pair with the guess's 1 (5+1)"},
      {-1234, 1234, 0, "negative digits match nothing"},
      {12345, 2345, 15, "12345 splits as 12 3 4 5"},
      {9999, 9876, 8, "every 9 pairs with the one 9: a hit and three blows"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codes::score_guess(c.a, c.b), c.want) << c.a << " vs " << c.b << ": " << c.why;
    EXPECT_EQ(codes::score_guess(c.b, c.a), c.want) << c.b << " vs " << c.a << ": symmetry";
  }
}

TEST(Score, ValidCodesScoreSymmetricallyWithinTheFourteenValues) {
  const std::set<ScoreCode> possible = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 20};
  std::vector<Code> all;
  for (Code n = 0; n < 10000; ++n)
    if (codes::is_valid_code(n)) all.push_back(n);
  for (std::size_t i = 0; i < all.size(); i += 7) {
    for (Code b : all) {
      const ScoreCode s = codes::score_guess(all[i], b);
      ASSERT_EQ(s, score_by_definition(all[i], b)) << all[i] << " vs " << b;
      ASSERT_EQ(s, codes::score_guess(b, all[i])) << all[i] << " vs " << b;
      ASSERT_TRUE(possible.count(s)) << all[i] << " vs " << b << " scored " << s;
    }
  }
}

std::string printed(void (*body)(Code, ScoreCode), Code code, ScoreCode score) {
  testing_support::ConsoleSession session("");
  session.run([&] { body(code, score); });
  return session.output();
}

TEST(PrintScored, Bytes) {
  static const struct {
    Code code;
    ScoreCode score;
    const char* want;
  } cases[] = {
      {1234, 7, "1234 1H2B "}, {567, 0, "0567 X "},  {5678, 20, "5678 4H "},
      {1234, 3, "1234 3B "},   {1234, 25, "1234 5H "}, {1234, -3, "1234  "},
      {12345, 4, "12345 4B "}, {-5, 1, "-005 1B "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(printed(codes::print_scored, c.code, c.score), c.want) << c.code << "/" << c.score;
}

TEST(PrintHistory, RowsAndAbsentLists) {
  const Code ga[] = {1234, 5678};
  const ScoreCode sa[] = {7, 0};
  const Code gb[] = {123, 9876};
  const ScoreCode sb[] = {20, 5};
  static const struct {
    int rows;
    bool a, b;
    const char* want;
  } cases[] = {
      {0, true, true, ""},
      {2, true, true, "1234 1H2B 0123 4H \n5678 X 9876 1H \n"},
      {2, true, false, "1234 1H2B \n5678 X \n"},
      {1, false, true, "0123 4H \n"},
      {2, false, false, "\n\n"},
  };
  for (const auto& c : cases) {
    testing_support::ConsoleSession session("");
    session.run([&] {
      codes::print_history(c.rows, c.a ? ga : nullptr, c.a ? sa : nullptr, c.b ? gb : nullptr,
                           c.b ? sb : nullptr);
    });
    EXPECT_EQ(session.output(), c.want) << c.rows << " rows, a=" << c.a << " b=" << c.b;
  }
}

}  // namespace
