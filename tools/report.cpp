// hitblow-report: how many guesses the computer needs, measured exactly by playing its strategy
// with truthful answers against every code, for one first guess or for all 5040 of them.
//
//   hitblow-report 0123                 one first guess: distribution, average, worst codes
//   hitblow-report --all [--csv FILE]   every first guess: 25,401,600 games
//   --jobs N                            threads, one per core by default
//
// Exit status: 0 after a report, 1 when the report or the CSV file can't be written (a full
// disk, say; standard error says which), 2 for bad arguments, 3 when the walk met something
// truthful answers should never give (a contradiction, a code left unsolved); the report is
// printed all the same.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "console/console.h"
#include "strategy.h"

namespace {

using codes::Code;
using strategy::FirstGuessResult;

constexpr int k_bar_width = 50;      // characters of the longest bar in a chart
constexpr int k_listed_codes = 24;   // worst-case codes listed before "and N more"
constexpr int k_ranked_guesses = 5;  // best and worst first guesses shown by --all
constexpr int k_max_jobs = 64;       // --jobs above this is surely a typo

// The errno of the first write to standard output that failed, 0 while every one succeeded.
int g_output_error = 0;

// All of the report goes to standard output through here, which notes why the first failed
// write failed: some C libraries (Windows's) write each call out at once and keep no reason for
// the flush at the end to report.
__attribute__((format(printf, 1, 2))) void print(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  errno = 0;
  std::vprintf(format, arguments);
  va_end(arguments);
  if (g_output_error == 0 && std::ferror(stdout) != 0) g_output_error = errno != 0 ? errno : EIO;
}

void print_usage() {
  print(
      "usage: hitblow-report CODE [--jobs N]\n"
      "       hitblow-report --all [--csv FILE] [--jobs N]\n"
      "\n"
      "Plays the computer's strategy with truthful answers against all 5040 codes and\n"
      "counts the guesses it needs, the winning guess included.\n"
      "  CODE        the computer's first guess, four different digits (0123 or 123)\n"
      "  --all       every first guess in turn: 5040 x 5040 games\n"
      "  --csv FILE  with --all, also write one row per first guess to FILE\n"
      "  --jobs N    worker threads (default: one per core)\n");
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A code as the game shows it: four digits with leading zeros. Digits of the argument only;
// returns false for anything else, including valid-looking numbers that are not codes.
bool parse_code(const char* text, Code& code) {
  const std::size_t length = std::strlen(text);
  if (length == 0 || length > 4) return false;
  Code value = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (codes::is_valid_code(value) != 1) return false;
  code = value;
  return true;
}

bool parse_jobs(const char* text, int& jobs) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > k_max_jobs) return false;
  jobs = static_cast<int>(value);
  return true;
}

// The distribution as a table with a bar per row, from 1 guess to the worst case.
void print_distribution(const long* distribution, int worst, long games) {
  long largest = 1;
  for (int k = 1; k <= worst; ++k) largest = std::max(largest, distribution[k]);
  print("guesses %12s %8s\n", "games", "share");
  for (int k = 1; k <= worst; ++k) {
    const long n = distribution[k];
    // Round up, so that a count that is there at all shows at least one mark.
    const long marks = (n * k_bar_width + largest - 1) / largest;
    print("%7d %12ld %7.3f%%  %s\n", k, n, 100.0 * static_cast<double>(n) / games,
          std::string(static_cast<std::size_t>(marks), '#').c_str());
  }
  print("  total %12ld %7.3f%%\n", games, 100.0);
}

void print_codes(const std::vector<Code>& list) {
  const std::size_t shown = std::min(list.size(), static_cast<std::size_t>(k_listed_codes));
  for (std::size_t i = 0; i < shown; ++i) print("%s%04d", i % 12 == 0 ? "\n  " : " ", list[i]);
  if (list.size() > shown) print("\n  and %ld more", static_cast<long>(list.size() - shown));
  print("\n");
}

