// The platform seam on a POSIX console: the C library's streams, read with blocking reads and
// written as bytes; the locale says whether the terminal shows UTF-8.
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "console/platform.h"

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace {

// The program's own path, or empty. A path longer than this is left unknown.
constexpr std::size_t k_longest_path = 32768;

std::string executable_path() {
  std::vector<char> path(260);
  for (; path.size() <= k_longest_path; path.resize(path.size() * 2)) {
#if defined(__APPLE__)
    std::uint32_t size = static_cast<std::uint32_t>(path.size());
    if (_NSGetExecutablePath(path.data(), &size) == 0) return path.data();
#elif defined(__linux__)
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      return std::string(path.data(), static_cast<std::size_t>(length));
    }
#else
    return {};  // no portable way to ask: catalogues are then found by path only
#endif
  }
  return {};
}

}  // namespace

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

std::string executable_folder() {
  std::string path = executable_path();
  const std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return {};
  path.resize(cut + 1);
  return path;
}

std::uint32_t random_seed() { return static_cast<std::uint32_t>(std::time(nullptr)); }

// A console shows the game's text alone.
void report_event(Event, const std::int32_t*, int) {}

}  // namespace console::platform
