// The console's platform seam: how the dialogue's bytes reach the player and come back. A
// console blocks on its standard input; a browser page must not block, so the WebAssembly build
// suspends the program instead until the page hands over a line (platform_web.cpp). The seed of
// the random draw comes through here too. Everything else in the game is the same code on every
// platform.
#pragma once

#include <cstdint>
#include <cstdio>

namespace console::platform {

// Whether `stream` is shown to the player as it is written (a terminal, or the page): the
// console then writes every print out at once, so that prompts without a line feed are visible
// before the program waits. Never fails.
bool is_interactive(std::FILE* stream);

// The next byte of `stream` as an unsigned char, or EOF at its end or on a read error. On the
// standard input this waits for the player's next line.
int read_byte(std::FILE* stream);

// The seed of the run's random draw (the secret and the computer's first guess). On a console the
// calendar time in whole seconds. In the page a number it draws afresh for each run, so that two
// games started within one second differ; the time in milliseconds if the page gave none.
// Never fails.
std::uint32_t random_seed();

}  // namespace console::platform
