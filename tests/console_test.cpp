// Console text's streams: line reading, numbers and the pause.
#include "console/console.h"

#include <gtest/gtest.h>

#include <string>

#include "console_session.h"

namespace {

using testing_support::ConsoleSession;

// Reads every line of `input` and joins them with "|" (so line ends are visible).
std::string lines_of(const std::string& input) {
  ConsoleSession session(input);
  std::string joined;
  console::Line line;
  while (console::input_line(line)) joined += std::string(line.text) + "|";
  return joined;
}

TEST(Console, InputLines) {
  static const struct {
    std::string input, want;
    const char* why;
  } cases[] = {
      {"", "", "no input: no line"},
      {"abc\n", "abc|", "line feed ends the line and is not kept"},
      {"abc", "abc|", "a last line without line feed is a line"},
      {"\n\n", "||", "empty lines"},
      {"a\r\nb\rc\n", "a|bc|", "CR bytes are dropped anywhere"},
      {"ab\x1A" "cd\nef\n", "ab|", "0x1A ends the input for good"},
      {"\x1A" "abc\n", "", "0x1A first: no line at all"},
      {std::string("a\0b\n", 4), "a|", "a NUL byte is kept; the text ends there"},
  };
  for (const auto& c : cases) EXPECT_EQ(lines_of(c.input), c.want) << c.why;
}

TEST(Console, LongLineKeeps511BytesAndNeverSpills) {
  const std::string long_line(100000, 'x');
  ConsoleSession session(long_line + "\nnext\n");
  console::Line line;
  ASSERT_TRUE(console::input_line(line));
  EXPECT_EQ(std::string(line.text), std::string(511, 'x'));
  ASSERT_TRUE(console::input_line(line));
  EXPECT_STREQ(line.text, "next");
  EXPECT_FALSE(console::input_line(line));
}

TEST(Console, EndOfInputLeavesBufferAndStays) {
  ConsoleSession session("only");
  console::Line line;
  ASSERT_TRUE(console::input_line(line));
  EXPECT_FALSE(console::input_line(line));
  EXPECT_STREQ(line.text, "only");
  EXPECT_FALSE(console::input_line(line));
}

TEST(Console, ReadDecimal) {
  static const struct {
    const char* text;
    std::int32_t want;
  } cases[] = {
      {"1234", 1234},          {"  \t\n\v\f\r42x", 42},   {"+7", 7},
      {"-1", -1},              {"", 0},                   {"abc", 0},
      {"- 5", 0},              {"+-5", 0},                {"0123", 123},
      {"4294968530", 1234},    {"2147483647", INT32_MAX}, {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN}, {"99999999999", 1215752191}, {"\xA0" "5", 0},
      {"12 34", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(console::read_decimal(c.text), c.want) << c.text;
}

TEST(Console, PauseTakesOneLine) {
  ConsoleSession session("first\nsecond\n");
  console::pause_for_return();
  EXPECT_EQ(session.output(), "\n--(Hit return key)--\n");
  console::Line line;
  ASSERT_TRUE(console::input_line(line));
  EXPECT_STREQ(line.text, "second");
}

TEST(Console, PauseReturnsAtEndOfInput) {
  ConsoleSession session("");
  console::pause_for_return();
  console::pause_for_return();
  EXPECT_EQ(session.output(), "\n--(Hit return key)--\n\n--(Hit return key)--\n");
}

}  // namespace
