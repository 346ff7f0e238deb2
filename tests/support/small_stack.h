#ifndef TESTS_SUPPORT_SMALL_STACK_H_
#define TESTS_SUPPORT_SMALL_STACK_H_

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>

// The first statement of a test that calls run_on_small_stack: skips the test where threads with
// a stack of a given size cannot be made: without POSIX threads, and on Windows, where MinGW's
// take the size for what the stack starts with and let it grow far beyond.
#if __has_include(<pthread.h>) && !defined(_WIN32)
#include <pthread.h>
#define SMALL_STACK_THREADS 1
#define SKIP_WITHOUT_SMALL_STACK() static_cast<void>(0)
#else
#define SMALL_STACK_THREADS 0
#define SKIP_WITHOUT_SMALL_STACK() \
    GTEST_SKIP() << "needs a thread with a set stack size (POSIX threads)"
#endif

// A tree walk must not nest once per level: sorted input makes the trees chains as long as the
// input. The tests show it by walking a chain of kDeepChainHeight nodes on a stack of
// kSmallStackBytes. A walk that nested once per level would keep at least a pointer per level
// on the stack, 8 bytes, which for this height fills the whole stack before anything else is
// on it; real frames take 16 bytes or more.

// The stack that run_on_small_stack gives its work.
constexpr std::size_t kSmallStackBytes = 32 * 1024;

// The height of the chains walked on that stack.
constexpr int kDeepChainHeight = kSmallStackBytes / 8;

// Runs work on a thread whose stack holds kSmallStackBytes and waits for it to end.
// REQUIRES: the test began with SKIP_WITHOUT_SMALL_STACK().
inline void run_on_small_stack([[maybe_unused]] std::function<void()> work) {
#if SMALL_STACK_THREADS
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, kSmallStackBytes), 0);
    pthread_t thread;
    auto body = [](void* argument) -> void* {
        (*static_cast<std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, body, &work), 0);
    ASSERT_EQ(pthread_join(thread, nullptr), 0);
    pthread_attr_destroy(&attributes);
#else
    FAIL() << "no thread with a set stack size, and the test did not skip";
#endif
}

#endif  // TESTS_SUPPORT_SMALL_STACK_H_
