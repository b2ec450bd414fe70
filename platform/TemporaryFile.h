// A temporary file that is removed again unless it was handed over, so that
// no failure path leaves one behind.
#pragma once

#include <string>
#include <utility>

#include "Platform.h"

namespace platform {

class TemporaryFile {
 public:
  explicit TemporaryFile(std::string name) : name_(std::move(name)) {}
  ~TemporaryFile() {
    if (!name_.empty()) RemoveFile(name_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& name() const { return name_; }
  void Release() { name_.clear(); }

 private:
  std::string name_;
};

}  // namespace platform
