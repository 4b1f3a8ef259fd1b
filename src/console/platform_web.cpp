// The platform seam in a browser page (WebAssembly, built with Emscripten and Asyncify).
//
// The page can't be blocked while the player thinks, so a read of the standard input that finds
// no byte left suspends the whole program (Asyncify unwinds the stack) until the page resolves
// its promise with the next typed line; then the program resumes where it stopped. Other streams
// (message files, the unit tests' temporary files) are read as usual.
//
// Output is plain bytes through the C library: the page gives the runtime a byte-by-byte standard
// output, so the C library's write reports any byte the page failed to take as a write error, as
// a console would. That output is not a terminal to the C library, yet it is shown as it is
// written.
#include <emscripten.h>

#include "console/platform.h"

namespace {

// Suspends until the page hands over input: copies up to `capacity` bytes of it into `buffer`
// and returns how many; 0 once the page has no more input to give. The page's readInput() yields
// a whole line with its line feed (a Uint8Array), or null at the end; a line longer than
// `capacity` is handed over in pieces.
// The body is JavaScript, which clang-format would break.
// clang-format off
EM_ASYNC_JS(int, page_read_input, (unsigned char* buffer, int capacity), {
  let pending = Module['pendingInput'];
  if (!pending || pending.length == 0) {
    pending = await Module['readInput']();
    if (pending === null) return 0;
  }
  const length = Math.min(pending.length, capacity);
  HEAPU8.set(pending.subarray(0, length), buffer);
  Module['pendingInput'] = pending.subarray(length);
  return length;
});

// The page's seed for this run (Module.seed, 32 bits), or the clock in milliseconds.
EM_JS(int, page_seed, (), {
  const seed = Module['seed'];
  return (seed === undefined ? Date.now() : seed) | 0;
});
// Hands the page an event's number and its ints (Module.reportEvent), if it listens.
EM_JS(void, page_report_event, (int event, const int* values, int count), {
  if (Module['reportEvent']) Module['reportEvent'](event, Array.from(HEAP32.subarray(values >> 2, (values >> 2) + count)));
});
// clang-format on

// What the page handed over and the program has not read yet.
struct Input {
  unsigned char bytes[512];
  int length = 0;
  int next = 0;
  bool ended = false;
};
Input g_input;

}  // namespace

namespace console::platform {

void set_up_standard_streams() {}

bool is_interactive(std::FILE* stream) { return stream == stdout || stream == stderr; }

// The page decodes the built-in texts as Shift-JIS itself.
bool shows_utf8(std::FILE*) { return false; }

// The page decodes what it is given; the bytes go to it unchanged.
bool write_text(std::FILE* stream, const char* text, std::size_t length, Encoding) {
  return std::fwrite(text, 1, length, stream) == length;
}

// The page picks its visitor's language itself and names the catalogue it wants.
Display display_of(std::FILE*) { return Display::unwatched; }
std::vector<std::string> player_languages() { return {}; }

int read_byte(std::FILE* stream) {
  if (stream != stdin) return std::getc(stream);
  if (g_input.next == g_input.length && !g_input.ended) {
    std::fflush(stdout);  // the prompt must be on the page before the program waits
    g_input.length = page_read_input(g_input.bytes, static_cast<int>(sizeof g_input.bytes));
    g_input.next = 0;
    g_input.ended = g_input.length == 0;
  }
  if (g_input.ended) return EOF;
  return g_input.bytes[g_input.next++];
}

// The page has no program file: it writes the chosen message file itself and names its path.
std::string executable_folder() { return {}; }

std::uint32_t random_seed() { return static_cast<std::uint32_t>(page_seed()); }

void report_event(Event event, const std::int32_t* values, int count) {
  // The output so far goes first, so that the page sees the event where it stands in the text.
  std::fflush(stdout);
  page_report_event(event, values, count);
}

}  // namespace console::platform
