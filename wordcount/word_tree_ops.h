#ifndef WORDCOUNT_WORD_TREE_OPS_H_
#define WORDCOUNT_WORD_TREE_OPS_H_

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "word_order.h"

// The walks shared by the two counting trees. The trees are unbalanced, so text whose words
// arrive sorted makes a chain as long as the vocabulary; every walk here therefore loops instead
// of recursing, and the stack stays flat at any height. `Node` has the fields `left`, `right`
// (owning pointers, null when absent), `word` and `count`, and a constructor from the word.

// Adds one to `count` unless it already holds the largest int32_t value, where it stays.
inline void count_once_more(int32_t& count) {
    if (count < std::numeric_limits<int32_t>::max()) {
        ++count;
    }
}

// Counts one occurrence of `word` in the subtree rooted at `top`: the matching node's count
// grows by one, or a new node with count 1 is linked where the search ended.
// REQUIRES: `top` is not null.
template <class Node>
void count_in_subtree(Node* top, const std::string& word) {
    const std::uint64_t word_leading = leading_bytes(word);
    Node* n = top;
    for (;;) {
        // Both children are asked for before the comparison picks one, so that the next node is
        // on its way while this one is compared, whichever way the descent goes.
        fetch_ahead(n->left);
        fetch_ahead(n->right);
        const int order = compare_words(word, word_leading, n->word);
        if (order == 0) {
            count_once_more(n->count);
            return;
        }
        Node*& child = order < 0 ? n->left : n->right;
        if (child == nullptr) {
            child = new Node(word);
            return;
        }
        n = child;
    }
}

// Frees every node of the subtree rooted at `top` (which may be null). Each left child is
// rotated up until the current node has none; the node is then freed with no children linked,
// so its own destructor has nothing left to free.
template <class Node>
void destroy_subtree(Node* top) {
    Node* n = top;
    while (n != nullptr) {
        if (n->left != nullptr) {
            Node* raised = n->left;
            n->left = raised->right;
            raised->right = n;
            n = raised;
        } else {
            Node* rest = n->right;
            n->right = nullptr;
            delete n;
            n = rest;
        }
    }
}

// Calls `visit(node)` for the nodes of the subtree rooted at `top` (which may be null), in
// descending order of the words: right subtree, node, left subtree. Stops as soon as `visit`
// returns false.
template <class Node, class Visit>
void visit_descending(const Node* top, Visit&& visit) {
    std::vector<const Node*> awaiting_visit;  // ancestors whose right subtree is being walked
    const Node* n = top;
    while (n != nullptr || !awaiting_visit.empty()) {
        for (; n != nullptr; n = n->right) {
            awaiting_visit.push_back(n);
        }
        n = awaiting_visit.back();
        awaiting_visit.pop_back();
        if (!visit(*n)) {
            return;
        }
        n = n->left;
    }
}

#endif  // WORDCOUNT_WORD_TREE_OPS_H_
