// The strategy report's tree walk: every code's guesses must be those of a whole game played with
// the game's own turn, and truthful answers must never lead the computer into a contradiction.
#include "strategy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codes/codes.h"
#include "console_session.h"
#include "player/player.h"
#include "test_random.h"

namespace {

using codes::Code;
using codes::ScoreCode;

using testing_support::k_sanitized;
using testing_support::test_seed;

std::string show(const std::vector<Code>& guesses) {
  std::string text;
  for (Code guess : guesses) {
    char code[16];
    std::snprintf(code, sizeof code, " %04d", guess);
    text += code;
  }
  return text.empty() ? text : text.substr(1);
}

// One whole game as the turn loop drives it: the computer's guesses at `code`, every answer
// true, each later guess from next_guess on the global table. Empty if the game didn't end
// within the history's 100 rows; the session catches a contradiction dialog's end.
std::vector<Code> play_whole_game(testing_support::ConsoleSession& session, Code first_guess,
                                  Code code) {
  std::vector<Code> played;
  const auto ended = session.run([&] {
    player::reset_candidates();
    Code guesses[strategy::k_max_guesses];
    ScoreCode answers[strategy::k_max_guesses];
    guesses[0] = first_guess;
    for (int rows = 1; rows <= strategy::k_max_guesses; ++rows) {
      answers[rows - 1] = codes::score_guess(guesses[rows - 1], code);
      if (answers[rows - 1] == codes::k_all_hits) {
        played.assign(guesses, guesses + rows);
        return;
      }
      if (rows == strategy::k_max_guesses) return;
      guesses[rows] = player::next_guess(guesses, answers, rows);
    }
  });
  EXPECT_FALSE(ended.has_value()) << "first guess " << first_guess << ", code " << code
                                  << ": the game ended the program (status " << ended.value_or(0)
                                  << ")";
  return played;
}

// Under sanitizers a whole walk takes several seconds, so there the tests walk only the
// subtrees of these first answers: 780 of the 5040 codes, whatever the first guess, down to
// the same depths as the rest.
constexpr ScoreCode k_light_answers[] = {3, 4, 7, 8, 10, 11, 12, 15, 20};

// What the walk did for one first guess: its result and each code's guesses, by code value,
// and which codes it was meant to play.
struct Walked {
  strategy::FirstGuessResult result;
  std::vector<std::vector<Code>> games = std::vector<std::vector<Code>>(strategy::k_code_values);
  std::vector<Code> played;  // ascending
};

strategy::SolvedHook collect_into(Walked& walked) {
  return [&walked](Code code, const Code* guesses, int count) {
    std::vector<Code>& game = walked.games[static_cast<std::size_t>(code)];
    EXPECT_TRUE(game.empty()) << "code " << code << " solved twice";
    game.assign(guesses, guesses + count);
  };
}

// The walk of one first guess, over every code or (sanitized) the light subtrees; walked once
// per test binary.
const Walked& walk(Code first_guess) {
  static std::vector<std::unique_ptr<Walked>> cache;
  for (const auto& walked : cache) {
    if (walked->result.first_guess == first_guess) return *walked;
  }
  auto walked = std::make_unique<Walked>();
  if (!k_sanitized) {
    walked->result = strategy::play_every_code(first_guess, collect_into(*walked));
    walked->played.assign(strategy::fresh_table().begin(), strategy::fresh_table().end());
  } else {
    walked->result.first_guess = first_guess;
    for (ScoreCode answer : k_light_answers) {
      strategy::merge_result(
          walked->result, strategy::play_first_answer(first_guess, answer, collect_into(*walked)));
    }
    for (Code code : strategy::fresh_table()) {
      const ScoreCode answer = codes::score_guess(first_guess, code);
      if (std::find(std::begin(k_light_answers), std::end(k_light_answers), answer) !=
          std::end(k_light_answers)) {
        walked->played.push_back(code);
      }
    }
  }
  cache.push_back(std::move(walked));
  return *cache.back();
}

// Whole games and the walk agree, guess for guess, on `codes_to_play`.
void expect_walk_matches_games(const Walked& walked, const std::vector<Code>& codes_to_play) {
  const Code first_guess = walked.result.first_guess;
  testing_support::ConsoleSession session("");
  int mismatches = 0;
  for (Code code : codes_to_play) {
    const std::vector<Code> game = play_whole_game(session, first_guess, code);
    const std::vector<Code>& walk_game = walked.games[static_cast<std::size_t>(code)];
    EXPECT_EQ(show(walk_game), show(game)) << "first guess " << first_guess << ", code " << code;
    EXPECT_EQ(walked.result.guesses_for[static_cast<std::size_t>(code)], game.size())
        << "first guess " << first_guess << ", code " << code;
    if (walk_game != game && ++mismatches >= 5) {
      ADD_FAILURE() << "first guess " << first_guess << ": stopping after 5 mismatches";
      return;
    }
  }
}

Code random_first_guess(std::mt19937& random) {
  std::uniform_int_distribution<std::size_t> any(0, codes::k_code_count - 1);
  return strategy::fresh_table()[any(random)];
}

TEST(StrategyWalk, StartsFromTheGamesTable) {
  player::reset_candidates();
  player::build_candidates();
  EXPECT_TRUE(strategy::fresh_table() == player::candidate_table)
      << "the walk's first table differs from the one the game builds";
  player::reset_candidates();
}

// Whole games with the answers a user holding the code gives; the walk must say the same
// guesses. Each case walks only the subtree of its code's first answer.
TEST(StrategyWalk, KnownGames) {
  static const struct {
    Code first_guess, code;
    std::vector<Code> guesses;
    const char* why;
  } cases[] = {
      {123, 9876, {123, 4567, 9875, 9876}, "three left, in the filter's exchange order"},
      {1234, 5079, {1234, 567, 5678, 5709, 5079}, "a non-candidate guess on five left"},
      {1234, 4321, {1234, 2140, 312, 4321}, "book guess and fourth guess both eliminated codes"},
      {1234, 1243, {1234, 1320, 1243}, "two left: the first in table order"},
      {1234, 1234, {1234}, "the first guess is the code"},
  };
  for (const auto& c : cases) {
    Walked walked;
    walked.result = strategy::play_first_answer(
        c.first_guess, codes::score_guess(c.first_guess, c.code), collect_into(walked));
    EXPECT_EQ(show(walked.games[static_cast<std::size_t>(c.code)]), show(c.guesses))
        << "first guess " << c.first_guess << ", code " << c.code << ": " << c.why;
  }
}

// The walk against whole games played one by one with next_guess, on random codes. A whole game
// takes about 2 ms in an optimised build; HITBLOW_TEST_ALL_CODES=1 adds every code of the
// random first guess (about 12 s).
TEST(StrategyWalk, MatchesWholeGames) {
  std::mt19937 random(test_seed());
  std::vector<Code> first_guesses = {123, 9876, random_first_guess(random)};
  if (k_sanitized) first_guesses.erase(first_guesses.begin() + 1);
  const std::size_t sample = k_sanitized ? 10 : 100;
  for (Code first_guess : first_guesses) {
    const Walked& walked = walk(first_guess);
    std::vector<Code> sampled = walked.played;
    std::shuffle(sampled.begin(), sampled.end(), random);
    sampled.resize(std::min(sample, sampled.size()));
    expect_walk_matches_games(walked, sampled);
  }
  if (std::getenv("HITBLOW_TEST_ALL_CODES") != nullptr) {
    const Walked& walked = walk(first_guesses.back());
    std::printf("every code against first guess %04d\n", walked.result.first_guess);
    expect_walk_matches_games(walked, walked.played);
  }
}

// Playing the subtrees of the first answers one by one and merging them gives the whole walk.
TEST(StrategyWalk, SubtreesMakeTheWhole) {
  if (k_sanitized) GTEST_SKIP() << "needs whole walks, too slow under sanitizers";
  const strategy::FirstGuessResult& whole = walk(9876).result;
  strategy::FirstGuessResult merged;
  merged.first_guess = 9876;
  for (ScoreCode answer = 0; answer <= codes::k_all_hits; ++answer) {
    strategy::merge_result(merged, strategy::play_first_answer(9876, answer));
  }
  EXPECT_TRUE(merged.guesses_for == whole.guesses_for);
  EXPECT_TRUE(merged.distribution == whole.distribution);
  EXPECT_EQ(merged.solved_codes, whole.solved_codes);
  EXPECT_EQ(merged.total_guesses, whole.total_guesses);
  EXPECT_EQ(merged.worst, whole.worst);
  EXPECT_EQ(merged.stats.nodes, whole.stats.nodes);
}

// Truthful answers never contradict each other, so the computer never runs out of candidates,
// and every code is found, once, by a last guess answered with four hits.
TEST(StrategyWalk, TruthfulAnswersAlwaysFinish) {
  std::mt19937 random(test_seed());
  std::vector<Code> first_guesses = {123, random_first_guess(random)};
  if (!k_sanitized) first_guesses.insert(first_guesses.end(), {9876, 1234});
  for (Code first_guess : first_guesses) {
    const Walked& walked = walk(first_guess);
    const strategy::FirstGuessResult& result = walked.result;
    const strategy::WalkStats& stats = result.stats;
    EXPECT_EQ(stats.empty_nodes, 0) << first_guess << ": histories with no candidate";
    EXPECT_EQ(stats.miscounted_nodes, 0) << first_guess << ": candidates and codes disagree";
    EXPECT_EQ(stats.unfinished_codes, 0) << first_guess << ": codes never found";
    EXPECT_EQ(result.solved_codes, static_cast<long>(walked.played.size())) << first_guess;

    long total = 0;
    int worst = 0;
    std::vector<long> distribution(strategy::k_max_guesses + 1);
    for (Code value = 0; value < strategy::k_code_values; ++value) {
      const std::vector<Code>& game = walked.games[static_cast<std::size_t>(value)];
      const int needed = result.guesses_for[static_cast<std::size_t>(value)];
      if (!std::binary_search(walked.played.begin(), walked.played.end(), value)) {
        EXPECT_TRUE(game.empty() && needed == 0) << first_guess << ": " << value << " not played";
        continue;
      }
      ASSERT_FALSE(game.empty()) << first_guess << ": code " << value << " never found";
      EXPECT_EQ(static_cast<int>(game.size()), needed) << first_guess << ", code " << value;
      EXPECT_EQ(game.front(), first_guess) << first_guess << ", code " << value;
      for (std::size_t i = 0; i < game.size(); ++i) {
        const bool last = i + 1 == game.size();
        EXPECT_EQ(codes::score_guess(game[i], value) == codes::k_all_hits, last)
            << first_guess << ", code " << value << ": guess " << i + 1 << " of " << show(game);
      }
      total += needed;
      worst = std::max(worst, needed);
      ++distribution[static_cast<std::size_t>(needed)];
    }
    EXPECT_EQ(result.total_guesses, total) << first_guess;
    EXPECT_EQ(result.worst, worst) << first_guess;
    EXPECT_TRUE(std::equal(distribution.begin(), distribution.end(), result.distribution.begin()))
        << first_guess << ": distribution differs from the codes' counts";
  }
}

}  // namespace
