#ifndef TESTS_SUPPORT_SMALL_STACK_H_
#define TESTS_SUPPORT_SMALL_STACK_H_

#include <gtest/gtest.h>
#include <pthread.h>

#include <cstddef>
#include <functional>

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
inline void run_on_small_stack(std::function<void()> work) {
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
}

#endif  // TESTS_SUPPORT_SMALL_STACK_H_
