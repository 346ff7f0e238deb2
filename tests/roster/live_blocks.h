#ifndef TESTS_ROSTER_LIVE_BLOCKS_H_
#define TESTS_ROSTER_LIVE_BLOCKS_H_

// The number of blocks the program holds on the free store: the global operator new and delete
// of the roster tests count every allocation and release, so that tests can see every node freed.
// They are defined in their own source file, where no caller can inline them: GCC would otherwise
// pair the inlined std::free with the operator new of the caller and warn of a mismatch.
long live_blocks();

#endif  // TESTS_ROSTER_LIVE_BLOCKS_H_
