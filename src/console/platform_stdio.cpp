// The platform seam on a console: the C library's streams, read with blocking reads.
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

}  // namespace console::platform
