// Candidate table and filter: the built table, the counts each answer leaves, and the exact order
// the exchange-with-last filter leaves (the guess choice breaks ties by it).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "codes/codes.h"
#include "player/player.h"

namespace {

using codes::Code;
using codes::ScoreCode;

// The global table as a fresh game sees it.
void start_fresh_game() {
  player::reset_candidates();
  player::build_candidates();
}

std::string show(const std::vector<Code>& codes) {
  std::string text;
  for (Code code : codes) text += std::to_string(code) + " ";
  return text;
}

TEST(Candidates, BuildHoldsEveryValidCodeAscending) {
  start_fresh_game();
  const player::CandidateTable& table = player::candidate_table;
  EXPECT_EQ(player::candidate_count, 5040);
  EXPECT_EQ(table.front(), 123) << "the smallest code, 0123";
  EXPECT_EQ(table.back(), 9876);
  int next = 0;
  for (Code code = 0; code <= 9999; ++code) {
    if (codes::is_valid_code(code) == 0) continue;
    ASSERT_LT(next, 5040) << "more valid codes than entries at " << code;
    ASSERT_EQ(table[next], code) << "entry " << next;
    ++next;
  }
  EXPECT_EQ(next, 5040);
}

TEST(Candidates, OnlyTheFirstBuildFills) {
  start_fresh_game();
  player::candidate_table[0] = 9876;
  player::build_candidates();
  EXPECT_EQ(player::candidate_table[0], 9876) << "a second build must leave the table alone";
  player::reset_candidates();
  EXPECT_EQ(player::candidate_count, 5040);
  player::build_candidates();
  EXPECT_EQ(player::candidate_table[0], 123) << "after a reset the next build fills again";
}

TEST(Candidates, ResetRestoresTheCount) {
  start_fresh_game();
  player::candidate_count = 17;
  player::reset_candidates();
  EXPECT_EQ(player::candidate_count, 5040);
}

TEST(Filter, CountsLeftByOneAnswerToGuess1234) {
  // Index = answer. Answers no code can give (9, 13, 14, 16 and up, negative) leave nothing.
  static const int want_by_answer[26] = {
      360, 1440, 1260, 264, 9, 480, 720, 216, 8, 0, 180, 72, 6,
      0,   0,    24,   0,   0, 0,   0,   1,   0, 0, 0,   0,  0,
  };
  start_fresh_game();
  const player::CandidateTable fresh = player::candidate_table;
  const Code guesses[] = {1234};
  int total = 0;
  for (ScoreCode answer = -3; answer <= 25; ++answer) {
    player::CandidateTable table = fresh;
    const ScoreCode answers[] = {answer};
    const int kept = player::filter_candidates(5040, table.data(), 1, guesses, answers);
    const int want = answer < 0 ? 0 : want_by_answer[answer];
    EXPECT_EQ(kept, want) << "answer " << answer;
    total += kept;

    // Whatever the count, the table is a rearrangement of the codes, split at the boundary into
    // those that agree and those that don't.
    for (int i = 0; i < 5040; ++i) {
      const bool agrees = codes::score_guess(1234, table[i]) == answer;
      ASSERT_EQ(agrees, i < kept) << "answer " << answer << ", entry " << i << " = " << table[i];
    }
    player::CandidateTable sorted = table;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, fresh) << "answer " << answer << ": the filter lost or duplicated codes";
  }
  EXPECT_EQ(total, 5040) << "every code gives exactly one answer";
}

TEST(Filter, OrderAfterAnswersToGuess1234) {
  static const struct {
    ScoreCode answer;
    int want_count;
    std::vector<Code> want_front;
  } cases[] = {
      {0, 360, {9876, 9875, 9870, 9867, 9865, 9860}},
      {1, 1440, {9873, 9872, 9871, 9863, 9862, 9861}},
      {20, 1, {1234}},
  };
  start_fresh_game();
  const player::CandidateTable fresh = player::candidate_table;
  for (const auto& c : cases) {
    player::CandidateTable table = fresh;
    const Code guesses[] = {1234};
    const ScoreCode answers[] = {c.answer};
    EXPECT_EQ(player::filter_candidates(5040, table.data(), 1, guesses, answers), c.want_count)
        << "answer " << c.answer;
    const std::vector<Code> front(table.begin(), table.begin() + c.want_front.size());
    EXPECT_EQ(front, c.want_front) << "answer " << c.answer << ": front is " << show(front);
  }
}

