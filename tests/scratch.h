// A folder of the test program's own for the files its tests write, made on first use under
// GoogleTest's temporary folder and removed, with everything in it, when the program ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace testing_support {

class Scratch {
 public:
  // The path of `name` in the folder; the folder exists, the file not necessarily.
  static std::string path(const std::string& name) { return (folder().root_ / name).string(); }

  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

 private:
  Scratch() {
    std::random_device random;
    // A name no other run holds: a run of the suite beside this one must not share it.
    do {
      root_ = std::filesystem::path(::testing::TempDir()) /
              ("hitblow_test_" + std::to_string(random()));
    } while (!std::filesystem::create_directory(root_));
  }

  static Scratch& folder() {
    static Scratch scratch;
    return scratch;
  }

  std::filesystem::path root_;
};

}  // namespace testing_support
