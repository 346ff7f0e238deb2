#include "word_BST_with_oice2.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "node_pool.h"
#include "standard_output.h"
#include "word_tree_ops.h"

namespace {

// The slots of every node of this class: the tree itself holds nothing but its root.
node_pool nodes;

}  // namespace

void* word_BST_with_oice2::node::operator new(std::size_t) {
    return nodes.allocate_for<node>();
}

void word_BST_with_oice2::node::operator delete(void* slot) {
    nodes.release(slot);
}

word_BST_with_oice2::node::~node() {
    destroy_subtree(left);
    destroy_subtree(right);
}

word_BST_with_oice2::~word_BST_with_oice2() {
    delete root;
}

void word_BST_with_oice2::insert(const std::string& word) {
    if (root == nullptr) {
        root = new node(word);
    } else {
        insert_helper(root, word);
    }
}

void word_BST_with_oice2::insert_helper(node* n, const std::string& word) {
    count_in_subtree(n, word);
}

void word_BST_with_oice2::output_if_count_exceeds(int32_t threshold) const {
    if (root != nullptr) {
        print_reverse(root, threshold);
    }
}

void word_BST_with_oice2::print_reverse(const node* n, int32_t threshold) const {
    visit_descending(n, [threshold](const node& each) {
        if (each.count > threshold) {
            std::copy(each.word.begin(), each.word.end(),
                      std::ostreambuf_iterator<char>(std::cout));
            std::cout << '\n' << std::flush;
        }
        return !standard_output_lost();
    });
}
