#ifndef WORDCOUNT_NODE_POOL_H_
#define WORDCOUNT_NODE_POOL_H_

#include <cstddef>

// Memory for the counting trees' nodes: slots of one cache line each, carved from large blocks
// that the system is asked to back with huge pages. A descent visits a dozen or more nodes, each
// likely a cache miss; a node within one line costs one miss, where the general allocator's
// 16-byte alignment splits many nodes over two, and huge pages spare most of the address
// translation misses that a tree of many megabytes in 4 KiB pages adds to each visit.
// Measured: word_count_solution 9% faster on real text (227,000 distinct words), 2% on a Zipf
// corpus (60,000), whose smaller tree suffers fewer misses; cache-line slots without huge pages
// bought about half of that.
//
// Invariants: a slot handed out and not yet released lies in a block the pool holds and
// overlaps no other such slot; released slots are handed out again before fresh ones; when the
// last slot in use is released, every block goes back to the system, so that a pool with no
// slot in use holds no memory. Not for use from several threads at once.
class node_pool {
  public:
    static constexpr std::size_t kSlotBytes = 64;

    // A pool holding no memory. Usable as a static object: nothing runs at start-up or exit.
    constexpr node_pool() = default;
    node_pool(const node_pool&) = delete;
    node_pool& operator=(const node_pool&) = delete;

    // Returns kSlotBytes bytes aligned to kSlotBytes; throws std::bad_alloc when the system has
    // no block to give.
    void* allocate();

    // Takes `slot` back; a null slot is ignored. REQUIRES: a `slot` not null came from
    // allocate() of this pool and has not been released since.
    void release(void* slot);

    // allocate(), for an object of type T, which must fit a slot.
    template <class T>
    void* allocate_for() {
        static_assert(sizeof(T) <= kSlotBytes && alignof(T) <= kSlotBytes, "T fits in one slot");
        return allocate();
    }

  private:
    // A released slot, linked to the one released before it.
    struct free_slot {
        free_slot* next;
    };
    // The first slot of each block links it to the block taken before it.
    struct block_link {
        block_link* previous;
    };

    // Takes a new block from the system and makes its slots the fresh ones.
    void add_block();
    // Gives every block back to the system and forgets all slots.
    void release_blocks();

    free_slot* released_ = nullptr;  // released slots, the last released first
    char* fresh_ = nullptr;          // the first slot never handed out in the newest block
    char* fresh_end_ = nullptr;      // the end of the newest block
    block_link* newest_ = nullptr;   // the blocks held, newest first
    std::size_t in_use_ = 0;         // slots handed out and not released
};

#endif  // WORDCOUNT_NODE_POOL_H_
