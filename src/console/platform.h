// The console's platform seam: how the dialogue's bytes reach the player and come back. A
// console blocks on its standard input; a browser page must not block, so the WebAssembly build
// suspends the program instead until the page hands over a line (platform_web.cpp). Everything
// else in the game is the same code on every platform.
#pragma once

#include <cstdio>
#include <string>

namespace console::platform {

// Whether `stream` is shown to the player as it is written (a terminal, or the page): the
// console then writes every print out at once, so that prompts without a line feed are visible
// before the program waits. Never fails.
bool is_interactive(std::FILE* stream);

// The next byte of `stream` as an unsigned char, or EOF at its end or on a read error. On the
// standard input this waits for the player's next line.
int read_byte(std::FILE* stream);

// The folder of the running program's own file, ending in its separator ("/usr/games/"), in
// the form fopen() takes; the shipped catalogues are found from there. Empty where the system
// can't tell (no /proc, a path too long) or has no such folder (the page). Never fails.
std::string executable_folder();

}  // namespace console::platform
