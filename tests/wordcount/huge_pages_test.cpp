#include "huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// The advice is invisible in behaviour: only the flag "hg" of the mapping in Linux's
// /proc/self/smaps shows that it was given.
TEST(HugePages, LargeAllocationIsAdvised) {
    if (!std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled")) {
        GTEST_SKIP() << "needs Linux with transparent huge pages";
    }
    const std::vector<char, huge_page_allocator<char>> large(4 * kHugePageBytes);
    const auto middle = reinterpret_cast<std::uintptr_t>(large.data() + 2 * kHugePageBytes);
    std::ifstream smaps("/proc/self/smaps");
    std::string flags;
    bool holds_middle = false;
    for (std::string line; std::getline(smaps, line) && flags.empty();) {
        const std::size_t dash = line.find('-');
        if (dash != std::string::npos && line.find(' ') > dash && line.find(':') > dash) {
            holds_middle = std::stoull(line, nullptr, 16) <= middle &&
                           middle < std::stoull(line.substr(dash + 1), nullptr, 16);
        } else if (holds_middle && line.rfind("VmFlags:", 0) == 0) {
            flags = line;
        }
    }
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}
