// The message table: the 42 slots that hold every sentence of the dialogue, the loader that
// replaces them from a message file (found by path or by catalogue name), the check that keeps
// each slot a safe printf format, and the two rewrites of -sjis and -quiet. The bytes reach the
// player through the streams of console.h.
#pragma once

#include <array>
#include <cstdint>

#include "console/console.h"
#include "console/slots.h"

namespace console {

// A slot holds 254 text bytes and its NUL; longer file lines spill into the next slot.
constexpr int k_slot_bytes = 255;
using MessageTable = std::array<std::array<char, k_slot_bytes>, k_slot_count>;

// The one table of the run. Every slot is a printf format that takes only int arguments, at
// most slot_argument_count(slot) of them; the loader refuses files that break this.
extern MessageTable message_table;

// Puts the built-in texts back into every slot, in `encoding` (start of a run, tests, fuzzers).
void reset_message_table(Encoding encoding = Encoding::shift_jis);

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

// Prints the slot's current text as a format with `count` ints (at most 4, as many as the slot
// takes), in the slot's character set (slot_encoding); an empty slot prints nothing. Output
// that can't be written ends the run, as print() does.
void print_slot_values(int slot, const std::int32_t* values, int count);

template <class... Ints>
void print_slot(int slot, Ints... arguments) {
  const std::int32_t values[] = {0, static_cast<std::int32_t>(arguments)...};
  print_slot_values(slot, values + 1, static_cast<int>(sizeof...(arguments)));
}

// Replaces slots from slot 0 with the lines of a message file, 254 bytes a slot at most, 42
// slots at most; returns how many were filled. A `path` that opens no file and is a catalogue
// name (letters, digits, '-', '_': "ko") reads NAME.txt from the installed catalogue folder,
// else from messages/ beside the program. A file that can't be read (reported by the name as
// given), or a line whose conversions don't fit its slot (by the file read), is reported on
// standard output and ends the program with status -1 after pause_for_return(); the table is
// then left unchanged. "ja", when no file of that name opens, is the built-in Japanese: every
// slot gets it back, in the output's encoding.
int load_message_file(const char* path);

// load_message_file() for a catalogue the player didn't name: a file that can't be read or
// doesn't fit leaves the table unchanged and returns false, without a word.
bool load_catalogue_quietly(const char* name);

// -sjis: doubles every 0x5C byte of every slot (cut at 254 bytes) and echoes the table.
void double_backslashes();

// -quiet: empties the slots of SlotGroup::thinking, so the computer's turn prints nothing.
void blank_thinking_slots();

}  // namespace console
