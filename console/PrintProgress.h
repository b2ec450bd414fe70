#pragma once

#include <cstdint>
#include <string>

// Progress printer for the synchronisation run: the search notice for the
// source file (index -1), then each worked file's name.
void PrintProgress(const std::string& fileName, const std::string& command, std::int32_t index);