// Truthful answers should give none of these; if they do, say so loudly.
bool report_stats(const strategy::WalkStats& stats) {
  if (stats.empty_nodes == 0 && stats.miscounted_nodes == 0 && stats.unfinished_codes == 0) {
    return true;
  }
  std::fprintf(stderr,
               "hitblow-report: the walk met %ld empty and %ld miscounted histories and left %ld "
               "codes unsolved; the figures above are not the game's\n",
               stats.empty_nodes, stats.miscounted_nodes, stats.unfinished_codes);
  return false;
}

// One first guess, its subtrees (one per first answer) shared among `jobs` threads, largest
// first so that the last one a thread picks up is small.
FirstGuessResult play_one(Code first_guess, int jobs) {
  int sizes[codes::k_score_values] = {};
  for (Code code : strategy::fresh_table()) ++sizes[codes::score_guess(first_guess, code)];
  std::vector<codes::ScoreCode> answers;
  for (codes::ScoreCode answer = 0; answer < codes::k_score_values; ++answer) {
    if (sizes[answer] > 0) answers.push_back(answer);
  }
  std::stable_sort(answers.begin(), answers.end(),
                   [&](codes::ScoreCode a, codes::ScoreCode b) { return sizes[a] > sizes[b]; });

  std::vector<FirstGuessResult> parts(answers.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i = next++; i < answers.size(); i = next++) {
      parts[i] = strategy::play_first_answer(first_guess, answers[i]);
    }
  };
  std::vector<std::thread> workers;
  for (int j = 0; j < jobs; ++j) workers.emplace_back(work);
  for (std::thread& worker : workers) worker.join();

  FirstGuessResult whole;
  whole.first_guess = first_guess;
  for (const FirstGuessResult& part : parts) strategy::merge_result(whole, part);
  return whole;
}

int report_one(Code first_guess, int jobs) {
  const auto start = std::chrono::steady_clock::now();
  const FirstGuessResult result = play_one(first_guess, jobs);
  const double elapsed = seconds_since(start);

  print("First guess %04d against all %d codes, every answer true\n\n", first_guess,
        codes::k_code_count);
  print_distribution(result.distribution.data(), result.worst, result.solved_codes);
  print("\naverage %.4f guesses (%ld / %ld)\n",
        static_cast<double>(result.total_guesses) / static_cast<double>(result.solved_codes),
        result.total_guesses, result.solved_codes);
  std::vector<Code> worst_codes;
  for (Code code : strategy::fresh_table()) {
    if (result.guesses_for[static_cast<std::size_t>(code)] == result.worst) {
      worst_codes.push_back(code);
    }
  }
  print("worst case %d guesses, for %ld code%s:", result.worst,
        static_cast<long>(worst_codes.size()), worst_codes.size() == 1 ? "" : "s");
  print_codes(worst_codes);
  print("\n%ld histories thought through in %.3f s on %d thread%s\n", result.stats.nodes, elapsed,
        jobs, jobs == 1 ? "" : "s");
  return report_stats(result.stats) ? 0 : 3;
}

// What --all keeps of each first guess.
struct Summary : strategy::Tally {
  Code first_guess = 0;
  std::vector<Code> worst_codes;
};

Summary summarise(const FirstGuessResult& result) {
  Summary summary;
  static_cast<strategy::Tally&>(summary) = result;
  summary.first_guess = result.first_guess;
  for (Code code : strategy::fresh_table()) {
    if (result.guesses_for[static_cast<std::size_t>(code)] == result.worst) {
      summary.worst_codes.push_back(code);
    }
  }
  return summary;
}

// Redrawn in place on standard error; called only when it is a terminal.
void draw_progress(int done, int all, double elapsed) {
  const int marks = done * 40 / all;
  std::fprintf(stderr, "\r[%s%s] %4d/%d first guesses, %.0f s", std::string(marks, '#').c_str(),
               std::string(40 - marks, '.').c_str(), done, all, elapsed);
  std::fflush(stderr);
}

