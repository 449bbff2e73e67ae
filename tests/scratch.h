#ifndef TESSARY_TESTS_SCRATCH_H
#define TESSARY_TESTS_SCRATCH_H

// Scratch files for the tests: a file's bytes, and a file of this process that removes itself.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

// The bytes of the file at `path` ("" when it cannot be read).
inline std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch file holding `text`, named apart from every other of this process; removed with it.
struct TempFile {
  std::string path;
  explicit TempFile(const std::string& text) {
    static int count = 0;
    path = testing::TempDir() + "tessary_" + std::to_string(::getpid()) + "_" +
           std::to_string(count++) + ".txt";
    std::ofstream(path, std::ios::binary) << text;
  }
  ~TempFile() { std::remove(path.c_str()); }
};

#endif
