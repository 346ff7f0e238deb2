#ifndef TESTS_SUPPORT_LIVE_BLOCKS_H_
#define TESTS_SUPPORT_LIVE_BLOCKS_H_

// Counts of the blocks on the free store: a test executable linked with live_blocks.cpp gets a
// global operator new and delete that count every allocation and release, so that its tests can
// see every node freed, and see code that must not allocate do without.
// They are defined in their own source file, where no caller can inline them: GCC would otherwise
// pair the inlined std::free with the operator new of the caller and warn of a mismatch.

// The number of blocks allocated and not yet released.
long live_blocks();

// The number of blocks allocated since the program began, released or not.
long blocks_allocated();

#endif  // TESTS_SUPPORT_LIVE_BLOCKS_H_