// Plays every first guess, `jobs` threads taking the next one as they finish; every walk has
// its own tables, so the threads share nothing but the counter and their separate slots.
std::vector<Summary> play_all(int jobs) {
  const player::CandidateTable& firsts = strategy::fresh_table();
  std::vector<Summary> summaries(firsts.size());
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  auto work = [&] {
    for (int i = next++; i < codes::k_code_count; i = next++) {
      summaries[static_cast<std::size_t>(i)] =
          summarise(strategy::play_every_code(firsts[static_cast<std::size_t>(i)]));
      ++done;
    }
  };
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (int j = 0; j < jobs; ++j) workers.emplace_back(work);

  if (console::is_interactive(stderr)) {
    for (int seen = -1; done < codes::k_code_count;) {
      if (done != seen) draw_progress(seen = done, codes::k_code_count, seconds_since(start));
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    draw_progress(codes::k_code_count, codes::k_code_count, seconds_since(start));
    std::fprintf(stderr, "\n");
  }
  for (std::thread& worker : workers) worker.join();
  return summaries;
}

bool write_csv(std::FILE* csv, const std::vector<Summary>& summaries, int worst) {
  std::fprintf(csv, "first_guess,games,total_guesses,average,worst,worst_codes");
  for (int k = 1; k <= worst; ++k) std::fprintf(csv, ",guesses_%d", k);
  std::fprintf(csv, "\n");
  for (const Summary& s : summaries) {
    std::fprintf(csv, "%04d,%ld,%ld,%.6f,%d,%zu", s.first_guess, s.solved_codes, s.total_guesses,
                 static_cast<double>(s.total_guesses) / static_cast<double>(s.solved_codes),
                 s.worst, s.worst_codes.size());
    for (int k = 1; k <= worst; ++k) std::fprintf(csv, ",%ld", s.distribution[k]);
    std::fprintf(csv, "\n");
  }
  return std::ferror(csv) == 0;
}

// Every first guess plays the same 5040 codes, so they are ranked by total guesses: exact
// integers rather than rounded averages. Ties keep table order, which is ascending.
void print_ranking(const std::vector<Summary>& summaries) {
  std::vector<const Summary*> ranked;
  for (const Summary& s : summaries) ranked.push_back(&s);
  std::stable_sort(ranked.begin(), ranked.end(), [](const Summary* a, const Summary* b) {
    return a->total_guesses < b->total_guesses;
  });
  const auto print_rows = [](const char* title, auto first, auto last) {
    print("%s:\n", title);
    for (auto it = first; it != last; ++it) {
      const Summary& s = **it;
      print("  %04d  average %.4f (%ld / %ld), worst %d\n", s.first_guess,
            static_cast<double>(s.total_guesses) / static_cast<double>(s.solved_codes),
            s.total_guesses, s.solved_codes, s.worst);
    }
  };
  const auto tied_with = [&](const Summary* end) {
    return std::count_if(ranked.begin(), ranked.end(), [end](const Summary* s) {
      return s->total_guesses == end->total_guesses;
    });
  };
  long distinct = 0;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    if (i == 0 || ranked[i]->total_guesses != ranked[i - 1]->total_guesses) ++distinct;
  }
  print("\n%ld first guesses, %ld distinct total%s\n", static_cast<long>(ranked.size()), distinct,
        distinct == 1 ? "" : "s");
  print_rows("best first guesses", ranked.begin(), ranked.begin() + k_ranked_guesses);
  print("  (%ld with the best total)\n", static_cast<long>(tied_with(ranked.front())));
  print_rows("worst first guesses", ranked.end() - k_ranked_guesses, ranked.end());
  print("  (%ld with the worst total)\n", static_cast<long>(tied_with(ranked.back())));
}

// The games that need the most guesses, anywhere, as first guess -> code.
void print_worst_games(const std::vector<Summary>& summaries, int worst) {
  std::vector<std::pair<Code, Code>> games;
  for (const Summary& s : summaries) {
    if (s.worst != worst) continue;
    for (Code code : s.worst_codes) games.emplace_back(s.first_guess, code);
  }
  print("\nworst case %d guesses, in %ld game%s (first guess -> code):", worst,
        static_cast<long>(games.size()), games.size() == 1 ? "" : "s");
  const std::size_t shown = std::min(games.size(), static_cast<std::size_t>(k_listed_codes));
  for (std::size_t i = 0; i < shown; ++i) {
    print("%s%04d->%04d", i % 6 == 0 ? "\n  " : "  ", games[i].first, games[i].second);
  }
  if (games.size() > shown) print("\n  and %ld more", static_cast<long>(games.size() - shown));
  print("\n");
}

