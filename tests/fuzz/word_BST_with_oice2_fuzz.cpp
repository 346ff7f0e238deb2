// Counts random words, normalised as the word-count programs do, in both counting trees at
// once, and checks the normalisation and every report for random thresholds against
// WordCountModel.

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <limits>
#include <string>

#include "FuzzInput.h"
#include "ModelCheck.h"
#include "WordCountModel.h"
#include "normalize.h"
#include "word_BST_with_oice2.h"
#include "word_BST_with_oice2_solution.h"

namespace {

// Letters of both cases, punctuation that may or may not be stripped, a digit and a high byte
// that is neither punctuation nor a capital.
const std::string kAlphabet = "aBb.,'7\xc9";
const int kMaxWordLength = 3;
const int kMaxSteps = 400;

// Mostly small thresholds around the counts that occur, now and then the extremes of int32_t.
int32_t decode_threshold(FuzzInput& input) {
    const int choice = input.byte();
    if (choice >= 250) {
        return choice % 2 == 0 ? std::numeric_limits<int32_t>::min()
                               : std::numeric_limits<int32_t>::max();
    }
    return choice % 8 - 2;
}

// Checks the reports of both trees for threshold.
void check_reports(const word_BST_with_oice2& tree, const word_BST_with_oice2_solution& solution,
                   const WordCountModel& model, int32_t threshold) {
    const std::string expected = model.report(threshold);
    const std::string what = "report for threshold " + std::to_string(threshold);
    StreamCapture out(std::cout);
    // One tree flushes each line it writes, the other leaves flushing to the program's end.
    tree.output_if_count_exceeds(threshold);
    const int tree_flushes = out.flushes();
    expect_same("word_BST_with_oice2 " + what, expected, out.take());
    expect_same("word_BST_with_oice2 flushes", std::to_string(line_count(expected)),
                std::to_string(tree_flushes));
    solution.output_if_count_exceeds(threshold);
    const int solution_flushes = out.flushes();
    expect_same("word_BST_with_oice2_solution " + what, expected, out.take());
    expect_same("word_BST_with_oice2_solution flushes", "0", std::to_string(solution_flushes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    word_BST_with_oice2 tree;
    word_BST_with_oice2_solution solution;
    WordCountModel model;
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        if (input.below(4) == 3) {
            check_reports(tree, solution, model, decode_threshold(input));
            continue;
        }
        const std::string word = input.word(kAlphabet, kMaxWordLength);
        const std::string key = lower(strip_punct(word));
        expect_same("normalised \"" + word + "\"", WordCountModel::key_of(word), key);
        tree.insert(key);
        solution.insert(key);
        model.count(word);
    }
    check_reports(tree, solution, model, 0);
    return 0;
}
