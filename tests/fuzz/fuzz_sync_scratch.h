// A scratch folder per fuzzing process, and file helpers.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

// Removed when the fuzzing process ends; the targets only put plain files
// into it.
inline const std::string& ScratchDir() {
  // A plain array: it outlives every destructor that runs at exit.
  static char path[] = "/tmp/quorvel-fuzz-XXXXXX";
  static const std::string dir = [] {
    if (!::mkdtemp(path)) std::abort();
    std::atexit([] { std::system((std::string("rm -rf '") + path + "'").c_str()); });
    return std::string(path) + "/";
  }();
  return dir;
}

inline void PutFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

inline std::string GetFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
