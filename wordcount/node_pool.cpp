#include "node_pool.h"

#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// A block is one huge page of the common processors, aligned to it, so that the system can back
// it with a single page.
constexpr std::size_t kBlockBytes = 2 * 1024 * 1024;
constexpr std::align_val_t kBlockAlignment{kBlockBytes};

// Asks the system to back `block` with huge pages; a hint only, whose refusal changes nothing
// but speed. Where the system has no such hint, the block keeps the pages it gets.
void advise_huge_pages(void* block) {
#ifdef MADV_HUGEPAGE
    madvise(block, kBlockBytes, MADV_HUGEPAGE);
#else
    static_cast<void>(block);
#endif
}

// Under AddressSanitizer the slots not in use are marked off limits, so that a use of a
// released node is reported as it would be for memory freed to the general allocator.
#if defined(ASAN_POISON_MEMORY_REGION)
void forbid(void* address, std::size_t bytes) {
    ASAN_POISON_MEMORY_REGION(address, bytes);
}
void allow(void* address, std::size_t bytes) {
    ASAN_UNPOISON_MEMORY_REGION(address, bytes);
}
#else
void forbid(void*, std::size_t) {}
void allow(void*, std::size_t) {}
#endif

}  // namespace

void* node_pool::allocate() {
    if (released_ != nullptr) {
        free_slot* slot = released_;
        allow(slot, kSlotBytes);
        released_ = slot->next;
        ++in_use_;
        return slot;
    }
    if (fresh_ == fresh_end_) {
        add_block();
    }
    char* slot = fresh_;
    fresh_ += kSlotBytes;
    allow(slot, kSlotBytes);
    ++in_use_;
    return slot;
}

void node_pool::release(void* slot) {
    if (slot == nullptr) {
        return;
    }
    released_ = new (slot) free_slot{released_};
    forbid(slot, kSlotBytes);
    if (--in_use_ == 0) {
        release_blocks();
    }
}

void node_pool::add_block() {
    char* block = static_cast<char*>(::operator new(kBlockBytes, kBlockAlignment));
    advise_huge_pages(block);
    newest_ = new (block) block_link{newest_};
    fresh_ = block + kSlotBytes;
    fresh_end_ = block + kBlockBytes;
    forbid(fresh_, kBlockBytes - kSlotBytes);
}

void node_pool::release_blocks() {
    while (newest_ != nullptr) {
        block_link* block = newest_;
        newest_ = block->previous;
        allow(block, kBlockBytes);
        ::operator delete(block, kBlockAlignment);
    }
    released_ = nullptr;
    fresh_ = nullptr;
    fresh_end_ = nullptr;
}
