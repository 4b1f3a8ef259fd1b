// Runs game code in-process against a scripted standard input, captures what it prints, and
// catches the program's end (end_program) instead of letting it exit the test binary.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "console/console.h"
#include "console/messages.h"

namespace testing_support {

// What end_program() throws while a ConsoleSession is active.
struct ProgramEnded {
  int status;
};

class ConsoleSession {
 public:
  // `input` is everything standard input will hold; the message table starts built-in.
  explicit ConsoleSession(const std::string& input) {
    in_ = std::tmpfile();
    out_ = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in_);
    std::rewind(in_);
    console::reset_message_table();
    console::use_streams(in_, out_);
    console::set_exit_hook([](int status) { throw ProgramEnded{status}; });
  }
  ~ConsoleSession() {
    console::set_exit_hook(nullptr);
    console::use_streams(nullptr, nullptr);
    console::reset_message_table();
    std::fclose(in_);
    std::fclose(out_);
  }
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Runs `body`; returns the exit status if it ended the program, nothing if it returned.
  std::optional<int> run(const std::function<void()>& body) {
    try {
      body();
    } catch (const ProgramEnded& ended) {
      return ended.status;
    }
    return std::nullopt;
  }

  // Everything printed so far.
  std::string output() {
    std::fflush(out_);
    std::string text;
    std::rewind(out_);
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, out_)) > 0) text.append(buffer, n);
    std::fseek(out_, 0, SEEK_END);
    return text;
  }

 private:
  std::FILE* in_;
  std::FILE* out_;
};

}  // namespace testing_support
