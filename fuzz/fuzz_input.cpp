// Fuzz target: the console's line reader and the number scanners, on arbitrary bytes as
// standard input. The lines read are checked against a plain split of the same bytes, every
// line's numbers against the C library's strtoll, and parse_answer against the first line
// that scan_answer can read.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/messages.h"
#include "fuzz_support.h"
#include "game/turn_loop.h"

namespace {

constexpr int k_end_of_text = 0x1A;

// The lines a text-mode reader must see: CR bytes vanish, 0x1A ends everything, a line feed
// ends a line, and only a line's first 511 bytes are kept. A last line without a line feed
// counts when it holds any byte other than CR.
std::vector<std::string> expected_lines(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (std::size_t i = 0; i < size && data[i] != k_end_of_text; ++i) {
    if (data[i] == '\r') continue;
    if (data[i] == '\n') {
      lines.push_back(line);
      line.clear();
      pending = false;
      continue;
    }
    pending = true;
    if (line.size() < console::k_line_bytes - 1) line.push_back(static_cast<char>(data[i]));
  }
  if (pending) lines.push_back(line);
  return lines;
}

bool is_blank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

// The number of digits in the number read_decimal would read from `text`.
int digit_count(const char* text) {
  while (is_blank(*text)) ++text;
  if (*text == '+' || *text == '-') ++text;
  int digits = 0;
  while (text[digits] >= '0' && text[digits] <= '9') ++digits;
  return digits;
}

// read_decimal must agree with strtoll reduced modulo 2^32 wherever strtoll is exact.
void check_read_decimal(const char* text) {
  const std::int32_t value = console::read_decimal(text);
  if (digit_count(text) > 18) return;
  const long long exact = std::strtoll(text, nullptr, 10);
  const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(exact));
  FUZZ_CHECK(value == wrapped, "read_decimal(\"%s\") = %d, strtoll says %lld", text, value, exact);
}

// A number as scan_answer reads it, by strtoll: nothing when there are no digits, or when the
// value is too large for the comparison to mean anything without modular arithmetic.
struct Scanned {
  bool read;
  bool small;
  long long value;
  const char* end;
};
Scanned scan_with_strtoll(const char* text) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  const bool small = errno == 0 && value > -100000000 && value < 100000000;
  return {end != text, small, value, end};
}

// An independent reading of an answer line, valid when every number in it is small.
std::optional<long long> reference_answer(const char* line, bool& small) {
  small = true;
  if (line[0] == 'x' || line[0] == 'X') return 0;
  const Scanned hits = scan_with_strtoll(line);
  if (!hits.read) return std::nullopt;
  small = hits.small;
  const char* p = hits.end;
  while (*p == 'h' || *p == 'H') ++p;
  const Scanned blows = scan_with_strtoll(p);
  if (blows.read) small = small && blows.small;
  if (!small) return std::nullopt;  // the caller ignores the result
  if (blows.read) return 5 * hits.value + blows.value;
  if (line[1] == 'h' || line[1] == 'H') return 5 * hits.value;
  if (line[1] == 'b' || line[1] == 'B') return hits.value;
  return std::nullopt;
}

void check_scan_answer(const char* line) {
  const std::optional<game::ScoreCode> answer = game::scan_answer(line);
  bool small = true;
  const std::optional<long long> want = reference_answer(line, small);
  if (!small) return;
  FUZZ_CHECK(answer.has_value() == want.has_value(), "scan_answer(\"%s\") %s a value", line,
             answer ? "gives" : "does not give");
  if (answer)
    FUZZ_CHECK(*answer == *want, "scan_answer(\"%s\") = %d, want %lld", line, *answer, *want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  console::reset_message_table();
  const std::vector<std::string> want = expected_lines(data, size);

  // Every line, in order, then nothing more however often it is asked.
  std::optional<game::ScoreCode> first_answer;
  {
    fuzz_support::MemoryInput input(data, size);
    console::use_streams(input.file(), fuzz_support::null_output());
    console::Line line;
    std::size_t count = 0;
    while (console::input_line(line)) {
      FUZZ_CHECK(count < want.size(), "line %zu read beyond the %zu lines", count, want.size());
      const std::string& expected = want[count];
      FUZZ_CHECK(std::memcmp(line.text, expected.data(), expected.size()) == 0 &&
                     line.text[expected.size()] == '\0',
                 "line %zu differs", count);
      check_read_decimal(line.text);
      check_scan_answer(line.text);
      const std::optional<game::ScoreCode> answer = game::scan_answer(line.text);
      if (!first_answer && answer && *answer >= 0) first_answer = answer;
      ++count;
    }
    FUZZ_CHECK(count == want.size(), "%zu lines read, %zu expected", count, want.size());
    FUZZ_CHECK(!console::input_line(line), "a line after the end of input");
    console::pause_for_return();  // must return at once at end of input
  }

  // parse_answer reads until the first usable answer and stops there.
  {
    fuzz_support::MemoryInput input(data, size);
    console::use_streams(input.file(), fuzz_support::null_output());
    const std::optional<game::ScoreCode> answer = game::parse_answer();
    FUZZ_CHECK(answer == first_answer, "parse_answer gives %d, the first usable line %d",
               answer.value_or(-1), first_answer.value_or(-1));
    console::pause_for_return();
  }
  console::use_streams(nullptr, nullptr);
  return 0;
}
