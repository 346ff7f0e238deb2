// word_count_solution: counts the normalised words of a text file while reading it and prints,
// in descending order, those that occur more often than the given count.

#include <iostream>
#include <string>
#include <utility>

#include "count_arg.h"
#include "input_file.h"
#include "memory_exhaustion.h"
#include "normalize.h"
#include "program_name.h"
#include "standard_output.h"
#include "word_BST_with_oice2_solution.h"
#include "word_scanner.h"

namespace {

// Counts in `tree` every normalised word of the file at `path`, each as soon as it is read, and
// closes the file. Returns false when the file cannot be opened or read.
bool count_file(const char* path, word_BST_with_oice2_solution& tree) {
    input_file in(path);
    if (!in.good()) {
        return false;
    }
    word_scanner scanner(in);
    // The word goes through the normalisation and back into the one buffer the scanner fills
    // again, so that no word is copied and no long word needs storage of its own.
    for (std::string word; scanner.next(word);) {
        word = lower(strip_punct(std::move(word)));
        tree.insert(word);
    }
    // A directory opens like a file and fails on the first read; a half-read file is as
    // unusable as one that does not open.
    return !in.bad();
}

}  // namespace

int main(int argc, char* argv[]) {
    exit_on_memory_exhaustion();
    if (argc != 3) {
        std::cerr << invoked_name(argc, argv, "word_count_solution")
                  << " <filename> <count-to-exceed-for-output>" << std::endl;
        return 1;
    }
    word_BST_with_oice2_solution tree;
    if (!count_file(argv[1], tree)) {
        std::cerr << "Cannot open input file." << std::endl;
        return 1;
    }
    tree.output_if_count_exceeds(parse_count(argv[2]));
    return finish_standard_output();
}
