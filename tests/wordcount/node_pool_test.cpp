#include "node_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// More slots than two blocks hold, so that slots come from three.
constexpr int kSlots = 80000;

std::vector<void*> allocate(node_pool& pool, int n) {
    std::vector<void*> slots;
    for (int i = 0; i < n; ++i) {
        slots.push_back(pool.allocate());
        // Filling the whole slot lets a sanitizer catch a slot that is not the pool's to give.
        std::memset(slots.back(), 0xA5, node_pool::kSlotBytes);
    }
    return slots;
}

std::vector<void*> sorted(std::vector<void*> slots) {
    std::sort(slots.begin(), slots.end(), std::less<void*>());
    return slots;
}

// A pool that kept its blocks once its last slot was released would leave them unreachable when
// it goes out of scope, which the leak check of AddressSanitizer reports when the suite runs
// under it.
TEST(NodePool, HandsOutAlignedSeparateSlotsAndReusesReleasedOnesFirst) {
    node_pool pool;
    std::vector<void*> slots = allocate(pool, kSlots);
    const std::vector<void*> in_order = sorted(slots);
    for (std::size_t i = 0; i < in_order.size(); ++i) {
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(in_order[i]) % node_pool::kSlotBytes, 0u);
        if (i > 0) {
            ASSERT_GE(static_cast<char*>(in_order[i]) - static_cast<char*>(in_order[i - 1]),
                      static_cast<std::ptrdiff_t>(node_pool::kSlotBytes));
        }
    }
    std::vector<void*> released;
    for (std::size_t i = 0; i < slots.size(); i += 3) {
        pool.release(slots[i]);
        released.push_back(slots[i]);
        slots[i] = nullptr;
    }
    const std::vector<void*> again = allocate(pool, static_cast<int>(released.size()));
    EXPECT_EQ(sorted(again), sorted(released));
    for (void* slot : slots) {
        if (slot != nullptr) {
            pool.release(slot);
        }
    }
    for (void* slot : again) {
        pool.release(slot);
    }
    // Every block has gone back: the pool starts again from a new one.
    for (void* slot : allocate(pool, 2)) {
        pool.release(slot);
    }
}

}  // namespace
