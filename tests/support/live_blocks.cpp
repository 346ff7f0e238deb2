#include "live_blocks.h"

#include <cstdlib>
#include <new>

namespace {
long blocks = 0;
long allocations = 0;
}  // namespace

long live_blocks() {
    return blocks;
}

long blocks_allocated() {
    return allocations;
}

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++blocks;
    ++allocations;
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --blocks;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
