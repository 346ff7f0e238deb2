// word_count_driver: counts the normalised words of a text file and prints, in descending order,
// those that occur more often than the given count.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "count_arg.h"
#include "input_file.h"
#include "memory_exhaustion.h"
#include "normalize.h"
#include "program_name.h"
#include "standard_output.h"
#include "word_BST_with_oice2.h"
#include "word_scanner.h"

namespace {

// Text rarely averages fewer bytes per word, separator included.
constexpr std::uintmax_t kFewestBytesPerWord = 4;

// Makes room in `words` for the words a file of this size is likely to hold, so that a vector
// of tens of millions of words is not regrown and copied again and again. Only a hint: when the
// size cannot be learned (a pipe, a directory) or the room cannot be had, `words` stays as it is.
// The room is a guess, and it can be more than the words need: not having it ends nothing.
void reserve_for_file(std::vector<std::string>& words, const char* file_name) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file_name, error);
    if (error || bytes / kFewestBytesPerWord >= words.max_size()) {
        return;
    }
    const allocation_may_fail guess;
    try {
        words.reserve(static_cast<std::size_t>(bytes / kFewestBytesPerWord));
    } catch (const std::bad_alloc&) {
        // The vector grows as it is filled instead.
    }
}

int report_unreadable(const char* file_name) {
    std::cerr << "cannot open " << file_name << std::endl;
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    exit_on_memory_exhaustion();
    word_BST_with_oice2 tree;
    if (argc != 3) {
        std::cerr << invoked_name(argc, argv, "word_count_driver")
                  << " <filename> <count-to-exceed-for-output>" << std::endl;
        return 1;
    }
    input_file in(argv[1]);
    if (!in) {
        return report_unreadable(argv[1]);
    }
    std::vector<std::string> words;
    reserve_for_file(words, argv[1]);
    word_scanner scanner(in);
    // Each word is read straight into its place at the end of the vector.
    while (scanner.next(words.emplace_back())) {
    }
    words.pop_back();
    // A directory opens like a file and fails on the first read; a half-read file is as
    // unusable as one that does not open.
    if (in.bad()) {
        return report_unreadable(argv[1]);
    }
    // Each word is needed no more once counted, so it is handed on instead of copied.
    for (std::string& word : words) {
        tree.insert(lower(strip_punct(std::move(word))));
    }
    tree.output_if_count_exceeds(parse_count(argv[2]));
    return finish_standard_output();
}
