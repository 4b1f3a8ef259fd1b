// Console text: message table, message files, and the line-oriented console helpers.
#include "console/console.h"

#include <cassert>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/builtin_messages.h"
#include "console/platform.h"

namespace console {

MessageTable message_table = [] {
  MessageTable table{};
  for (int slot = 0; slot < k_slot_count; ++slot) {
    std::strncpy(table[slot].data(), k_builtin_messages[slot], k_slot_bytes - 1);
  }
  return table;
}();

namespace {

// Where the dialogue reads and writes. Chosen on first use, so that tests and fuzzers can
// swap them before the game starts.
struct Streams {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  bool flush_each_print = false;  // the output is a terminal or the page
  bool input_ended = false;       // end of file or a 0x1A byte: no more lines, ever
};
Streams g_streams;

Streams& streams() {
  if (g_streams.out == nullptr) use_streams(nullptr, nullptr);
  return g_streams;
}

ExitHook g_exit_hook = nullptr;

// The character set of each slot's text: the built-in texts' until a message file replaces it.
std::array<Encoding, k_slot_count> g_slot_encodings = [] {
  std::array<Encoding, k_slot_count> encodings;
  encodings.fill(Encoding::shift_jis);
  return encodings;
}();

constexpr int k_end_of_text = 0x1A;  // text mode: this byte ends a file or the input


// Ends the process at once, through the exit hook when one is set.
[[noreturn]] void exit_now(int status) {
  if (g_exit_hook != nullptr) {
    g_exit_hook(status);
    std::abort();  // a hook that returns would let the game run on past its end
  }
  std::exit(status);
}

// Output that no longer reaches its file (a full disk, a device that takes no bytes) loses the
// player's transcript, so the run ends as a failure, with no pause: the Return prompt would be
// lost too. A closed pipe normally raises SIGPIPE before this; where that signal is ignored it
// ends here as well. `error` is the errno the failed write left, 0 when it is unknown.
[[noreturn]] void output_failed(int error) {
  std::fprintf(stderr, "hitblow: cannot write to standard output: %s\n",
               std::strerror(error != 0 ? error : EIO));
  exit_now(-1);
}

void end_if_output_failed(int error) {
  if (std::ferror(g_streams.out) != 0) output_failed(error);
}

// Formats one whole print and hands it to the platform's writer in one piece, so that a console
// that converts text to its own characters never meets half a character. `encoding` is the
// character set of the format and of any text it inserts. A terminal is flushed at once; a failed
// write ends the run here. The stream's error flag stays set once a write fails, so checking it
// after every print call (not every byte) is enough, and costs no system call when the output is
// buffered.
void print_formatted(Encoding encoding, const char* format, std::va_list arguments) {
  char small[1024];
  std::va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(small, sizeof small, format, arguments);
  std::string large;
  const char* text = small;
  if (length >= static_cast<int>(sizeof small)) {
    large.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, again);
    text = large.data();
  }
  va_end(again);
  Streams& s = streams();
  errno = 0;
  if (length > 0 &&
      !platform::write_text(s.out, text, static_cast<std::size_t>(length), encoding)) {
    output_failed(errno);
  }
  if (s.flush_each_print) std::fflush(s.out);
  end_if_output_failed(errno);
}

void print_in(Encoding encoding, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  print_formatted(encoding, format, arguments);
  va_end(arguments);
}

bool is_blank(unsigned char byte) { return byte == ' ' || (byte >= 9 && byte <= 13); }
bool is_digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// One byte of input in text mode: CR bytes vanish and 0x1A reads as the end.
int get_text_byte(std::FILE* file) {
  int byte;
  do {
    byte = platform::read_byte(file);
  } while (byte == '\r');
  return byte == k_end_of_text ? EOF : byte;
}

// Skips up to three decimal digits; more make the directive unsafe (and absurd).
bool skip_small_number(const char*& p) {
  int digits = 0;
  while (is_digit(static_cast<unsigned char>(*p))) {
    ++p;
    if (++digits > 3) return false;
  }
  return true;
}

}  // namespace

