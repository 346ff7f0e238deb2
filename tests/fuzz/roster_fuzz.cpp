// Inserts random names into two rosters, one through add and one through +=, and checks after
// every insertion that both print the names of a sorted std::vector.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ModelCheck.h"
#include "roster.h"

namespace {

// A blank sorts before the capitals, the capitals before the small letters, and the high byte
// after all of them; short names make duplicates and prefixes common.
const std::string kAlphabet = "aAZ \xe4";
const int kMaxNameLength = 3;
const int kMaxSteps = 200;

// What print must write for names.
std::string model_listing(const std::vector<std::string>& names) {
    if (names.empty()) {
        return "List is empty!\n";
    }
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
}

// Checks the printout of roster against the model.
void check_listing(const char* what, const Roster& roster, const std::vector<std::string>& names) {
    StreamCapture out(std::cout);
    roster.print();
    // Each name's line is flushed; the empty-roster message is not.
    const int flushes = out.flushes();
    expect_same(what, model_listing(names), out.take());
    expect_same(std::string(what) + " flushes", std::to_string(names.size()),
                std::to_string(flushes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Roster by_add(nullptr, nullptr);
    Roster by_operator(nullptr, nullptr);
    std::vector<std::string> names;
    check_listing("empty roster", by_add, names);
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        const bool chained = input.below(4) == 0;
        const std::string first = input.word(kAlphabet, kMaxNameLength);
        names.insert(std::upper_bound(names.begin(), names.end(), first), first);
        by_add.add(first);
        if (chained) {
            const std::string second = input.word(kAlphabet, kMaxNameLength);
            names.insert(std::upper_bound(names.begin(), names.end(), second), second);
            by_add.add(second);
            (by_operator += first) += second;
        } else {
            by_operator += first;
        }
        check_listing("roster built with add", by_add, names);
        check_listing("roster built with +=", by_operator, names);
    }
    return 0;
}
