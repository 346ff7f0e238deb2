// Drives BSTree<std::string> with a random sequence of insertions, searches and listings and
// checks every answer and every listing against std::set and a plain recursive search tree
// built from the same insertion order.

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <memory>
#include <set>
#include <string>

#include "BSTree.h"
#include "FuzzInput.h"
#include "ModelCheck.h"

namespace {

// The listings the tree must write, computed the obvious recursive way. The shape depends only
// on the insertion order, so inserting the same words in the same order gives the same shape.
class ModelTree {
  public:
    // Links word where the descent ends. REQUIRES: word is not in the tree yet.
    void insert(const std::string& word) {
        std::unique_ptr<Node>* link = &root_;
        while (*link) {
            link = word < (*link)->word ? &(*link)->left : &(*link)->right;
        }
        *link = std::make_unique<Node>(word);
    }

    // The sideways drawing: right subtree above, three blanks per level.
    std::string drawing() const { return drawing(root_.get(), 0); }

    // Node, left subtree, right subtree.
    std::string pre_order() const { return pre_order(root_.get()); }

    // Left subtree, right subtree, node.
    std::string post_order() const { return post_order(root_.get()); }

  private:
    struct Node {
        explicit Node(const std::string& word) : word(word) {}
        std::string word;
        std::unique_ptr<Node> left;
        std::unique_ptr<Node> right;
    };

    static std::string drawing(const Node* node, int level) {
        if (node == nullptr) {
            return "";
        }
        return drawing(node->right.get(), level + 1) + std::string(3 * level, ' ') + node->word +
               "\n" + drawing(node->left.get(), level + 1);
    }

    static std::string pre_order(const Node* node) {
        if (node == nullptr) {
            return "";
        }
        return node->word + "\n" + pre_order(node->left.get()) + pre_order(node->right.get());
    }

    static std::string post_order(const Node* node) {
        if (node == nullptr) {
            return "";
        }
        return post_order(node->left.get()) + post_order(node->right.get()) + node->word + "\n";
    }

    std::unique_ptr<Node> root_;
};

// Capitals sort before small letters, and the high byte after both: the comparison must take
// bytes as unsigned values.
const std::string kAlphabet = "abA\xe9";
const int kMaxWordLength = 3;
const int kMaxSteps = 400;

// Checks what a listing wrote, and that it flushed after every line.
void expect_listing(const std::string& what, const std::string& model, StreamCapture& out) {
    const std::string flushes = std::to_string(out.flushes());
    const std::string listing = out.take();
    expect_same(what + " flushes", std::to_string(line_count(model)), flushes);
    expect_same(what, model, listing);
}

// Checks the three listings of tree against the model, each headed by the count line.
void check_listings(const BSTree<std::string>& tree, const std::set<std::string>& elements,
                    const ModelTree& model) {
    const std::string count_line = "number of nodes: " + std::to_string(elements.size()) + "\n";
    StreamCapture out(std::cout);
    tree.printP();
    expect_listing("printP", count_line + model.drawing(), out);
    tree.printPre();
    expect_listing("printPre", count_line + model.pre_order(), out);
    tree.printPost();
    expect_listing("printPost", count_line + model.post_order(), out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    BSTree<std::string> tree;
    std::set<std::string> elements;
    ModelTree model;
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        switch (input.below(4)) {
            case 0:
            case 1: {
                const std::string word = input.word(kAlphabet, kMaxWordLength);
                const bool added = elements.insert(word).second;
                if (added) {
                    model.insert(word);
                }
                expect_same("insert(\"" + word + "\")", added, tree.insert(word));
                break;
            }
            case 2: {
                const std::string word = input.word(kAlphabet, kMaxWordLength);
                expect_same("search(\"" + word + "\")", elements.count(word) == 1,
                            tree.search(word));
                break;
            }
            default:
                check_listings(tree, elements, model);
                break;
        }
    }
    check_listings(tree, elements, model);
    return 0;
}
