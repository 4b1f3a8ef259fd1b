// The message table: message files, the format check, and the -sjis and -quiet rewrites.
#include "console/messages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "console_session.h"
#include "scratch.h"

namespace {

using testing_support::ConsoleSession;

// A message file in the test's temporary folder.
std::string message_file(const std::string& name, const std::string& bytes) {
  // Not the bare name: "nul" and the like are devices on Windows.
  const std::string path = testing_support::Scratch::path("hitblow_" + name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string slot(int n) { return console::message_table[n].data(); }

TEST(Messages, LinesFillSlotsInOrder) {
  ConsoleSession session("");
  const std::string original2 = slot(2);
  EXPECT_EQ(console::load_message_file(message_file("two", "hello\r\nworld").c_str()), 2);
  EXPECT_EQ(slot(0), "hello\n");
  EXPECT_EQ(slot(1), "world");
  EXPECT_EQ(slot(2), original2) << "slots past the file's lines stay as they were";
  EXPECT_EQ(session.output(), "");
}

TEST(Messages, EmptyFileChangesNothing) {
  ConsoleSession session("");
  const std::string original0 = slot(0);
  EXPECT_EQ(console::load_message_file(message_file("empty", "").c_str()), 0);
  EXPECT_EQ(slot(0), original0);
}

TEST(Messages, StopsAfterFortyTwoSlots) {
  ConsoleSession session("");
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line " + std::to_string(i) + "\n";
  EXPECT_EQ(console::load_message_file(message_file("fifty", text).c_str()), 42);
  EXPECT_EQ(slot(41), "line 41\n");
}

TEST(Messages, LongLineSpillsIntoTheNextSlot) {
  ConsoleSession session("");
  const std::string file = std::string(300, 'a') + "\n" + std::string(254, 'b') + "\nend\n";
  EXPECT_EQ(console::load_message_file(message_file("long", file).c_str()), 5);
  EXPECT_EQ(slot(0), std::string(254, 'a'));
  EXPECT_EQ(slot(1), std::string(46, 'a') + "\n");
  EXPECT_EQ(slot(2), std::string(254, 'b'));
  EXPECT_EQ(slot(3), "\n") << "a line of exactly 254 bytes leaves its line feed alone";
  EXPECT_EQ(slot(4), "end\n");
}

TEST(Messages, SecondFileStartsAgainAtSlotZero) {
  ConsoleSession session("");
  console::load_message_file(message_file("first", "a\nb\nc\n").c_str());
  console::load_message_file(message_file("second", "z\n").c_str());
  EXPECT_EQ(slot(0), "z\n");
  EXPECT_EQ(slot(1), "b\n");
  EXPECT_EQ(slot(2), "c\n");
}

TEST(Messages, TextModeAndNulBytes) {
  ConsoleSession session("");
  const std::string file = std::string("a\0b\nc\032d\n", 8);  // \032 is 0x1A
  EXPECT_EQ(console::load_message_file(message_file("nul", file).c_str()), 2);
  EXPECT_EQ(slot(0), "a") << "the slot keeps the text up to the NUL";
  EXPECT_EQ(slot(1), "c") << "0x1A ends the file";
}

// A Windows console converts each slot from its character set: UTF-8 for a file that is
// well-formed UTF-8 from its first byte to the last one read, Shift-JIS for any other file.
TEST(Messages, SlotsTakeTheCharacterSetOfTheirFile) {
  using console::Encoding;
  static const struct {
    std::string file;
    Encoding want;
    const char* why;
  } cases[] = {
      {"hello\n", Encoding::utf8, "ASCII is UTF-8"},
      {"\xE3\x81\x9D\xE3\x81\xA3\n", Encoding::utf8, "Japanese in UTF-8"},
      {"\xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF\n", Encoding::utf8, "four bytes, up to U+10FFFF"},
      {std::string(253, 'a') + "\xC3\xA9\n", Encoding::utf8, "a character split over two slots"},
      {"\x82\xBB\x82\xC1\n", Encoding::shift_jis, "Shift-JIS"},
      {"ok\n\x82\xBB\n", Encoding::shift_jis, "one line in Shift-JIS decides for the file"},
      {"\xC0\x80\n", Encoding::shift_jis, "overlong NUL"},
      {"\xE0\x9F\xBF\n", Encoding::shift_jis, "overlong three bytes"},
      {"\xED\xA0\x80\n", Encoding::shift_jis, "a surrogate"},
      {"\xF4\x90\x80\x80\n", Encoding::shift_jis, "above U+10FFFF"},
      {"\xF5\x80\x80\x80\n", Encoding::shift_jis, "no such lead byte"},
      {"ok \xE3\x81", Encoding::shift_jis, "a character cut by the end of the file"},
      {"ok \xE3\x1A\x81\x9D", Encoding::shift_jis, "a character cut by 0x1A"},
      {"\xE3\x81\n", Encoding::shift_jis, "a line feed inside a character"},
  };
  for (const auto& c : cases) {
    ConsoleSession session("");
    console::load_message_file(message_file("charset", c.file).c_str());
    EXPECT_EQ(console::slot_encoding(0), c.want) << c.why;
    EXPECT_EQ(console::slot_encoding(5), Encoding::shift_jis) << c.why << ": slot 5 is built in";
  }
  ConsoleSession session("");
  console::reset_message_table(Encoding::utf8);
  console::load_message_file(message_file("sjis", "\x82\xBB\n").c_str());
  EXPECT_EQ(console::slot_encoding(0), Encoding::shift_jis) << "the file's, not the table's";
  EXPECT_EQ(console::slot_encoding(1), Encoding::utf8) << "built-in texts in UTF-8";
}

TEST(Messages, SafeConversionsAreAccepted) {
  ConsoleSession session("");
  // Slot 0 takes no number, slot 1 one, slot 6 two, slot 12 four.
  std::string file = "100%% sure\n";
  file += "%+5.3d left\n";
  for (int i = 2; i < 6; ++i) file += "\n";
  file += "%x %c\n";
  for (int i = 7; i < 12; ++i) file += "\n";
  file += "%d %i %o %X\n";
  EXPECT_EQ(console::load_message_file(message_file("safe", file).c_str()), 13);
  console::print_slot(0);
  console::print_slot(1, 7);
  console::print_slot(6, 255, 65);
  console::print_slot(12, 1, 2, 8, 255);
  EXPECT_EQ(session.output(), "100% sure\n +007 left\nff A\n1 2 10 FF\n");
}

TEST(Messages, UnsafeConversionsRefuseTheFile) {
  static const struct {
    int slot;
    const char* line;
    const char* why;
  } cases[] = {
      {1, "%s", "strings would read a number as a pointer"},
      {1, "%n", "%n writes to memory"},
      {1, "%*d", "a width from the arguments"},
      {1, "%.*d", "a precision from the arguments"},
      {1, "%1$d", "positional arguments"},
      {1, "%ld", "length modifiers"},
      {1, "%hhd", "length modifiers"},
      {1, "%f", "floating point"},
      {1, "%p", "pointers"},
      {1, "100%", "a lone % at the end"},
      {1, "%d %d", "more conversions than slot 1's one number"},
      {0, "%d", "slot 0 takes no number"},
      {19, "%d%d", "slot 19 takes one number"},
      {1, "%1234d", "a width of four digits"},
      {1, "%.9999d", "a precision of four digits"},
      {1, "%99999d", "a huge width"},
      // What the C library leaves undefined, found by fuzzing.
      {1, "%#d", "'#' is defined for o x X only"},
      {1, "%#i", "'#' is defined for o x X only"},
      {1, "%#u", "'#' is defined for o x X only"},
      {1, "%#c", "'#' is defined for o x X only"},
      {1, "%-#8d", "'#' among other flags"},
      {1, "%05c", "'0' is not defined for c"},
      {1, "%-0c", "'0' among other flags"},
      {1, "%.3c", "a precision is not defined for c"},
      {1, "%5.c", "an empty precision is still a precision"},
  };
  for (const auto& c : cases) {
    ConsoleSession session("");
    std::string file;
    for (int i = 0; i < c.slot; ++i) file += "ok\n";
    file += std::string(c.line) + "\n";
    const std::string before = slot(c.slot);
    const std::string path = message_file("bad", file);
    const std::optional<int> status =
        session.run([&] { console::load_message_file(path.c_str()); });
    EXPECT_EQ(status, -1) << c.line << ": " << c.why;
    const std::string output = session.output();
    const std::string where =
        "Message file \"" + path + "\", line " + std::to_string(c.slot + 1) + ": ";
    EXPECT_EQ(output.rfind(where, 0), 0u) << c.line << ": " << output;
    EXPECT_NE(output.find("\n--(Hit return key)--\n"), std::string::npos) << c.line;
    EXPECT_EQ(slot(c.slot), before) << c.line << ": a refused file changes nothing";
    EXPECT_EQ(slot(0), std::string(console::message_table[0].data())) << c.line;
  }
}

TEST(Messages, LineNumberCountsFileLinesNotSlots) {
  ConsoleSession session("");
  // The first line spills over two slots, so the bad conversion is in slot 2 but on line 2.
  const std::string path = message_file("spill", std::string(300, 'a') + "\n%s\n");
  EXPECT_EQ(session.run([&] { console::load_message_file(path.c_str()); }), -1);
  EXPECT_EQ(session.output().rfind("Message file \"" + path + "\", line 2: ", 0), 0u)
      << session.output();
}

TEST(Messages, UnreadableFileEndsTheRun) {
  // A directory opens but can't be read; a catalogue name that no catalogue folder holds is
  // reported as given.
  for (const std::string& path :
       {std::string("/nonexistent/hitblow.txt"), ::testing::TempDir(), std::string("no-such_1")}) {
    ConsoleSession session("");
    EXPECT_EQ(session.run([&] { console::load_message_file(path.c_str()); }), -1) << path;
    EXPECT_EQ(session.output(),
              "Cannot open message file \"" + path + "\"\n\n--(Hit return key)--\n")
        << path;
  }
}

TEST(Messages, BuiltInTextsAreSafeFormats) {
  console::reset_message_table();
  for (int n = 0; n < console::k_slot_count; ++n) {
    EXPECT_EQ(console::check_format(slot(n).c_str(), console::slot_argument_count(n)), nullptr)
        << "slot " << n;
    EXPECT_EQ(slot(n).find('\\'), std::string::npos) << "slot " << n;
  }
  EXPECT_EQ(console::slot_argument_count(12), 4);
  EXPECT_EQ(console::slot_argument_count(19), 1);
}

TEST(Messages, DoubleBackslashesEchoes) {
  ConsoleSession session("");
  console::load_message_file(message_file("bs", "a\\b\n\\\\\n").c_str());
  console::double_backslashes();
  EXPECT_EQ(slot(0), "a\\\\b\n");
  EXPECT_EQ(slot(1), "\\\\\\\\\n");
  const std::string output = session.output();
  EXPECT_EQ(output.rfind("a\\\\b\n\n\\\\\\\\\n\n", 0), 0u) << "each slot, then one line feed";
}

TEST(Messages, DoubleBackslashesCutAt254BytesWithoutBreakingADirective) {
  static const struct {
    std::string line;
    std::string want;
    const char* why;
  } cases[] = {
      {std::string(200, '\\'), std::string(254, '\\'), "cut at 254 bytes"},
      {std::string(126, '\\') + "abc%d", std::string(252, '\\') + "ab", "cut before %d"},
      {std::string(126, '\\') + "ab%%", std::string(252, '\\') + "ab", "half of %% dropped"},
      {std::string(125, '\\') + "ab%04d", std::string(250, '\\') + "ab", "%04d cut in two"},
  };
  for (const auto& c : cases) {
    ConsoleSession session("");
    // Slot 1 takes one number, so %d is fine there before the doubling.
    console::load_message_file(message_file("cut", "zero\n" + c.line + "\n").c_str());
    console::double_backslashes();
    EXPECT_EQ(slot(1), c.want) << c.why;
    EXPECT_EQ(console::check_format(slot(1).c_str(), 1), nullptr) << c.why;
  }
}

TEST(Messages, BlankThinkingEmptiesExactlySlotsZeroToTwenty) {
  ConsoleSession session("");
  console::blank_thinking_slots();
  for (int n = 0; n < console::k_slot_count; ++n)
    EXPECT_EQ(slot(n).empty(), n <= 20) << "slot " << n;
  console::print_slot(1, 42);
  EXPECT_EQ(session.output(), "") << "an empty slot prints nothing";
}

TEST(Messages, CheckFormatKeepsDefinedNeighbours) {
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

TEST(Messages, CheckFormatOffsetPointsAtTheDirective) {
  int offset = -1;
  EXPECT_NE(console::check_format("ok %d then %#d", 2, &offset), nullptr);
  EXPECT_EQ(offset, 11);
}

}  // namespace