void reset_message_table(Encoding encoding) {
  const char* const* texts =
      encoding == Encoding::utf8 ? k_builtin_messages_utf8 : k_builtin_messages;
  for (int slot = 0; slot < k_slot_count; ++slot) {
    message_table[slot].fill('\0');
    std::strncpy(message_table[slot].data(), texts[slot], k_slot_bytes - 1);
  }
  g_slot_encodings.fill(encoding);
}

Encoding output_encoding() {
  return platform::shows_utf8(streams().out) ? Encoding::utf8 : Encoding::shift_jis;
}

Encoding slot_encoding(int slot) {
  return slot >= 0 && slot < k_slot_count ? g_slot_encodings[slot] : Encoding::shift_jis;
}

int slot_argument_count(int slot) {
  return slot >= 0 && slot < k_slot_count ? k_slot_arguments[slot] : 0;
}

const char* check_format(const char* text, int arguments, int* bad_offset) {
  int conversions = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '%') continue;
    const char* start = p++;
    const char* reason = nullptr;
    if (*p == '%') continue;
    const char* const flags = p;
    while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) ++p;
    const std::string_view flag_run(flags, static_cast<std::size_t>(p - flags));
    const bool width_fits = skip_small_number(p);
    const bool has_precision = width_fits && *p == '.';
    if (!width_fits) {
      reason = "a field width of more than three digits";
    } else if (has_precision && (++p, !skip_small_number(p))) {
      reason = "a precision of more than three digits";
    } else if (*p == '\0') {
      reason = "a '%' that ends the line unfinished";
    } else if (std::strchr("diouxXc", *p) == nullptr) {
      reason = "a conversion other than %d %i %u %o %x %X %c or %%";
    } else if (flag_run.find('#') != std::string_view::npos && std::strchr("oxX", *p) == nullptr) {
      // The C library defines '#' for %o %x %X only; elsewhere the output is undefined.
      reason = "a '#' flag on a conversion other than %o %x %X";
    } else if (*p == 'c' && (has_precision || flag_run.find('0') != std::string_view::npos)) {
      // Likewise a '0' flag or a precision on %c.
      reason = "a '0' flag or a precision on %c";
    } else if (++conversions > arguments) {
      reason = "more conversions than this message has numbers to show";
    }
    if (reason != nullptr) {
      if (bad_offset != nullptr) *bad_offset = static_cast<int>(start - text);
      return reason;
    }
  }
  return nullptr;
}

void print(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  print_formatted(Encoding::shift_jis, format, arguments);
  va_end(arguments);
}

void print_slot_values(int slot, const std::int32_t* values, int count) {
  // Every slot's text has passed check_format() for the number of values its callers pass, so
  // its conversions read only those; the formatter ignores unused trailing ones.
  assert(slot >= 0 && slot < k_slot_count && count == slot_argument_count(slot));
  std::int32_t padded[4] = {};
  for (int i = 0; i < count && i < 4; ++i) padded[i] = values[i];
  platform::report_slot(slot, padded, count);
  const char* text = message_table[slot].data();
  if (*text == '\0') return;
  print_in(g_slot_encodings[slot], text, padded[0], padded[1], padded[2], padded[3]);
}

bool input_line(Line& line) {
  Streams& s = streams();
  if (s.input_ended) return false;
  char text[k_line_bytes];
  int length = 0;
  bool got_any = false;
  for (;;) {
    const int byte = get_text_byte(s.in);
    if (byte == EOF) {
      s.input_ended = true;
      if (!got_any) return false;
      break;
    }
    got_any = true;
    if (byte == '\n') break;
    if (length < k_line_bytes - 1) text[length++] = static_cast<char>(byte);
  }
  text[length] = '\0';
  std::memcpy(line.text, text, static_cast<std::size_t>(length) + 1);
  return true;
}

const char* scan_decimal(const char* text, std::int32_t& value) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (is_blank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const bool has_digits = is_digit(*p);
  // Unsigned arithmetic wraps modulo 2^32 by definition; the conversion back to int32 is
  // two's complement in C++20.
  std::uint32_t magnitude = 0;
  while (is_digit(*p)) magnitude = magnitude * 10u + static_cast<std::uint32_t>(*p++ - '0');
  value = static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
  return has_digits ? reinterpret_cast<const char*>(p) : nullptr;
}

