// The message table: the built-in texts, message files, the format check and the rewrites.
#include "console/messages.h"

#include <array>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "console/builtin_messages.h"
#include "console/platform.h"

namespace console {

MessageTable message_table = [] {
  MessageTable table{};
  for (int slot = 0; slot < k_slot_count; ++slot) {
    std::strncpy(table[slot].data(), k_builtin_messages[slot], k_slot_bytes - 1);
  }
  return table;
}();

namespace {

// The character set of each slot's text: the built-in texts' until a message file replaces it.
std::array<Encoding, k_slot_count> g_slot_encodings = [] {
  std::array<Encoding, k_slot_count> encodings;
  encodings.fill(Encoding::shift_jis);
  return encodings;
}();

bool is_digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// Skips up to three decimal digits; more make the directive unsafe (and absurd).
bool skip_small_number(const char*& p) {
  int digits = 0;
  while (is_digit(static_cast<unsigned char>(*p))) {
    ++p;
    if (++digits > 3) return false;
  }
  return true;
}

}  // namespace

void reset_message_table(Encoding encoding) {
  const char* const* texts =
      encoding == Encoding::utf8 ? k_builtin_messages_utf8 : k_builtin_messages;
  for (int slot = 0; slot < k_slot_count; ++slot) {
    message_table[slot].fill('\0');
    std::strncpy(message_table[slot].data(), texts[slot], k_slot_bytes - 1);
  }
  g_slot_encodings.fill(encoding);
}

Encoding slot_encoding(int slot) {
  return slot >= 0 && slot < k_slot_count ? g_slot_encodings[slot] : Encoding::shift_jis;
}

int slot_argument_count(int slot) {
  return slot >= 0 && slot < k_slot_count ? k_slot_arguments[slot] : 0;
}

const char* check_format(const char* text, int arguments, int* bad_offset) {
  int conversions = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '%') continue;
    const char* start = p++;
    const char* reason = nullptr;
    if (*p == '%') continue;
    const char* const flags = p;
    while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) ++p;
    const std::string_view flag_run(flags, static_cast<std::size_t>(p - flags));
    const bool width_fits = skip_small_number(p);
    const bool has_precision = width_fits && *p == '.';
    if (!width_fits) {
      reason = "a field width of more than three digits";
    } else if (has_precision && (++p, !skip_small_number(p))) {
      reason = "a precision of more than three digits";
    } else if (*p == '\0') {
      reason = "a '%' that ends the line unfinished";
    } else if (std::strchr("diouxXc", *p) == nullptr) {
      reason = "a conversion other than %d %i %u %o %x %X %c or %%";
    } else if (flag_run.find('#') != std::string_view::npos && std::strchr("oxX", *p) == nullptr) {
      // The C library defines '#' for %o %x %X only; elsewhere the output is undefined.
      reason = "a '#' flag on a conversion other than %o %x %X";
    } else if (*p == 'c' && (has_precision || flag_run.find('0') != std::string_view::npos)) {
      // Likewise a '0' flag or a precision on %c.
      reason = "a '0' flag or a precision on %c";
    } else if (++conversions > arguments) {
      reason = "more conversions than this message has numbers to show";
    }
    if (reason != nullptr) {
      if (bad_offset != nullptr) *bad_offset = static_cast<int>(start - text);
      return reason;
    }
  }
  return nullptr;
}

void print_slot_values(int slot, const std::int32_t* values, int count) {
  // Every slot's text has passed check_format() for the number of values its callers pass, so
  // its conversions read only those; the formatter ignores unused trailing ones.
  assert(slot >= 0 && slot < k_slot_count && count == slot_argument_count(slot));
  std::int32_t padded[4] = {};
  for (int i = 0; i < count && i < 4; ++i) padded[i] = values[i];
  const char* text = message_table[slot].data();
  if (*text == '\0') return;
  print_in(g_slot_encodings[slot], text, padded[0], padded[1], padded[2], padded[3]);
}

