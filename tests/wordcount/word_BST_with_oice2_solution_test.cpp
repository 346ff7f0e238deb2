#include "word_BST_with_oice2_solution.h"

#include <gtest/gtest.h>

#include "counting_tree_tests.h"

// Report lines are left to be flushed when the program ends.
template <>
struct ReportFlushing<word_BST_with_oice2_solution> {
    static constexpr bool each_line = false;
};

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(SolutionTree, CountingTree, word_BST_with_oice2_solution,
                               TypeIndexName);

}  // namespace
