// Hostile input found by fuzzing: message-file directives that the C library leaves undefined
// must be refused like any other unsafe directive, and their defined neighbours kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "console/console.h"
#include "console_session.h"
#include "scratch.h"

namespace {

using testing_support::ConsoleSession;

TEST(CheckFormat, FlagsTheLibraryLeavesUndefinedAreRefused) {
  static const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {"%#d", "'#' is defined for o x X only"},
      {"%#i", "'#' is defined for o x X only"},
      {"%#u", "'#' is defined for o x X only"},
      {"%#c", "'#' is defined for o x X only"},
      {"%-#8d", "'#' among other flags"},
      {"%05c", "'0' is not defined for c"},
      {"%-0c", "'0' among other flags"},
      {"%.3c", "a precision is not defined for c"},
      {"%5.c", "an empty precision is still a precision"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(console::check_format(c.text, 1), nullptr) << c.text << ": " << c.why;
  }
}

TEST(CheckFormat, DefinedNeighboursAreKept) {
  static const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {"%#o", "'#' on o"},
      {"%#x", "'#' on x"},
      {"%#X", "'#' on X"},
      {"%05d", "'0' on d"},
      {"%.3u", "precision on u"},
      {"%-5c", "width on c"},
      {"%+ c", "'+' and ' ' have no effect on c"},
      {"%#08.3x", "all of them on x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(console::check_format(c.text, 1), nullptr) << c.text << ": " << c.why;
  }
}

TEST(CheckFormat, OffsetPointsAtTheUndefinedDirective) {
  int offset = -1;
  EXPECT_NE(console::check_format("ok %d then %#d", 2, &offset), nullptr);
  EXPECT_EQ(offset, 11);
}

TEST(MessageFile, UndefinedDirectiveRefusesTheFile) {
  ConsoleSession session("");
  const std::string before = console::message_table[1].data();
  const std::string path = testing_support::Scratch::path("hostile.txt");
  std::FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("zero\nleft: %#d\n", file);
  std::fclose(file);
  const std::optional<int> status =
      session.run([&] { console::load_message_file(path.c_str()); });
  EXPECT_EQ(status, -1);
  EXPECT_EQ(session.output().rfind("Message file \"" + path + "\", line 2: ", 0), 0u)
      << session.output();
  EXPECT_EQ(std::string(console::message_table[1].data()), before) << "the table is unchanged";
}

}  // namespace
