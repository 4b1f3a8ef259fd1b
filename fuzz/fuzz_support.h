// What the fuzz targets share: the fuzzer's bytes as a standard input read from memory, a
// sink for the game's output, and a way back from the program's ends so that one process can
// run millions of inputs. Nothing here touches the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "console/console.h"

namespace fuzz_support {

// Thrown by the exit hook where the game would end the process.
struct ProgramEnded {
  int status;
};

// Makes end_program() throw ProgramEnded instead of exiting.
inline void catch_program_ends() {
  console::set_exit_hook([](int status) { throw ProgramEnded{status}; });
}

// /dev/null, opened once for the whole fuzzing run: the output is not what is being tested,
// only that producing it is safe.
inline std::FILE* null_output() {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) std::abort();
  return sink;
}

// A read-only FILE* over a private copy of some bytes (fmemopen needs writable memory in its
// signature, and the fuzzer's buffer is const). Closed when it goes out of scope.
class MemoryInput {
 public:
  MemoryInput(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {
    // One spare byte keeps data() non-null for an empty input.
    bytes_.push_back(0);
    file_ = fmemopen(bytes_.data(), size, "r");
    // POSIX lets fmemopen refuse a size of 0; an empty input is then /dev/null.
    if (file_ == nullptr && size == 0) file_ = std::fopen("/dev/null", "r");
    if (file_ == nullptr) std::abort();
  }
  ~MemoryInput() { std::fclose(file_); }
  MemoryInput(const MemoryInput&) = delete;
  MemoryInput& operator=(const MemoryInput&) = delete;

  std::FILE* file() const { return file_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::FILE* file_;
};

}  // namespace fuzz_support

// Stops the fuzzer with a message when an invariant of the game does not hold; libFuzzer
// saves the input that did it.
#define FUZZ_CHECK(condition, ...)                            \
  do {                                                        \
    if (!(condition)) {                                       \
      std::fprintf(stderr, "check failed: %s: ", #condition); \
      std::fprintf(stderr, __VA_ARGS__);                      \
      std::fprintf(stderr, "\n");                             \
      std::abort();                                           \
    }                                                         \
  } while (0)
