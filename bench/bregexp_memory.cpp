#include "bregexp_memory.h"

#include <fstream>
#include <string>

namespace bench {

namespace {

// A "VmRSS:"/"VmHWM:" line of /proc/self/status, in bytes.
std::size_t statusBytes(const std::string &key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0) return std::stoul(line.substr(key.size())) * 1024;
    }
    return 0;
}

}  // namespace

PeakMemory::PeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    reset_ = static_cast<bool>(clear);
    baseline_ = statusBytes("VmRSS:");
}

std::size_t PeakMemory::extraBytes() const {
    std::size_t peak = statusBytes("VmHWM:");
    return peak > baseline_ ? peak - baseline_ : 0;
}

}  // namespace bench
