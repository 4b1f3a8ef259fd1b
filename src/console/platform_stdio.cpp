// The platform seam on a console: the C library's streams, read with blocking reads.
#include <ctime>

#include "console/platform.h"

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace console::platform {

bool is_interactive(std::FILE* stream) {
#if __has_include(<unistd.h>)
  return isatty(fileno(stream)) != 0;
#else
  (void)stream;
  return true;  // can't tell: flushing every print is always correct, only slower
#endif
}

int read_byte(std::FILE* stream) { return std::getc(stream); }

std::uint32_t random_seed() { return static_cast<std::uint32_t>(std::time(nullptr)); }

}  // namespace console::platform
