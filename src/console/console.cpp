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

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#elif !defined(__EMSCRIPTEN__) && __has_include(<langinfo.h>)
#include <langinfo.h>

#include <clocale>
#include <string>
#define HITBLOW_ASK_LOCALE 1
#endif

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

constexpr int k_end_of_text = 0x1A;  // text mode: this byte ends a file or the input

// The arguments the game passes with each slot; a message file may use fewer, never more.
constexpr int k_slot_arguments[k_slot_count] = {
    0, 1, 1, 0, 1, 0, 2, 1, 0, 3, 1, 0, 4, 1, 0, 1, 0, 1, 0, 1, 1,  // 0..20 thinking
    0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0,                                // 21..31 turn loop
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                   // 32..41 dialog
};

// Whether `out` is a terminal that shows UTF-8. Only these two ways of asking are trusted; a
// platform that has neither (the browser among them) gets the Shift-JIS bytes.
bool is_utf8_terminal(std::FILE* out) {
#if defined(_WIN32)
  // Only a console has a mode; a pipe, a file or NUL fails the call.
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0 && GetConsoleOutputCP() == CP_UTF8;
#elif defined(HITBLOW_ASK_LOCALE)
  if (!platform::is_interactive(out)) return false;
  // The environment's LC_CTYPE answers the question and is then put back: the game reads, parses
  // and prints its texts as bytes, the same whatever the locale.
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  if (std::setlocale(LC_CTYPE, "") == nullptr) return false;  // an unknown locale: left as it was
  const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
#else
  (void)out;
  return false;
#endif
}

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
void end_if_output_failed(int error) {
  if (std::ferror(g_streams.out) == 0) return;
  std::fprintf(stderr, "hitblow: cannot write to standard output: %s\n",
               std::strerror(error != 0 ? error : EIO));
  exit_now(-1);
}

// After each print: a terminal is flushed at once; a failed write ends the run here. The
// stream's error flag stays set once a write fails, so checking it after every print call (not
// every byte) is enough, and costs no system call when the output is buffered.
void after_print() {
  if (g_streams.flush_each_print) std::fflush(g_streams.out);
  end_if_output_failed(errno);
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
}

Encoding output_encoding() {
  return is_utf8_terminal(streams().out) ? Encoding::utf8 : Encoding::shift_jis;
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
  errno = 0;
  std::vfprintf(streams().out, format, arguments);
  va_end(arguments);
  after_print();
}

void print_slot_values(int slot, const std::int32_t* values, int count) {
  // Every slot's text has passed check_format() for the number of values its callers pass, so
  // its conversions read only those; the formatter ignores unused trailing ones.
  assert(slot >= 0 && slot < k_slot_count && count == slot_argument_count(slot));
  std::int32_t padded[4] = {};
  for (int i = 0; i < count && i < 4; ++i) padded[i] = values[i];
  const char* text = message_table[slot].data();
  if (*text == '\0') return;
  errno = 0;
  std::fprintf(streams().out, text, padded[0], padded[1], padded[2], padded[3]);
  after_print();
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

std::int32_t read_decimal(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (is_blank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  // Unsigned arithmetic wraps modulo 2^32 by definition; the conversion back to int32 is
  // two's complement in C++20.
  std::uint32_t value = 0;
  while (is_digit(*p)) value = value * 10u + static_cast<std::uint32_t>(*p++ - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
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

// A message file read in text mode; `ended` stays set once the end (or a 0x1A) is met.
struct TextFile {
  std::FILE* file;
  bool ended;
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
  TextFile text{file, false};
  MessageTable loaded = message_table;
  int slot = 0;
  int line_number = 1;  // the file line where the next slot starts
  char buffer[k_slot_bytes];
  while (slot < k_slot_count) {
    const int length = read_file_line(text, buffer);
    if (length == 0) break;
    // The slot keeps the text up to its first NUL byte, if the line holds one.
    std::strcpy(loaded[slot].data(), buffer);
    if (const char* reason = check_format(buffer, k_slot_arguments[slot])) {
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
    if (check_format(doubled, k_slot_arguments[slot_number], &bad_offset) != nullptr) {
      doubled[bad_offset] = '\0';
    }
    std::memcpy(slot.data(), doubled, static_cast<std::size_t>(length) + 1);
    print("%s\n", slot.data());
  }
}

void blank_thinking_slots() {
  for (int slot = 0; slot < k_thinking_slots; ++slot) message_table[slot][0] = '\0';
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
#if defined(_WIN32)
  // A Windows console program: the C library writes each line feed as CR LF. On input the game
  // applies its own text mode (CR dropped, 0x1A ends), so the library's must not come first.
  if (in == nullptr) _setmode(_fileno(stdin), _O_BINARY);
  if (out == nullptr) _setmode(_fileno(stdout), _O_TEXT);
#endif
  g_streams.in = in != nullptr ? in : stdin;
  g_streams.out = out != nullptr ? out : stdout;
  g_streams.flush_each_print = platform::is_interactive(g_streams.out);
  g_streams.input_ended = false;
}

void set_exit_hook(ExitHook hook) { g_exit_hook = hook; }

}  // namespace console
