// The platform seam on a POSIX console: the C library's streams, read with blocking reads and
// written as bytes; the locale says whether the terminal shows UTF-8, and which language the
// player reads.
#include <langinfo.h>
#include <unistd.h>

#include <cctype>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "console/language.h"
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

// The first of the environment's `names` that is set and not empty, or nullptr.
const char* first_set(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

// The codeset a locale's name gives ("ja_JP.UTF-8": "UTF-8"), or "" when it names none.
std::string_view named_codeset(std::string_view locale) {
  const std::size_t dot = locale.find('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view codeset = locale.substr(dot + 1);
  return codeset.substr(0, codeset.find('@'));
}

// UTF-8 however the name spells it: UTF-8, utf8, UTF8.
bool is_utf8_name(std::string_view codeset) {
  std::string letters;
  for (const char c : codeset) {
    if (c != '-' && c != '_')
      letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return letters == "utf8";
}

}  // namespace

namespace console::platform {

void set_up_standard_streams() {}  // POSIX streams carry bytes, and line ends are line feeds

bool is_interactive(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool shows_utf8(std::FILE* stream) {
  if (!is_interactive(stream)) return false;
  // A locale that names its codeset says it even where the system hasn't generated that locale
  // (containers, minimal systems), where setlocale() would refuse it.
  const char* locale = first_set({"LC_ALL", "LC_CTYPE", "LANG"});
  const std::string_view codeset = named_codeset(locale != nullptr ? locale : "");
  if (!codeset.empty()) return is_utf8_name(codeset);
  // Else the environment's LC_CTYPE answers the question and is then put back: the game reads,
  // parses and prints its texts as bytes, the same whatever the locale.
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  if (std::setlocale(LC_CTYPE, "") == nullptr) return false;  // an unknown locale: left as it was
  const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}

Display display_of(std::FILE* stream) {
  if (!is_interactive(stream)) return Display::unwatched;
  return shows_utf8(stream) ? Display::unicode : Display::ascii;
}

std::vector<std::string> player_languages() {
  return locale_languages(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                          std::getenv("LC_MESSAGES"), std::getenv("LANG"));
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
