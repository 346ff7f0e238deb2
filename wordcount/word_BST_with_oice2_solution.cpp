#include "word_BST_with_oice2_solution.h"

#include <iostream>

#include "node_pool.h"
#include "standard_output.h"
#include "word_tree_ops.h"

namespace {

// The slots of every node of this class: the tree itself holds nothing but its root.
node_pool nodes;

}  // namespace

void* word_BST_with_oice2_solution::node::operator new(std::size_t) {
    return nodes.allocate_for<node>();
}

void word_BST_with_oice2_solution::node::operator delete(void* slot) {
    nodes.release(slot);
}

word_BST_with_oice2_solution::node::~node() {
    destroy_subtree(left);
    destroy_subtree(right);
}

word_BST_with_oice2_solution::~word_BST_with_oice2_solution() {
    delete root;
}

void word_BST_with_oice2_solution::insert(const std::string& word) {
    if (root == nullptr) {
        root = new node(word);
    } else {
        insert_helper(root, word);
    }
}

void word_BST_with_oice2_solution::insert_helper(node* n, const std::string& word) {
    count_in_subtree(n, word);
}

void word_BST_with_oice2_solution::output_if_count_exceeds(int32_t threshold) const {
    if (root != nullptr) {
        std::ostream_iterator<std::string> out(std::cout, "\n");
        output_if_count_exceeds_helper(root, threshold, out);
    }
}

void word_BST_with_oice2_solution::output_if_count_exceeds_helper(
    const node* n, int32_t threshold, std::ostream_iterator<std::string>& out) const {
    visit_descending(n, [threshold, &out](const node& each) {
        if (each.count > threshold) {
            *out = each.word;
            ++out;
        }
        return !standard_output_lost();
    });
}
