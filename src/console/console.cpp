// Console text's streams: where the dialogue is printed and read, and how the run ends.
#include "console/console.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console/platform.h"

namespace console {

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

bool is_blank(unsigned char byte) { return byte == ' ' || (byte >= 9 && byte <= 13); }
bool is_digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

Encoding output_encoding() {
  return platform::shows_utf8(streams().out) ? Encoding::utf8 : Encoding::shift_jis;
}

void print_in(Encoding encoding, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  print_formatted(encoding, format, arguments);
  va_end(arguments);
}

void print(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  print_formatted(Encoding::shift_jis, format, arguments);
  va_end(arguments);
}

int read_text_byte(std::FILE* file) {
  int byte;
  do {
    byte = platform::read_byte(file);
  } while (byte == '\r');
  return byte == k_end_of_text ? EOF : byte;
}

bool is_interactive(std::FILE* stream) { return platform::is_interactive(stream); }

bool input_line(Line& line) {
  Streams& s = streams();
  if (s.input_ended) return false;
  char text[k_line_bytes];
  int length = 0;
  bool got_any = false;
  for (;;) {
    const int byte = read_text_byte(s.in);
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
  print("%s", k_pause_prompt);
  platform::report(platform::k_event_waiting, {platform::k_wait_end});
  Streams& s = streams();
  // Buffered output meets the file here at the latest: if it can't be written, nobody sees the
  // prompt, so the run ends instead of waiting for a Return.
  errno = 0;
  std::fflush(s.out);
  end_if_output_failed(errno);
  if (s.input_ended) return;
  // A bounded read, like the dialogue's: the line feed ends it, so do 511 bytes.
  for (int taken = 0; taken < k_line_bytes - 1; ++taken) {
    const int byte = read_text_byte(s.in);
    if (byte == EOF) {
      s.input_ended = true;
      return;
    }
    if (byte == '\n') return;
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

std::FILE* output_stream() { return streams().out; }

void set_exit_hook(ExitHook hook) { g_exit_hook = hook; }

}  // namespace console
