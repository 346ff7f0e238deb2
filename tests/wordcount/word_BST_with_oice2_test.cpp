#include "word_BST_with_oice2.h"

#include <gtest/gtest.h>

#include "counting_tree_tests.h"

// Every report line is flushed as it is written.
template <>
struct ReportFlushing<word_BST_with_oice2> {
    static constexpr bool each_line = true;
};

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(WordTree, CountingTree, word_BST_with_oice2, TypeIndexName);

}  // namespace
