// Inserts random names into two rosters, one through add and one through +=, and checks after
// every insertion that both print what RosterModel holds.

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>

#include "FuzzInput.h"
#include "ModelCheck.h"
#include "RosterModel.h"
#include "roster.h"

namespace {

// A blank sorts before the capitals, the capitals before the small letters, and the high byte
// after all of them; short names make duplicates and prefixes common.
const std::string kAlphabet = "aAZ \xe4";
const int kMaxNameLength = 3;
const int kMaxSteps = 200;

// Checks the printout of roster against the model.
void check_listing(const char* what, const Roster& roster, const RosterModel& model) {
    StreamCapture out(std::cout);
    roster.print();
    // Each name's line is flushed; the empty-roster message is not.
    const int flushes = out.flushes();
    expect_same(what, model.listing(), out.take());
    expect_same(std::string(what) + " flushes", std::to_string(model.size()),
                std::to_string(flushes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Roster by_add(nullptr, nullptr);
    Roster by_operator(nullptr, nullptr);
    RosterModel model;
    check_listing("empty roster", by_add, model);
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        const bool chained = input.below(4) == 0;
        const std::string first = input.word(kAlphabet, kMaxNameLength);
        model.add(first);
        by_add.add(first);
        if (chained) {
            const std::string second = input.word(kAlphabet, kMaxNameLength);
            model.add(second);
            by_add.add(second);
            (by_operator += first) += second;
        } else {
            by_operator += first;
        }
        check_listing("roster built with add", by_add, model);
        check_listing("roster built with +=", by_operator, model);
    }
    return 0;
}
