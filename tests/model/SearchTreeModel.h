#ifndef TESTS_MODEL_SEARCHTREEMODEL_H_
#define TESTS_MODEL_SEARCHTREEMODEL_H_

#include <cstddef>
#include <memory>
#include <set>
#include <string>

// What an unbalanced search tree of distinct words must answer and list. The listings come from
// a tree of the model's own, built from the same insertion order (the shape depends on that
// order alone) and walked the plain recursive way, which the few thousand levels of the tallest
// trees tested leave far from any stack limit; membership comes from a std::set.
// Invariant: the set and the tree hold the same words.
class SearchTreeModel {
  public:
    // Adds word where the descent from the root ends and returns true, or returns false when
    // the word is there already.
    bool insert(const std::string& word) {
        if (!words_.insert(word).second) {
            return false;
        }
        std::unique_ptr<Node>* link = &root_;
        while (*link) {
            link = word < (*link)->word ? &(*link)->left : &(*link)->right;
        }
        *link = std::make_unique<Node>(word);
        return true;
    }

    // True when the tree holds word.
    bool contains(const std::string& word) const { return words_.count(word) == 1; }

    // The line that heads each listing.
    std::string count_line() const {
        return "number of nodes: " + std::to_string(words_.size()) + "\n";
    }

    // The sideways drawing: right subtree above, three blanks per level.
    std::string drawing() const {
        std::string text;
        draw(root_.get(), 0, text);
        return text;
    }

    // Node, left subtree, right subtree.
    std::string pre_order() const {
        std::string text;
        list_pre_order(root_.get(), text);
        return text;
    }

    // Left subtree, right subtree, node.
    std::string post_order() const {
        std::string text;
        list_post_order(root_.get(), text);
        return text;
    }

  private:
    struct Node {
        explicit Node(const std::string& word) : word(word) {}
        std::string word;
        std::unique_ptr<Node> left;
        std::unique_ptr<Node> right;
    };

    static void draw(const Node* node, std::size_t level, std::string& text) {
        if (node != nullptr) {
            draw(node->right.get(), level + 1, text);
            text += std::string(3 * level, ' ') + node->word + "\n";
            draw(node->left.get(), level + 1, text);
        }
    }

    static void list_pre_order(const Node* node, std::string& text) {
        if (node != nullptr) {
            text += node->word + "\n";
            list_pre_order(node->left.get(), text);
            list_pre_order(node->right.get(), text);
        }
    }

    static void list_post_order(const Node* node, std::string& text) {
        if (node != nullptr) {
            list_post_order(node->left.get(), text);
            list_post_order(node->right.get(), text);
            text += node->word + "\n";
        }
    }

    std::set<std::string> words_;
    std::unique_ptr<Node> root_;
};

#endif  // TESTS_MODEL_SEARCHTREEMODEL_H_
