// Console text's streams: the helpers that print, read lines and numbers, pause and end the run.
// All output goes through print() (and the message table's print_slot(), messages.h); all input
// through input_line() and pause_for_return().
#pragma once

#include <cstdint>
#include <cstdio>

namespace console {

// The character set of a text: Shift-JIS bytes (the built-in texts, the fixed texts) or UTF-8.
// The bytes are printed as they are; only a Windows console converts them, to show them right.
enum class Encoding { shift_jis, utf8 };

// The form of the built-in texts that the output stream shows as Japanese: UTF-8 when it is a
// terminal whose encoding is UTF-8 (the LC_CTYPE of the environment names a UTF-8 codeset),
// Shift-JIS for pipes, files, every other terminal, a Windows console (which gets the texts
// converted) and the browser, whose page decodes Shift-JIS itself. Only LC_CTYPE is looked at,
// and the program's locale is left as it was. Can't fail.
Encoding output_encoding();

// Formats to standard output; the format and its text are Shift-JIS (or ASCII). Each print is
// formatted whole and then written, so a Windows console converts whole characters. When the
// output is a terminal the text is flushed at once, so prompts without a line feed are visible
// before the next read; otherwise output is block-buffered.
// Output that can't be written (a full disk, say) ends the run: one line on standard error,
// "hitblow: cannot write to standard output: <reason>", and status -1 without a pause. This
// holds for every function here that prints, and for the flushes of the pause and the end.
void print(const char* format, ...) __attribute__((format(printf, 1, 2)));

// print() for text in `encoding`: the format and every text it inserts are in that character
// set, which only a Windows console needs to know (it converts the text to show it).
void print_in(Encoding encoding, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Whether `stream` is shown to the player as it is written (a terminal, or the page): the
// console then writes every print out at once. Never fails.
bool is_interactive(std::FILE* stream);

// A line of the dialogue: at most 511 bytes and a NUL.
constexpr int k_line_bytes = 512;
struct Line {
  char text[k_line_bytes];
};

// Reads one line of standard input without its line feed. CR bytes are dropped wherever they
// stand, a 0x1A byte ends the input for good, and bytes past the 511th are discarded up to the
// line feed so that they never reach the next read. Returns false at end of input and leaves
// `line` as it was.
bool input_line(Line& line);

// One byte of `file` in text mode, as the dialogue and the message files are read: CR bytes
// vanish, and a 0x1A byte reads as EOF, like the end of the file or a read error.
int read_text_byte(std::FILE* file);

// Leading blanks (bytes 9..13 and 32), one optional sign, then decimal digits up to the first
// non-digit, as a "%d" scan reads them; the value wraps modulo 2^32 like 32-bit arithmetic
// (4294968530 reads as 1234). Returns the byte after the last digit, or nullptr when no digit
// follows the blanks and the sign; `value` is then 0.
const char* scan_decimal(const char* text, std::int32_t& value);

// scan_decimal's value: 0 when there are no digits. Never fails.
std::int32_t read_decimal(const char* text);

// The Return prompt of pause_for_return(); the page sets it aside for its end card.
constexpr char k_pause_prompt[] = "\n--(Hit return key)--\n";

// Prints the Return prompt and waits for one line (at most 511 bytes); returns at once at end
// of input. The prompt is flushed first, so output that can't be written ends the run here
// instead of waiting for a Return nobody was asked for.
void pause_for_return();

// Ends the process with `status` (-1 shows as 255 in a shell) after flushing output; with -1
// instead, reported on standard error, if the output could not be written. Callers pause
// first; see pause_and_end().
[[noreturn]] void end_program(int status);

// The game's ending: pause_for_return(), then end_program(status).
[[noreturn]] void pause_and_end(int status);

// The stream the dialogue is printed to: standard output, unless use_streams() swapped it.
std::FILE* output_stream();

// Seams for tests and fuzzers. use_streams() redirects input and output (nullptr restores
// stdin/stdout) and forgets an earlier end of input. An exit hook is called by end_program()
// instead of ending the process; it must not return (a fuzzer throws or jumps out of it).
void use_streams(std::FILE* in, std::FILE* out);
using ExitHook = void (*)(int status);
void set_exit_hook(ExitHook hook);

}  // namespace console