TEST(Filter, ExchangesEachRejectedEntryWithTheLastInPlay) {
  // Worked by hand: each rejected entry is replaced by the last one still in play, which is
  // tested next; when the one tested is itself the last in play it is exchanged with itself.
  static const struct {
    std::vector<Code> table;
    Code guess;
    ScoreCode answer;
    int want_count;
    std::vector<Code> want_table;
    const char* why;
  } cases[] = {
      // clang-format off
      {{1234, 5678, 1243, 5687, 2134}, 1234, 12, 2, {2134, 1243, 5687, 5678, 1234},
       "rejections at the front pull in the back entries one by one"},
      {{1234, 5678, 9012}, 1234, 20, 1, {1234, 9012, 5678},
       "the pulled-in entry is rejected too, then exchanged with itself"},
      {{1234, 5678}, 1234, 20, 1, {1234, 5678}, "last entry rejected: exchanged with itself"},
      {{5678, 9012}, 1234, 20, 0, {9012, 5678}, "all rejected: the first one ends up last"},
      {{1243, 2134, 1234}, 1234, 12, 2, {1243, 2134, 1234}, "rejected entry already last"},
      {{5678}, 5678, 20, 1, {5678}, "single entry kept"},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::vector<Code> table = c.table;
    const Code guesses[] = {c.guess};
    const ScoreCode answers[] = {c.answer};
    const int count = static_cast<int>(table.size());
    EXPECT_EQ(player::filter_candidates(count, table.data(), 1, guesses, answers), c.want_count)
        << c.why;
    EXPECT_EQ(table, c.want_table) << c.why << ": left " << show(table);
  }
}

TEST(Filter, NothingToFilter) {
  static const struct {
    int count;
    int rows;
    int want;
    const char* why;
  } cases[] = {
      {0, 1, 0, "no candidates: the table is not touched"},
      {4, 0, 4, "no rows: every entry agrees"},
      {0, 0, 0, "neither"},
  };
  // A row every entry disagrees with, so any entry touched would move.
  const Code guesses[] = {9876};
  const ScoreCode answers[] = {20};
  for (const auto& c : cases) {
    std::vector<Code> table = {1234, 5678, 1243, 5687};
    EXPECT_EQ(player::filter_candidates(c.count, table.data(), c.rows, guesses, answers), c.want)
        << c.why;
    EXPECT_EQ(table, (std::vector<Code>{1234, 5678, 1243, 5687})) << c.why;
  }
}

TEST(Filter, LeavesEntriesPastTheCountAlone) {
  start_fresh_game();
  player::CandidateTable table = player::candidate_table;
  const Code guesses[] = {1234};
  const ScoreCode answers[] = {20};
  EXPECT_EQ(player::filter_candidates(100, table.data(), 1, guesses, answers), 0)
      << "1234 is not among the first 100 codes";
  EXPECT_TRUE(std::equal(table.begin() + 100, table.end(), player::candidate_table.begin() + 100))
      << "entries from 100 on must not move";
}

TEST(Filter, WholeHistoryLeavesWhatTheNewestRowLeaves) {
  // The game filters by every row each turn; the entries in front already agree with the older
  // rows, so the result must be that of the newest row alone, order included.
  static const struct {
    Code guesses[3];
    Code secret;  // answers are the truthful ones, so the history is possible
  } cases[] = {
      {{1234, 2056, 5678}, 7021},
      {{326, 3164, 3410}, 2604},
      {{9876, 1205, 4321}, 3012},
  };
  for (const auto& c : cases) {
    ScoreCode answers[3];
    for (int j = 0; j < 3; ++j) answers[j] = codes::score_guess(c.guesses[j], c.secret);
    start_fresh_game();
    player::CandidateTable table = player::candidate_table;
    int count = player::filter_candidates(5040, table.data(), 1, c.guesses, answers);
    for (int rows = 2; rows <= 3; ++rows) {
      player::CandidateTable newest_only = table;
      const int whole = player::filter_candidates(count, table.data(), rows, c.guesses, answers);
      const int newest = player::filter_candidates(count, newest_only.data(), 1,
                                                   c.guesses + rows - 1, answers + rows - 1);
      EXPECT_EQ(whole, newest) << "first guess " << c.guesses[0] << ", row " << rows;
      EXPECT_EQ(table, newest_only) << "first guess " << c.guesses[0] << ", row " << rows;
      count = whole;
    }
    EXPECT_NE(std::find(table.begin(), table.begin() + count, c.secret), table.begin() + count)
        << "first guess " << c.guesses[0] << ": the secret must stay a candidate";
  }
}

}  // namespace
