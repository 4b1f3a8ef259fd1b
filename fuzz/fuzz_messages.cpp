// Fuzz target: the message-file loader on arbitrary file contents, then every slot printed with
// the numbers the game passes, before and after -sjis doubling and -quiet blanking.
//
// The file lives in memory (memfd_create) and is named to the loader as /proc/self/fd/N, the
// path it would get from -mesg=, so the loader's own open and text-mode reading are what run.
// A refused file must leave the table as it was; an accepted one must hold exactly the file's
// lines, and every directive in it must be one the C library defines for an int argument.
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/messages.h"
#include "fuzz_support.h"

namespace {

constexpr int k_end_of_text = 0x1A;

// The slot texts the loader must store: CR bytes vanish, 0x1A ends the file, a slot takes up to
// 254 bytes ending after a line feed, 42 slots at most, and a slot keeps its text only up to a
// NUL byte.
std::vector<std::string> expected_slots(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> slots;
  std::string chunk;
  auto close_chunk = [&] {
    if (slots.size() < console::k_slot_count) slots.push_back(chunk.substr(0, chunk.find('\0')));
    chunk.clear();
  };
  for (std::size_t i = 0; i < size && data[i] != k_end_of_text; ++i) {
    if (data[i] == '\r') continue;
    chunk.push_back(static_cast<char>(data[i]));
    if (data[i] == '\n' || chunk.size() == console::k_slot_bytes - 1) close_chunk();
  }
  if (!chunk.empty()) close_chunk();
  return slots;
}

// Whether `text` is a format whose every directive the C standard defines when it is handed
// `arguments` ints: "%%", or flags, an optional width and precision, and one of d i o u x X c.
// The '#' flag is defined only for o x X; the '0' flag and a precision not for c. Written apart
// from the game's own check, as the second opinion it is compared with.
bool is_defined_format(const char* text, int arguments) {
  int used = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    bool alternate = false;
    bool zero_pad = false;
    for (; *p != '\0' && std::strchr("-+ #0", *p) != nullptr; ++p) {
      alternate |= *p == '#';
      zero_pad |= *p == '0';
    }
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p) ++digits;
    if (digits > 3) return false;  // a width the game's output could choke on
    bool precision = false;
    if (*p == '.') {
      precision = true;
      digits = 0;
      for (++p; *p >= '0' && *p <= '9'; ++p) ++digits;
      if (digits > 3) return false;
    }
    if (*p == '\0' || std::strchr("diouxXc", *p) == nullptr) return false;
    if (alternate && std::strchr("oxX", *p) == nullptr) return false;
    if ((zero_pad || precision) && *p == 'c') return false;
    if (++used > arguments) return false;
  }
  return true;
}

// The numbers each slot is printed with, the extreme ones included.
const std::int32_t k_values[4] = {INT_MIN, -1, 0, INT_MAX};

void print_every_slot() {
  for (int slot = 0; slot < console::k_slot_count; ++slot) {
    console::print_slot_values(slot, k_values, console::slot_argument_count(slot));
  }
}

void check_table_is_defined(const char* when) {
  for (int slot = 0; slot < console::k_slot_count; ++slot) {
    const char* text = console::message_table[slot].data();
    FUZZ_CHECK(std::memchr(text, '\0', console::k_slot_bytes) != nullptr,
               "slot %d is not terminated %s", slot, when);
    FUZZ_CHECK(is_defined_format(text, console::slot_argument_count(slot)),
               "slot %d holds \"%s\" %s", slot, text, when);
  }
}

// The in-memory file the loader reads, created once; each run rewrites its contents.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("hitblow_messages", 0)) {
    if (fd_ < 0) std::abort();
    std::snprintf(path_, sizeof path_, "/proc/self/fd/%d", fd_);
  }
  void set_contents(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    std::size_t written = 0;
    while (written < size) {
      const ssize_t n = pwrite(fd_, data + written, size - written, static_cast<off_t>(written));
      if (n <= 0) std::abort();
      written += static_cast<std::size_t>(n);
    }
  }
  const char* path() const { return path_; }

 private:
  int fd_;
  char path_[64];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryFile file;
  static const bool hooked = (fuzz_support::catch_program_ends(), true);
  (void)hooked;
  file.set_contents(data, size);
  console::reset_message_table();
  const console::MessageTable builtin = console::message_table;
  // The refusal pauses for Return; there is no input, so it returns at once.
  fuzz_support::MemoryInput no_input(data, 0);
  console::use_streams(no_input.file(), fuzz_support::null_output());

  const std::vector<std::string> want = expected_slots(data, size);
  int filled = -1;
  try {
    filled = console::load_message_file(file.path());
  } catch (const fuzz_support::ProgramEnded& ended) {
    FUZZ_CHECK(ended.status == -1, "a refused file ends with %d", ended.status);
    FUZZ_CHECK(console::message_table == builtin, "a refused file changed the table");
    bool any_unsafe = false;
    for (std::size_t slot = 0; slot < want.size(); ++slot) {
      any_unsafe |=
          console::check_format(want[slot].c_str(),
                                console::slot_argument_count(static_cast<int>(slot))) != nullptr;
    }
    FUZZ_CHECK(any_unsafe, "a file with no unsafe line was refused");
  }

  if (filled >= 0) {
    FUZZ_CHECK(filled == static_cast<int>(want.size()), "%d slots filled, %zu lines", filled,
               want.size());
    for (int slot = 0; slot < console::k_slot_count; ++slot) {
      const std::string stored = console::message_table[slot].data();
      const std::string expected = slot < filled ? want[slot] : builtin[slot].data();
      FUZZ_CHECK(stored == expected, "slot %d holds the wrong text", slot);
    }
  }
  check_table_is_defined("after loading");
  print_every_slot();
  console::double_backslashes();
  check_table_is_defined("after doubling");
  print_every_slot();
  console::blank_thinking_slots();
  print_every_slot();
  console::use_streams(nullptr, nullptr);
  return 0;
}
