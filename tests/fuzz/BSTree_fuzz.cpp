// Drives BSTree<std::string> with a random sequence of insertions, searches and listings and
// checks every answer and every listing against SearchTreeModel.

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>

#include "BSTree.h"
#include "FuzzInput.h"
#include "ModelCheck.h"
#include "SearchTreeModel.h"

namespace {

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
void check_listings(const BSTree<std::string>& tree, const SearchTreeModel& model) {
    StreamCapture out(std::cout);
    tree.printP();
    expect_listing("printP", model.count_line() + model.drawing(), out);
    tree.printPre();
    expect_listing("printPre", model.count_line() + model.pre_order(), out);
    tree.printPost();
    expect_listing("printPost", model.count_line() + model.post_order(), out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    BSTree<std::string> tree;
    SearchTreeModel model;
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        switch (input.below(4)) {
            case 0:
            case 1: {
                const std::string word = input.word(kAlphabet, kMaxWordLength);
                expect_same("insert(\"" + word + "\")", model.insert(word), tree.insert(word));
                break;
            }
            case 2: {
                const std::string word = input.word(kAlphabet, kMaxWordLength);
                expect_same("search(\"" + word + "\")", model.contains(word), tree.search(word));
                break;
            }
            default:
                check_listings(tree, model);
                break;
        }
    }
    check_listings(tree, model);
    return 0;
}
