#ifndef COMMON_MEMORY_EXHAUSTION_H_
#define COMMON_MEMORY_EXHAUSTION_H_

#include <new>

// Makes an allocation that fails anywhere in the program (loading, counting, reporting) end it
// with "memory exhausted" on standard error and status 1, after what was written to standard
// output so far has been flushed. The failure is caught in operator new, before any exception
// exists, so that no stream can take it for a read error and no message can blame the input.
// Call first thing in main.
void exit_on_memory_exhaustion();

// While it lives, an allocation that fails throws std::bad_alloc, as it would without
// exit_on_memory_exhaustion: for an allocation that is only worth trying, such as a guess at the
// room a container will need, whose failure the caller catches and lives with.
class allocation_may_fail {
  public:
    allocation_may_fail() : saved_(std::set_new_handler(nullptr)) {}
    allocation_may_fail(const allocation_may_fail&) = delete;
    allocation_may_fail& operator=(const allocation_may_fail&) = delete;
    ~allocation_may_fail() { std::set_new_handler(saved_); }

  private:
    const std::new_handler saved_;
};

#endif  // COMMON_MEMORY_EXHAUSTION_H_
