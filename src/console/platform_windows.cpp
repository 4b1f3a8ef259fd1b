// The platform seam on Windows: the C runtime's streams, except that text for a console window
// is written as UTF-16 with WriteConsoleW. A console shows bytes in its output code page, which
// is 932 (Shift-JIS) only on a Japanese Windows; UTF-16 shows right whatever the code page, so
// nobody has to type chcp first. Pipes and files still get the very bytes the game prints.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

#include "console/platform.h"

namespace {

constexpr UINT k_shift_jis_code_page = 932;

// The console behind `stream`, or nullptr when it is a pipe, a file or NUL (only a console has a
// mode). Asked at every write: the tests swap the streams, and the call is cheap next to a write.
HANDLE console_of(std::FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
}

// How many bytes the character that begins with `byte` should take in `code_page`.
std::size_t character_bytes(UINT code_page, unsigned char byte) {
  if (code_page != CP_UTF8) return IsDBCSLeadByteEx(code_page, byte) ? 2 : 1;
  if (byte >= 0xF0) return 4;
  if (byte >= 0xE0) return 3;
  return byte >= 0xC0 ? 2 : 1;
}

// Appends `length` bytes that convert without error in `code_page`; false if they don't.
bool append_exact(std::wstring& wide, UINT code_page, const char* text, std::size_t length) {
  const int bytes = static_cast<int>(length);
  const int units = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, bytes, nullptr, 0);
  if (units <= 0) return false;
  const std::size_t start = wide.size();
  wide.resize(start + static_cast<std::size_t>(units));
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, bytes, wide.data() + start, units);
  return true;
}

// The text in UTF-16. Nearly always one call converts it all; text with bytes that don't convert
// goes character by character instead, each bad byte becoming U+FFFD, because the system's own
// substitute (a middle dot for code page 932) would pass for the game's text, and a cut line
// would hide the rest of it.
std::wstring to_utf16(const char* text, std::size_t length, UINT code_page) {
  std::wstring wide;
  if (length == 0 || append_exact(wide, code_page, text, length)) return wide;
  for (std::size_t at = 0; at < length;) {
    const std::size_t want = character_bytes(code_page, static_cast<unsigned char>(text[at]));
    if (want <= length - at && append_exact(wide, code_page, text + at, want)) {
      at += want;
      continue;
    }
    wide += L'\uFFFD';
    ++at;  // the next byte may begin a good character
  }
  return wide;
}

// A language name ("zh-Hant-TW"), which is ASCII, as bytes.
std::string narrow(const wchar_t* name) {
  std::string bytes;
  for (; *name != L'\0'; ++name) bytes += *name < 0x80 ? static_cast<char>(*name) : '?';
  return bytes;
}

// A path longer than this leaves the program's folder unknown.
constexpr std::size_t k_longest_path = 32768;

}  // namespace

namespace console::platform {

void set_up_standard_streams() {
  // The C runtime writes each line feed as CR LF, as Windows programs do. On input the game
  // applies its own text mode (CR dropped, 0x1A ends), so the runtime's must not come first.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_TEXT);
}

bool is_interactive(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

// The console writer converts the Shift-JIS texts itself, and pipes get Shift-JIS.
bool shows_utf8(std::FILE*) { return false; }

// A console converts every text to UTF-16, so it shows every catalogue; a pipe, a file or NUL
// keeps the built-in bytes.
Display display_of(std::FILE* stream) {
  return console_of(stream) != nullptr ? Display::unicode : Display::unwatched;
}

std::vector<std::string> player_languages() {
  std::vector<std::string> languages;
  ULONG count = 0;
  ULONG size = 0;
  if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size > 0) {
    // A list of names, each ending in a NUL, and one more NUL at the end.
    std::vector<wchar_t> list(size);
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, list.data(), &size)) {
      for (const wchar_t* name = list.data(); *name != L'\0'; name += std::wcslen(name) + 1) {
        languages.push_back(narrow(name));
      }
    }
  }
  if (!languages.empty()) return languages;
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                       LOCALE_NAME_MAX_LENGTH, 0) > 0) {
    languages.push_back(narrow(name));
  }
  return languages;
}

int read_byte(std::FILE* stream) { return std::getc(stream); }

std::uint32_t random_seed() { return static_cast<std::uint32_t>(std::time(nullptr)); }

// A console shows the game's text alone.
void report_event(Event, const std::int32_t*, int) {}

bool write_text(std::FILE* stream, const char* text, std::size_t length, Encoding encoding) {
  const HANDLE console = console_of(stream);
  if (console == nullptr) return std::fwrite(text, 1, length, stream) == length;
  const UINT code_page = encoding == Encoding::utf8 ? CP_UTF8 : k_shift_jis_code_page;
  const std::wstring wide = to_utf16(text, length, code_page);
  // Whatever the stream still buffers was printed first.
  if (std::fflush(stream) != 0) return false;
  for (std::size_t done = 0; done < wide.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
    DWORD written = 0;
    if (WriteConsoleW(console, wide.data() + done, chunk, &written, nullptr) == 0 || written == 0) {
      errno = EIO;
      return false;
    }
    done += written;
  }
  return true;
}

std::string executable_folder() {
  for (std::vector<char> path(260); path.size() <= k_longest_path; path.resize(path.size() * 2)) {
    // The ANSI form, which is the form fopen() takes the name in.
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length == size) continue;  // cut short: try a longer buffer
    std::string folder(path.data(), length);
    const std::size_t cut = folder.find_last_of("\\/");
    if (cut == std::string::npos) return {};
    folder.resize(cut + 1);
    return folder;
  }
  return {};
}

}  // namespace console::platform
