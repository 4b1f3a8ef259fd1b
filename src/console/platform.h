// The console's platform seam: how the dialogue's bytes reach the player and come back. A
// console blocks on its standard input; a browser page must not block, so the WebAssembly build
// suspends the program instead until the page hands over a line (platform_web.cpp). A Windows
// console shows bytes in its code page, which is rarely Shift-JIS, so text for it is written as
// UTF-16 instead (platform_windows.cpp). The seed of the random draw comes through here too.
// Everything else in the game is the same code on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "console/console.h"

namespace console::platform {

// Puts the standard streams into the modes the console layer expects: input as plain bytes (the
// console applies its own text mode), output with the system's line ends. Called once, before the
// first read or write. Never fails.
void set_up_standard_streams();

// Whether `stream` is shown to the player as it is written (a terminal, or the page): the
// console then writes every print out at once, so that prompts without a line feed are visible
// before the program waits. Never fails.
bool is_interactive(std::FILE* stream);

// Whether `stream` is a terminal that shows UTF-8 bytes as such, so that the built-in texts are
// better stored in UTF-8 than as Shift-JIS bytes. Never fails; false when it can't tell.
bool shows_utf8(std::FILE* stream);

// How `stream` shows the catalogues, for a game that speaks its player's language: not at all
// where nobody watches it as it is written (a pipe, a file; the page, which picks its own
// words), ASCII alone on a terminal in another character set, every catalogue where UTF-8 shows
// (a UTF-8 terminal, a Windows console, which converts each text). Never fails.
enum class Display { unwatched, ascii, unicode };
Display display_of(std::FILE* stream);

// The languages the player reads, most preferred first, as the system names them: on a POSIX
// console the environment's, in gettext's order (locale_languages, language.h), on Windows the
// user's display languages ("ko-KR"). Empty when none is named. Never fails.
std::vector<std::string> player_languages();

// The next byte of `stream` as an unsigned char, or EOF at its end or on a read error. On the
// standard input this waits for the player's next line.
int read_byte(std::FILE* stream);

// Writes one whole print, `length` bytes of text in `encoding`, to `stream`. A console that
// shows text rather than bytes gets it converted as a whole (bytes that don't convert show as
// U+FFFD, and the rest of the text still follows); anywhere else the bytes go to the stream as
// they are. Returns false when the text could not be written, with errno saying why (EIO when
// the system doesn't say); a buffered stream may also report it later, through its error flag.
bool write_text(std::FILE* stream, const char* text, std::size_t length, Encoding encoding);

// The folder of the running program's own file, ending in its separator ("/usr/games/"), in
// the form fopen() takes; the shipped catalogues are found from there. Empty where the system
// can't tell (no /proc, a path too long) or has no such folder (the page). Never fails.
std::string executable_folder();

// The seed of the run's random draw (the secret and the computer's first guess). On a console the
// calendar time in whole seconds. In the page a number it draws afresh for each run, so that two
// games started within one second differ; the time in milliseconds if the page gave none.
// Never fails.
std::uint32_t random_seed();

// What happened in the game, told to the player's screen with its numbers (report_event), so
// that the page draws the game from what the program did and never from its words, which change
// with the language. The numbers each event comes with, in order (web/game_constants.cpp gives
// the page the same list by name); a score comes as hits and blows, as print_scored shows it.
enum Event : int {
  k_event_scored,          // the player's guess was scored: the guess, hits, blows
  k_event_computer_guess,  // the computer announces its guess: the guess
  k_event_answer,          // the player's answer was taken: the computer's guess, hits, blows
  k_event_unreadable,      // a line could not be read as an answer: none
  k_event_contradiction,   // the answers leave no code and the dialog begins: none
  k_event_wrong_answer,    // the first answer the player's code contradicts: the turn (from 1),
                           // the guess, the hits and blows said, the hits and blows it should be
  k_event_result,          // the game is decided: the Outcome, the secret (-1 if not shown)
  k_event_waiting,         // the program waits for a line: what for (Wait)
};
enum Outcome : int { k_outcome_win, k_outcome_loss, k_outcome_draw };
enum Wait : int { k_wait_guess, k_wait_answer, k_wait_confirm, k_wait_code, k_wait_end };

// Tells the player's screen that `event` happened, with `count` ints, after the text printed so
// far: the page draws its board from these; a console shows only the text and does nothing
// here. Never fails.
void report_event(Event event, const std::int32_t* values, int count);

// report_event() with the numbers listed.
inline void report(Event event, std::initializer_list<std::int32_t> values = {}) {
  report_event(event, values.begin(), static_cast<int>(values.size()));
}

}  // namespace console::platform
