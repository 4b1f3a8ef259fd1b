// The platform seam on a POSIX console: the C library's streams, read with blocking reads and
// written as bytes; the locale says whether the terminal shows UTF-8.
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <string>

#include "console/platform.h"

namespace console::platform {

void set_up_standard_streams() {}  // POSIX streams carry bytes, and line ends are line feeds

bool is_interactive(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool shows_utf8(std::FILE* stream) {
  if (!is_interactive(stream)) return false;
  // The environment's LC_CTYPE answers the question and is then put back: the game reads, parses
  // and prints its texts as bytes, the same whatever the locale.
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  if (std::setlocale(LC_CTYPE, "") == nullptr) return false;  // an unknown locale: left as it was
  const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}

int read_byte(std::FILE* stream) { return std::getc(stream); }

bool write_text(std::FILE* stream, const char* text, std::size_t length, Encoding) {
  return std::fwrite(text, 1, length, stream) == length;
}

}  // namespace console::platform
