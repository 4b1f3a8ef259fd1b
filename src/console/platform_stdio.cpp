// The platform seam on a console: the C library's streams, read with blocking reads.
#include <cstdint>
#include <vector>

#include "console/platform.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif
#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace console::platform {

namespace {

// The program's own path, or empty. A path longer than this is left unknown.
constexpr std::size_t k_longest_path = 32768;

std::string executable_path() {
  std::vector<char> path(260);
  for (; path.size() <= k_longest_path; path.resize(path.size() * 2)) {
#if defined(_WIN32)
    // The ANSI form, which is the form fopen() takes the name in.
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) return std::string(path.data(), length);  // else it was cut short
#elif defined(__APPLE__)
    std::uint32_t size = static_cast<std::uint32_t>(path.size());
    if (_NSGetExecutablePath(path.data(), &size) == 0) return path.data();
#elif defined(__linux__)
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      return std::string(path.data(), static_cast<std::size_t>(length));
    }
#else
    return {};
#endif
  }
  return {};
}

}  // namespace

bool is_interactive(std::FILE* stream) {
#if __has_include(<unistd.h>)
  return isatty(fileno(stream)) != 0;
#else
  (void)stream;
  return true;  // can't tell: flushing every print is always correct, only slower
#endif
}

int read_byte(std::FILE* stream) { return std::getc(stream); }

std::string executable_folder() {
  std::string path = executable_path();
#if defined(_WIN32)
  const std::size_t cut = path.find_last_of("\\/");
#else
  const std::size_t cut = path.rfind('/');
#endif
  if (cut == std::string::npos) return {};
  path.resize(cut + 1);
  return path;
}

}  // namespace console::platform
