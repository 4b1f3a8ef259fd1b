// Guess choice: the small-count rules, ties, the last-bit tie that only extended precision
// breaks, and the fast choice against the straightforward one over many played games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "codes/codes.h"
#include "player/extended.h"
#include "player/player.h"
#include "test_random.h"

namespace {

using codes::Code;
using codes::ScoreCode;

using testing_support::k_sanitized;
using testing_support::test_seed;

player::CandidateTable fresh_table() {
  player::reset_candidates();
  player::build_candidates();
  return player::candidate_table;
}

// Both choices on the same table; they must agree, and the caller checks the agreed guess.
Code choose_both(int count, const Code* table, const std::string& context) {
  const Code fast = player::choose_guess(count, table);
  const Code reference = player::choose_guess_reference(count, table);
  EXPECT_EQ(fast, reference) << context << ": fast and reference choices differ";
  return fast;
}

TEST(Choice, OneOrTwoCandidatesGiveEntryZero) {
  // Two-entry tables: any look past the candidates would read outside them (caught by ASan).
  static const struct {
    int count;
    Code table[2];
    Code want;
  } cases[] = {
      {1, {5678, 1234}, 5678},
      {2, {5678, 1234}, 5678},
      {2, {1234, 5678}, 1234},
      {2, {9876, 123}, 9876},
  };
  for (const auto& c : cases) {
    const std::string row =
        "count " + std::to_string(c.count) + ", entry 0 " + std::to_string(c.table[0]);
    EXPECT_EQ(choose_both(c.count, c.table, row), c.want) << row;
  }
}

TEST(Choice, ThreeCandidatesAreTheOnlyGuesses) {
  // A guess that sends the other two candidates to different answers splits perfectly.
  static const struct {
    Code table[3];
    Code want;
    const char* why;
  } cases[] = {
      {{1234, 5678, 9012}, 1234, "all split perfectly: the first stays on the tie"},
      {{1234, 5678, 5690}, 5678, "1234 scores 0 against both others; 5678 tells them apart"},
      {{5690, 1234, 5678}, 5690, "5690 tells the others apart, as 5678 does; the first wins"},
      {{1234, 5690, 5678}, 5690, "the first perfect splitter after a poor entry 0"},
      {{1234, 123, 2041}, 1234, "every pair scores 3 blows: all tie, the first stays"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(choose_both(3, c.table, c.why), c.want) << c.why;
  }
}

TEST(Choice, ThreeCandidatesNeverTryAnEliminatedCode) {
  // 1234, 0123 and 2041 score 3 blows against each other, so each of them leaves two candidates
  // in one answer; many eliminated codes would tell all three apart, but with three candidates
  // only the candidates are tried.
  const Code trio[3] = {1234, 123, 2041};
  player::CandidateTable table = fresh_table();
  for (int i = 0; i < 3; ++i)
    std::iter_swap(table.begin() + i, std::find(table.begin(), table.end(), trio[i]));
  int splitters = 0;
  for (Code guess : table) {
    const std::set<ScoreCode> answers = {codes::score_guess(guess, trio[0]),
                                         codes::score_guess(guess, trio[1]),
                                         codes::score_guess(guess, trio[2])};
    if (answers.size() == 3) ++splitters;
  }
  ASSERT_GT(splitters, 0) << "the case needs an eliminated code that splits better";
  EXPECT_EQ(choose_both(3, table.data(), "trio in front of the full table"), 1234);
}

// A split value is -sum (n/N) ln n, which is 0 exactly when every answer holds one candidate
// (ln 1 = 0) and below 0 otherwise; so whenever some guess splits the candidates perfectly, the
// choice is the first perfect splitter in table order, the candidates being first.
TEST(Choice, PerfectSplitterWinsAndTableOrderBreaksTheTie) {
  const unsigned seed = test_seed();
  std::mt19937 random(seed);
  const player::CandidateTable fresh = fresh_table();
  int won_by_candidate = 0;
  int won_by_eliminated = 0;
  const int sets = k_sanitized ? 40 : 200;
  for (int set = 0; set < sets; ++set) {
    // Candidates: 4 to 7 codes sharing digits with a random centre, so that their scores
    // against one another collide often. They go in front in random order.
    const Code centre = fresh[random() % fresh.size()];
    std::vector<Code> near;
    for (Code code : fresh) {
      if (codes::score_guess(code, centre) >= 6) near.push_back(code);
    }
    std::shuffle(near.begin(), near.end(), random);
    const int count = 4 + static_cast<int>(random() % 4);
    player::CandidateTable table = fresh;
    for (int i = 0; i < count; ++i) {
      std::iter_swap(table.begin() + i, std::find(table.begin(), table.end(), near[i]));
    }

    Code want = -1;
    int want_index = -1;
    for (int g = 0; g < 5040 && want < 0; ++g) {
      std::set<ScoreCode> answers;
      for (int c = 0; c < count; ++c) answers.insert(codes::score_guess(table[c], table[g]));
      if (static_cast<int>(answers.size()) == count) {
        want = table[g];
        want_index = g;
      }
    }
    if (want < 0) continue;  // no perfect split: the oracle says nothing about this set
    (want_index < count ? won_by_candidate : won_by_eliminated) += 1;
    const std::string row = "seed " + std::to_string(seed) + ", set " + std::to_string(set) +
                            ", centre " + std::to_string(centre) + ", count " +
                            std::to_string(count);
    EXPECT_EQ(choose_both(count, table.data(), row), want) << row;
  }
  EXPECT_GT(won_by_candidate, 0) << "seed " << seed << ": no set was won by a candidate";
  EXPECT_GT(won_by_eliminated, 0) << "seed " << seed << ": no set was won by an eliminated code";
}

TEST(Choice, FastMatchesReferenceBeyondFourThousandCandidates) {
  // The game never splits more than 378 candidates, but the choice takes any count; the fast
  // path counts sixteen candidates side by side in byte tallies, so a long list must be counted
  // in chunks before a tally reaches 256. Every sixteenth entry here answers 1 to 1234, 282 of
  // them, so that one tally would overflow for that guess; the rest are shuffled.
  const unsigned seed = test_seed();
  std::mt19937 random(seed);
  player::CandidateTable table = fresh_table();
  std::shuffle(table.begin(), table.end(), random);
  constexpr int k_count = 4500;
  int next_one_blow = 0;
  for (int i = 0; i < k_count; i += 16) {
    while (codes::score_guess(1234, table[next_one_blow]) != 1) ++next_one_blow;
    std::swap(table[i], table[next_one_blow]);
    next_one_blow = std::max(next_one_blow + 1, i + 1);
  }
  int same_lane = 0;
  for (int i = 0; i < k_count; i += 16) same_lane += codes::score_guess(1234, table[i]) == 1;
  ASSERT_EQ(same_lane, 282) << "seed " << seed << ": the table is not laid out as meant";

  const std::string row =
      "seed " + std::to_string(seed) + ", " + std::to_string(k_count) + " candidates";
  EXPECT_EQ(player::choose_guess(k_count, table.data()),
            player::choose_guess_reference(k_count, table.data()))
      << row;
}

// The table as the game leaves it after these answers: filtered turn by turn, every row each
// time.
int filter_like_the_game(player::CandidateTable& table, int rows, const Code* guesses,
                         const ScoreCode* answers) {
  int count = codes::k_code_count;
  for (int done = 1; done <= rows; ++done) {
    count = player::filter_candidates(count, table.data(), done, guesses, answers);
  }
  return count;
}

using Histogram = std::vector<int>;

Histogram histogram_of(Code guess, int count, const Code* table) {
  Histogram histogram(codes::k_score_values, 0);
  for (int c = 0; c < count; ++c) ++histogram[codes::score_guess(table[c], guess)];
  return histogram;
}

// The split value the game uses: extended precision, rounded to double after every addition.
double extended_value(const Histogram& histogram, int count) {
  double value = 0.0;
  for (int n : histogram) {
    if (n > 0) value = player::add_term(value, player::split_term(n, count));
  }
  return value;
}

// `x` stored as a double. On i386 doubles live in the x87's registers, with a 64-bit
// significand, and are rounded only when stored: GCC may keep them there for any number of steps.
double stored(double x) {
  const volatile double in_memory = x;
  return in_memory;
}

// The same sum carried out in double precision throughout, every step rounded.
double double_value(const Histogram& histogram, int count) {
  double value = 0.0;
  for (int n : histogram) {
    if (n == 0) continue;
    const double quotient = stored(-static_cast<double>(n) / count);
    value = stored(value + stored(stored(std::log(static_cast<double>(n))) * quotient));
  }
  return value;
}

TEST(Choice, LastBitTieNeedsExtendedPrecision) {
  // The user holds 2604; the computer opened with 0326, its book gave 3164, and 3410 came next.
  const Code guesses[] = {326, 3164, 3410};
  const ScoreCode answers[] = {3, 6, 2};
  for (int j = 0; j < 3; ++j) {
    ASSERT_EQ(codes::score_guess(guesses[j], 2604), answers[j]) << "row " << j;
  }
  player::CandidateTable table = fresh_table();
  const int count = filter_like_the_game(table, 3, guesses, answers);
  ASSERT_EQ(count, 10);

  // Sixteen guesses split the ten into 3, 2 and five singles. Those that meet the 2 in an earlier
  // answer than the 3 add the same terms in another order, which comes out one unit in the last
  // place higher.
  const std::set<Code> want_best = {5021, 7021, 8021, 9021};
  std::vector<Code> same_counts;
  for (Code guess : table) {
    Histogram histogram = histogram_of(guess, count, table.data());
    Histogram counts;
    for (int n : histogram) {
      if (n > 0) counts.push_back(n);
    }
    std::sort(counts.begin(), counts.end());
    if (counts != Histogram{1, 1, 1, 1, 1, 2, 3}) continue;
    same_counts.push_back(guess);
    const auto two = std::find(histogram.begin(), histogram.end(), 2);
    const auto three = std::find(histogram.begin(), histogram.end(), 3);
    EXPECT_EQ(two < three, want_best.count(guess) == 1) << "guess " << guess;
  }
  ASSERT_EQ(same_counts.size(), 16u);
  ASSERT_EQ(same_counts[0], 2105) << "2105 comes first in table order";

  const Histogram h5021 = histogram_of(5021, count, table.data());
  const Histogram h2105 = histogram_of(2105, count, table.data());
  EXPECT_EQ(extended_value(h5021, count), std::nextafter(extended_value(h2105, count), 1.0))
      << "in extended precision 5021 splits one unit in the last place better than 2105";
  EXPECT_EQ(double_value(h5021, count), double_value(h2105, count))
      << "in double precision 5021 and 2105 tie";

  EXPECT_EQ(choose_both(count, table.data(), "0326 3164 3410"), 5021);

  // The same choice made in double precision picks 2105: the first in table order of the sixteen
  // that all tie there.
  Code double_choice = 0;
  double best = -std::log(5040.0);
  bool best_is_candidate = false;
  for (Code guess : table) {
    const Histogram histogram = histogram_of(guess, count, table.data());
    const double value = double_value(histogram, count);
    const bool is_candidate = histogram[codes::k_all_hits] > 0;
    if (value > best || (value == best && is_candidate && !best_is_candidate)) {
      double_choice = guess;
      best = value;
      best_is_candidate = is_candidate;
    }
  }
  EXPECT_EQ(double_choice, 2105) << "double precision should fall for the tie";
}

// Plays one truthful game against `secret` as the computer does (book second guess, then the
// choice) and checks the fast choice against the reference at every turn with 3 or more
// candidates. Returns how many turns it compared.
int play_and_compare(Code first, Code secret, const std::string& context) {
  player::reset_candidates();
  player::build_candidates();
  Code guesses[codes::k_code_count];
  ScoreCode answers[codes::k_code_count];
  int rows = 0;
  int compared = 0;
  Code guess = first;
  for (;;) {
    guesses[rows] = guess;
    answers[rows] = codes::score_guess(guess, secret);
    ++rows;
    if (answers[rows - 1] == codes::k_all_hits) return compared;
    player::candidate_count = player::filter_candidates(
        player::candidate_count, player::candidate_table.data(), rows, guesses, answers);
    if (player::candidate_count < 1 || rows > 12) {
      ADD_FAILURE() << context << ": " << player::candidate_count << " candidates after " << rows
                    << " truthful answers";
      return compared;
    }
    if (rows == 1) {
      guess = player::opening_guess(first, answers[0]);
      continue;
    }
    const Code fast = player::choose_guess(player::candidate_count, player::candidate_table.data());
    if (player::candidate_count >= 3) {
      const Code reference =
          player::choose_guess_reference(player::candidate_count, player::candidate_table.data());
      EXPECT_EQ(fast, reference) << context << ", guess " << rows + 1 << ", "
                                 << player::candidate_count << " candidates";
      ++compared;
    }
    guess = fast;
  }
}

TEST(Choice, FastMatchesReferenceAfterEveryFirstAnswer) {
  static const ScoreCode k_first_answers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15};
  static const Code k_first_guesses[] = {1234, 326, 9876};
  const unsigned seed = test_seed();
  std::mt19937 random(seed);
  const player::CandidateTable fresh = fresh_table();
  int compared = play_and_compare(326, 2604, "first guess 0326, secret 2604");
  for (Code first : k_first_guesses) {
    for (ScoreCode answer : k_first_answers) {
      std::vector<Code> secrets;
      for (Code code : fresh) {
        if (codes::score_guess(first, code) == answer) secrets.push_back(code);
      }
      const Code secret = secrets[random() % secrets.size()];
      compared +=
          play_and_compare(first, secret,
                           "seed " + std::to_string(seed) + ", first guess " +
                               std::to_string(first) + ", secret " + std::to_string(secret));
    }
  }
  EXPECT_GT(compared, 39) << "most games should reach a turn with 3 or more candidates";
}

TEST(Choice, FastMatchesReferenceInRandomGames) {
  const unsigned seed = test_seed();
  std::mt19937 random(seed);
  const player::CandidateTable fresh = fresh_table();
  const int games = k_sanitized ? 30 : 60;
  int compared = 0;
  for (int game = 0; game < games; ++game) {
    const Code first = fresh[random() % fresh.size()];
    const Code secret = fresh[random() % fresh.size()];
    compared += play_and_compare(first, secret,
                                 "seed " + std::to_string(seed) + ", game " + std::to_string(game) +
                                     ", first guess " + std::to_string(first) + ", secret " +
                                     std::to_string(secret));
  }
  EXPECT_GT(compared, games / 2) << "seed " << seed;
}

}  // namespace