namespace {

// Where a catalogue name is looked up, relative to the program's folder, in this order: the
// folder the install layout gives the catalogues (the build sets it), then messages/ beside the
// program (the Windows zip, a build tree).
#ifndef HITBLOW_CATALOGUE_DIR
#define HITBLOW_CATALOGUE_DIR "messages"
#endif
constexpr const char* k_catalogue_folders[] = {HITBLOW_CATALOGUE_DIR "/", "messages/"};

// Letters, digits, '-' and '_', at least one: a name with no separator, dot or drive letter,
// which can't lead out of a catalogue folder.
bool is_catalogue_name(const char* name) {
  if (*name == '\0') return false;
  for (const char* p = name; *p != '\0'; ++p) {
    const char c = *p;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       is_digit(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

// Opens `path` as given; when nothing opens under it and it is a catalogue name, NAME.txt in
// each catalogue folder in turn. Returns nullptr when none opens; `opened` receives the path of
// the file that did.
std::FILE* open_message_file(const char* path, std::string& opened) {
  opened = path;
  if (std::FILE* file = std::fopen(path, "rb")) return file;
  if (!is_catalogue_name(path)) return nullptr;
  const std::string folder = platform::executable_folder();
  if (folder.empty()) return nullptr;
  for (const char* catalogues : k_catalogue_folders) {
    opened = folder + catalogues + path + ".txt";
    if (std::FILE* file = std::fopen(opened.c_str(), "rb")) return file;
  }
  return nullptr;
}

// Reports a message file that can't be used and ends the run; nothing has been stored yet.
// `path` is the name as given when the file can't be read, the file that was read otherwise.
[[noreturn]] void reject_message_file(const char* path, int line_number, const char* reason) {
  if (line_number == 0) {
    print("Cannot open message file \"%s\"\n", path);
  } else {
    print("Message file \"%s\", line %d: %s\n", path, line_number, reason);
  }
  pause_and_end(-1);
}

// Follows a byte stream and tells whether it is well-formed UTF-8: no stray continuation byte,
// no overlong form, no surrogate, nothing above U+10FFFF, no character cut at the end. A file
// written in Shift-JIS almost never passes: its lead bytes 0x81 to 0x9F are continuation bytes.
struct Utf8Check {
  int pending = 0;                        // continuation bytes still due
  unsigned char low = 0x80, high = 0xBF;  // the range of the next continuation byte
  bool broken = false;

  void feed(unsigned char byte) {
    if (pending > 0) {
      broken |= byte < low || byte > high;
      low = 0x80;
      high = 0xBF;
      --pending;
      return;
    }
    if (byte < 0x80) return;
    if (byte >= 0xC2 && byte <= 0xDF) {
      pending = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      pending = 2;
      if (byte == 0xE0) low = 0xA0;   // overlong below U+0800
      if (byte == 0xED) high = 0x9F;  // the surrogates
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      pending = 3;
      if (byte == 0xF0) low = 0x90;   // overlong below U+10000
      if (byte == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      broken = true;
    }
  }
  bool valid() const { return !broken && pending == 0; }
};

// A message file read in text mode; `ended` stays set once the end (or a 0x1A) is met. `utf8`
// has seen every byte read so far.
struct TextFile {
  std::FILE* file;
  bool ended;
  Utf8Check utf8;
};

// The loader's bounded line read: up to 254 bytes, ending after a line feed (kept) or at the
// end of the file. Returns the number of bytes read; 0 only at the end.
int read_file_line(TextFile& text, char (&buffer)[k_slot_bytes]) {
  int length = 0;
  while (length < k_slot_bytes - 1 && !text.ended) {
    const int byte = read_text_byte(text.file);
    if (byte == EOF) {
      text.ended = true;
      break;
    }
    buffer[length++] = static_cast<char>(byte);
    text.utf8.feed(static_cast<unsigned char>(byte));
    if (byte == '\n') break;
  }
  buffer[length] = '\0';
  return length;
}

// A message file read whole into a copy of the table, which is kept only if every line fits.
struct LoadedFile {
  MessageTable table = message_table;
  int slots = 0;
  Encoding encoding = Encoding::shift_jis;
  std::string opened;   // the file read, or the name as given when none could be
  int line_number = 0;  // the line that doesn't fit its slot; 0 when none, or unreadable
  const char* reason = nullptr;
  bool readable = true;
};

LoadedFile read_message_file(const char* path) {
  LoadedFile loaded;
  // Binary: the loader applies the text mode itself, the same on every system; on Windows the
  // C library's text mode would translate the bytes first.
  std::FILE* file = open_message_file(path, loaded.opened);
  if (file == nullptr) {
    loaded.opened = path;
    loaded.readable = false;
    return loaded;
  }
  TextFile text{file, false, {}};
  int line_number = 1;  // the file line where the next slot starts
  char buffer[k_slot_bytes];
  while (loaded.slots < k_slot_count) {
    const int length = read_file_line(text, buffer);
    if (length == 0) break;
    // The slot keeps the text up to its first NUL byte, if the line holds one.
    std::strcpy(loaded.table[loaded.slots].data(), buffer);
    loaded.reason = check_format(buffer, slot_argument_count(loaded.slots));
    if (loaded.reason != nullptr) {
      loaded.line_number = line_number;
      break;
    }
    if (buffer[length - 1] == '\n') ++line_number;
    ++loaded.slots;
  }
  // A directory opens but fails to read: that is an unreadable file too.
  if (loaded.reason == nullptr && std::ferror(file) != 0) {
    loaded.opened = path;
    loaded.readable = false;
  }
  std::fclose(file);
  // The shipped files are UTF-8; one that isn't was written for the built-in character set.
  loaded.encoding = text.utf8.valid() ? Encoding::utf8 : Encoding::shift_jis;
  return loaded;
}

// Takes a file that was read and fits into the table; returns the slots it filled.
int use_loaded_file(const LoadedFile& loaded) {
  message_table = loaded.table;
  for (int filled = 0; filled < loaded.slots; ++filled) g_slot_encodings[filled] = loaded.encoding;
  return loaded.slots;
}

// The catalogue name of the built-in Japanese, for a player who wants it whatever the locale.
constexpr char k_builtin_catalogue[] = "ja";

// Whether `path` names the built-in texts: "ja", when no file of that name opens.
bool names_builtin_texts(const LoadedFile& loaded, const char* path) {
  return !loaded.readable && std::strcmp(path, k_builtin_catalogue) == 0;
}

}  // namespace

int load_message_file(const char* path) {
  const LoadedFile loaded = read_message_file(path);
  if (names_builtin_texts(loaded, path)) {
    reset_message_table(output_encoding());
    return k_slot_count;
  }
  if (!loaded.readable) reject_message_file(path, 0, nullptr);
  if (loaded.reason != nullptr) {
    reject_message_file(loaded.opened.c_str(), loaded.line_number, loaded.reason);
  }
  return use_loaded_file(loaded);
}

bool load_catalogue_quietly(const char* name) {
  const LoadedFile loaded = read_message_file(name);
  if (!loaded.readable || loaded.reason != nullptr) return false;
  use_loaded_file(loaded);
  return true;
}

void double_backslashes() {
  for (auto& slot : message_table) {
    char doubled[k_slot_bytes];
    int length = 0;
    for (const char* p = slot.data(); *p != '\0' && length < k_slot_bytes - 1; ++p) {
      doubled[length++] = *p;
      if (*p == '\\' && length < k_slot_bytes - 1) doubled[length++] = '\\';
    }
    doubled[length] = '\0';
    // The cut at 254 bytes may split a directive such as "%04d" or "%%" in two; drop the
    // broken tail rather than hand the formatter half a directive.
    int bad_offset = 0;
    const int slot_number = static_cast<int>(&slot - message_table.data());
    if (check_format(doubled, slot_argument_count(slot_number), &bad_offset) != nullptr) {
      doubled[bad_offset] = '\0';
    }
    std::memcpy(slot.data(), doubled, static_cast<std::size_t>(length) + 1);
    print_in(g_slot_encodings[slot_number], "%s\n", slot.data());
  }
}

void blank_thinking_slots() {
  for (int slot = 0; slot < k_slot_count; ++slot) {
    if (slot_group(slot) == SlotGroup::thinking) message_table[slot][0] = '\0';
  }
}

}  // namespace console