std::int32_t read_decimal(const char* text) {
  std::int32_t value = 0;
  scan_decimal(text, value);
  return value;
}

void pause_for_return() {
  print("\n--(Hit return key)--\n");
  Streams& s = streams();
  // Buffered output meets the file here at the latest: if it can't be written, nobody sees the
  // prompt, so the run ends instead of waiting for a Return.
  errno = 0;
  std::fflush(s.out);
  end_if_output_failed(errno);
  if (s.input_ended) return;
  // A bounded read, like the dialogue's: the line feed ends it, so do 511 bytes.
  for (int taken = 0; taken < k_line_bytes - 1; ++taken) {
    const int byte = get_text_byte(s.in);
    if (byte == EOF) {
      s.input_ended = true;
      return;
    }
    if (byte == '\n') return;
  }
}

namespace {

// Where a catalogue name is looked up, relative to the program's folder, in this order: the
// folder the install layout gives the catalogues (the build sets it), then messages/ beside the
// program (the Windows zip, a build tree).
#ifndef HITBLOW_CATALOGUE_DIR
#define HITBLOW_CATALOGUE_DIR "messages"
#endif
constexpr const char* k_catalogue_folders[] = {HITBLOW_CATALOGUE_DIR "/", "messages/"};

// Letters, digits, '-' and '_', at least one: a name with no separator, dot or drive letter,
// which can't lead out of a catalogue folder.
bool is_catalogue_name(const char* name) {
  if (*name == '\0') return false;
  for (const char* p = name; *p != '\0'; ++p) {
    const char c = *p;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       is_digit(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

// Opens `path` as given; when nothing opens under it and it is a catalogue name, NAME.txt in
// each catalogue folder in turn. Returns nullptr when none opens; `opened` receives the path of
// the file that did.
std::FILE* open_message_file(const char* path, std::string& opened) {
  opened = path;
  if (std::FILE* file = std::fopen(path, "rb")) return file;
  if (!is_catalogue_name(path)) return nullptr;
  const std::string folder = platform::executable_folder();
  if (folder.empty()) return nullptr;
  for (const char* catalogues : k_catalogue_folders) {
    opened = folder + catalogues + path + ".txt";
    if (std::FILE* file = std::fopen(opened.c_str(), "rb")) return file;
  }
  return nullptr;
}

// Reports a message file that can't be used and ends the run; nothing has been stored yet.
// `path` is the name as given when the file can't be read, the file that was read otherwise.
[[noreturn]] void reject_message_file(const char* path, int line_number, const char* reason) {
  if (line_number == 0) {
    print("Cannot open message file \"%s\"\n", path);
  } else {
    print("Message file \"%s\", line %d: %s\n", path, line_number, reason);
  }
  pause_and_end(-1);
}

// Follows a byte stream and tells whether it is well-formed UTF-8: no stray continuation byte,
// no overlong form, no surrogate, nothing above U+10FFFF, no character cut at the end. A file
// written in Shift-JIS almost never passes: its lead bytes 0x81 to 0x9F are continuation bytes.
struct Utf8Check {
  int pending = 0;                        // continuation bytes still due
  unsigned char low = 0x80, high = 0xBF;  // the range of the next continuation byte
  bool broken = false;

  void feed(unsigned char byte) {
    if (pending > 0) {
      broken |= byte < low || byte > high;
      low = 0x80;
      high = 0xBF;
      --pending;
      return;
    }
    if (byte < 0x80) return;
    if (byte >= 0xC2 && byte <= 0xDF) {
      pending = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      pending = 2;
      if (byte == 0xE0) low = 0xA0;   // overlong below U+0800
      if (byte == 0xED) high = 0x9F;  // the surrogates
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      pending = 3;
      if (byte == 0xF0) low = 0x90;   // overlong below U+10000
      if (byte == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      broken = true;
    }
  }
  bool valid() const { return !broken && pending == 0; }
};

// A message file read in text mode; `ended` stays set once the end (or a 0x1A) is met. `utf8`
// has seen every byte read so far.
struct TextFile {
  std::FILE* file;
  bool ended;
  Utf8Check utf8;
};

// The loader's bounded line read: up to 254 bytes, ending after a line feed (kept) or at the
// end of the file. Returns the number of bytes read; 0 only at the end.
int read_file_line(TextFile& text, char (&buffer)[k_slot_bytes]) {
  int length = 0;
  while (length < k_slot_bytes - 1 && !text.ended) {
    const int byte = get_text_byte(text.file);
    if (byte == EOF) {
      text.ended = true;
      break;
    }
    buffer[length++] = static_cast<char>(byte);
    text.utf8.feed(static_cast<unsigned char>(byte));
    if (byte == '\n') break;
  }
  buffer[length] = '\0';
  return length;
}

}  // namespace

int load_message_file(const char* path) {
  // Binary: the loader applies the text mode itself, the same on every system; on Windows the
  // C library's text mode would translate the bytes first.
  std::string opened;
  std::FILE* file = open_message_file(path, opened);
  if (file == nullptr) reject_message_file(path, 0, nullptr);
  TextFile text{file, false, {}};
  MessageTable loaded = message_table;
  int slot = 0;
  int line_number = 1;  // the file line where the next slot starts
  char buffer[k_slot_bytes];
  while (slot < k_slot_count) {
    const int length = read_file_line(text, buffer);
    if (length == 0) break;
    // The slot keeps the text up to its first NUL byte, if the line holds one.
    std::strcpy(loaded[slot].data(), buffer);
    if (const char* reason = check_format(buffer, slot_argument_count(slot))) {
      std::fclose(file);
      reject_message_file(opened.c_str(), line_number, reason);
    }
    if (buffer[length - 1] == '\n') ++line_number;
    ++slot;
  }
  // A directory opens but fails to read: that is an unreadable file too.
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) reject_message_file(path, 0, nullptr);
  message_table = loaded;
  // The shipped files are UTF-8; one that isn't was written for the built-in character set.
  const Encoding encoding = text.utf8.valid() ? Encoding::utf8 : Encoding::shift_jis;
  for (int filled = 0; filled < slot; ++filled) g_slot_encodings[filled] = encoding;
  return slot;
}

void double_backslashes() {
  for (auto& slot : message_table) {
    char doubled[k_slot_bytes];
    int length = 0;
    for (const char* p = slot.data(); *p != '\0' && length < k_slot_bytes - 1; ++p) {
      doubled[length++] = *p;
      if (*p == '\\' && length < k_slot_bytes - 1) doubled[length++] = '\\';
    }
    doubled[length] = '\0';
    // The cut at 254 bytes may split a directive such as "%04d" or "%%" in two; drop the
    // broken tail rather than hand the formatter half a directive.
    int bad_offset = 0;
    const int slot_number = static_cast<int>(&slot - message_table.data());
    if (check_format(doubled, slot_argument_count(slot_number), &bad_offset) != nullptr) {
      doubled[bad_offset] = '\0';
    }
    std::memcpy(slot.data(), doubled, static_cast<std::size_t>(length) + 1);
    print_in(g_slot_encodings[slot_number], "%s\n", slot.data());
  }
}

void blank_thinking_slots() {
  for (int slot = 0; slot < k_slot_count; ++slot) {
    if (slot_group(slot) == SlotGroup::thinking) message_table[slot][0] = '\0';
  }
}

void end_program(int status) {
  errno = 0;
  std::fflush(streams().out);
  end_if_output_failed(errno);
  exit_now(status);
}

void pause_and_end(int status) {
  pause_for_return();
  end_program(status);
}

void use_streams(std::FILE* in, std::FILE* out) {
  if (in == nullptr || out == nullptr) platform::set_up_standard_streams();
  g_streams.in = in != nullptr ? in : stdin;
  g_streams.out = out != nullptr ? out : stdout;
  g_streams.flush_each_print = platform::is_interactive(g_streams.out);
  g_streams.input_ended = false;
}

void set_exit_hook(ExitHook hook) { g_exit_hook = hook; }

}  // namespace console
