// Console text: the 42-slot message table that holds every sentence of the dialogue, the loader
// that replaces it from a message file, and the helpers that read lines and numbers and pause.
// All output goes through print(); all input through input_line() and pause_for_return().
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "console/slots.h"

namespace console {

// A slot holds 254 text bytes and its NUL; longer file lines spill into the next slot.
constexpr int k_slot_bytes = 255;
using MessageTable = std::array<std::array<char, k_slot_bytes>, k_slot_count>;

// The one table of the run. Every slot is a printf format that takes only int arguments, at
// most slot_argument_count(slot) of them; the loader refuses files that break this.
extern MessageTable message_table;

// The character set of a text: Shift-JIS bytes (the built-in texts, the fixed texts) or UTF-8.
// The bytes are printed as they are; only a Windows console converts them, to show them right.
enum class Encoding { shift_jis, utf8 };

// Puts the built-in texts back into every slot, in `encoding` (start of a run, tests, fuzzers).
void reset_message_table(Encoding encoding = Encoding::shift_jis);

// The form of the built-in texts that the output stream shows as Japanese: UTF-8 when it is a
// terminal whose encoding is UTF-8 (the LC_CTYPE of the environment names a UTF-8 codeset),
// Shift-JIS for pipes, files, every other terminal, a Windows console (which gets the texts
// converted) and the browser, whose page decodes Shift-JIS itself. Only LC_CTYPE is looked at,
// and the program's locale is left as it was. Can't fail.
Encoding output_encoding();

// The character set of the slot's current text: that of the built-in texts, or of the message
// file that filled the slot last (UTF-8 when all the file's bytes read were well-formed UTF-8,
// else Shift-JIS). Shift-JIS for unknown slots.
Encoding slot_encoding(int slot);

// How many int arguments the game passes when it prints the slot (k_slot_arguments; 0 for
// unknown slots).
int slot_argument_count(int slot);

// Checks that `text` is safe as the format of a slot printed with `arguments` ints: "%%", or
// "%[-+ #0]*[width][.precision]C" with width and precision of at most three digits and C one
// of d i u o x X c, no more of those than `arguments`; '#' only with o x X, and neither '0' nor
// a precision with c, the combinations the C library leaves undefined. Returns nullptr when it
// is, else a short reason; `bad_offset` (if given) receives the offset of the offending '%'.
const char* check_format(const char* text, int arguments, int* bad_offset = nullptr);

// Formats to standard output; the format and its text are Shift-JIS (or ASCII). Each print is
// formatted whole and then written, so a Windows console converts whole characters. When the
// output is a terminal the text is flushed at once, so prompts without a line feed are visible
// before the next read; otherwise output is block-buffered.
// Output that can't be written (a full disk, say) ends the run: one line on standard error,
// "hitblow: cannot write to standard output: <reason>", and status -1 without a pause. This
// holds for every function here that prints, and for the flushes of the pause and the end.
void print(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Prints the slot's current text as a format with `count` ints (at most 4, as many as the slot
// takes), in the slot's character set (slot_encoding); an empty slot prints nothing.
void print_slot_values(int slot, const std::int32_t* values, int count);

template <class... Ints>
void print_slot(int slot, Ints... arguments) {
  const std::int32_t values[] = {0, static_cast<std::int32_t>(arguments)...};
  print_slot_values(slot, values + 1, static_cast<int>(sizeof...(arguments)));
}

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

// Leading blanks (bytes 9..13 and 32), one optional sign, then decimal digits up to the first
// non-digit, as a "%d" scan reads them; the value wraps modulo 2^32 like 32-bit arithmetic
// (4294968530 reads as 1234). Returns the byte after the last digit, or nullptr when no digit
// follows the blanks and the sign; `value` is then 0.
const char* scan_decimal(const char* text, std::int32_t& value);

// scan_decimal's value: 0 when there are no digits. Never fails.
std::int32_t read_decimal(const char* text);

// Prints the Return prompt and waits for one line (at most 511 bytes); returns at once at end
// of input. The prompt is flushed first, so output that can't be written ends the run here
// instead of waiting for a Return nobody was asked for.
void pause_for_return();

// Replaces slots from slot 0 with the lines of a message file, 254 bytes a slot at most, 42
// slots at most; returns how many were filled. A `path` that opens no file and is a catalogue
// name (letters, digits, '-', '_': "ko") reads NAME.txt from the installed catalogue folder,
// else from messages/ beside the program. A file that can't be read (reported by the name as
// given), or a line whose conversions don't fit its slot (by the file read), is reported on
// standard output and ends the program with status -1 after pause_for_return(); the table is
// then left unchanged.
int load_message_file(const char* path);

// -sjis: doubles every 0x5C byte of every slot (cut at 254 bytes) and echoes the table.
void double_backslashes();

// -quiet: empties the slots of SlotGroup::thinking, so the computer's turn prints nothing.
void blank_thinking_slots();

// Ends the process with `status` (-1 shows as 255 in a shell) after flushing output; with -1
// instead, reported on standard error, if the output could not be written. Callers pause
// first; see pause_and_end().
[[noreturn]] void end_program(int status);

// The game's ending: pause_for_return(), then end_program(status).
[[noreturn]] void pause_and_end(int status);

// Seams for tests and fuzzers. use_streams() redirects input and output (nullptr restores
// stdin/stdout) and forgets an earlier end of input. An exit hook is called by end_program()
// instead of ending the process; it must not return (a fuzzer throws or jumps out of it).
void use_streams(std::FILE* in, std::FILE* out);
using ExitHook = void (*)(int status);
void set_exit_hook(ExitHook hook);

}  // namespace console