int report_all(int jobs, const char* csv_path) {
  // Opened before the long run, so that a bad path fails at once.
  std::FILE* csv = nullptr;
  if (csv_path != nullptr && (csv = std::fopen(csv_path, "w")) == nullptr) {
    std::fprintf(stderr, "hitblow-report: can't write %s: %s\n", csv_path, std::strerror(errno));
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Summary> summaries = play_all(jobs);
  const double elapsed = seconds_since(start);

  strategy::Tally totals;
  for (const Summary& s : summaries) strategy::add_tally(totals, s);
  const long games = totals.solved_codes;

  print("Every first guess against every code: %ld games, every answer true\n\n", games);
  print_distribution(totals.distribution.data(), totals.worst, games);
  print(
      "\naverage %.4f guesses (%ld / %ld): what the computer needs on average, its first "
      "guess being random\n",
      static_cast<double>(totals.total_guesses) / static_cast<double>(games), totals.total_guesses,
      games);
  print_ranking(summaries);
  print_worst_games(summaries, totals.worst);
  print("\n%ld histories thought through in %.1f s on %d thread%s\n", totals.stats.nodes, elapsed,
        jobs, jobs == 1 ? "" : "s");

  int status = report_stats(totals.stats) ? 0 : 3;
  if (csv != nullptr) {
    const bool written = write_csv(csv, summaries, totals.worst);
    if (std::fclose(csv) != 0 || !written) {
      std::fprintf(stderr, "hitblow-report: can't write %s\n", csv_path);
      if (status == 0) status = 1;
    }
  }
  return status;
}

int bad_arguments(const char* why) {
  std::fprintf(stderr, "hitblow-report: %s\n", why);
  std::fprintf(stderr, "run hitblow-report with no arguments for its usage\n");
  return 2;
}

// The report goes to standard output in blocks; one last flush tells whether all of it got
// there. A report that was lost turns a clean status into 1, like a CSV file that was.
int finish_output(int status) {
  errno = 0;
  std::fflush(stdout);
  if (std::ferror(stdout) == 0) return status;
  if (g_output_error == 0) g_output_error = errno != 0 ? errno : EIO;
  std::fprintf(stderr, "hitblow-report: cannot write to standard output: %s\n",
               std::strerror(g_output_error));
  return status == 0 ? 1 : status;
}

int run_report(int argc, char** argv) {
  if (argc < 2) {
    print_usage();
    return 2;
  }
  bool all = false;
  const char* csv_path = nullptr;
  int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  Code first_guess = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      print_usage();
      return 0;
    }
    if (argument == "--all") {
      all = true;
    } else if (argument == "--csv" || argument == "--jobs") {
      if (i + 1 == argc) return bad_arguments((argument + " needs a value").c_str());
      const char* value = argv[++i];
      if (argument == "--csv") {
        csv_path = value;
      } else if (!parse_jobs(value, jobs)) {
        return bad_arguments("--jobs takes a number of threads from 1 to 64");
      }
    } else if (argument[0] == '-') {
      return bad_arguments(("unknown option " + argument).c_str());
    } else if (first_guess >= 0) {
      return bad_arguments("give one first guess, or --all");
    } else if (!parse_code(argv[i], first_guess)) {
      return bad_arguments(
          ("not a code: " + argument + " (four different digits, 0123 to 9876)").c_str());
    }
  }
  if (all && first_guess >= 0) return bad_arguments("give one first guess or --all, not both");
  if (!all && first_guess < 0) return bad_arguments("give a first guess or --all");
  if (!all && csv_path != nullptr) return bad_arguments("--csv goes with --all");
  return all ? report_all(jobs, csv_path) : report_one(first_guess, jobs);
}

}  // namespace

int main(int argc, char** argv) { return finish_output(run_report(argc, argv)); }
