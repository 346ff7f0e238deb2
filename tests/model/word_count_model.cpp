// word_count_driver and word_count_solution: the words of a file counted under their keys, and
// those counted more often than the count argument reported.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

#include "WordCountModel.h"
#include "program_models.h"

namespace {

// The count argument as atoi reads it, clamped to the int32_t range where atoi is undefined.
// strtoll saturates at bounds beyond that range, so the clamp sees every overflow.
int32_t threshold_of(const std::string& argument) {
    const long long value = std::strtoll(argument.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

}  // namespace

ProgramRun model_word_count(const std::vector<std::string>& args, std::istream& /*in: unread*/) {
    if (args.size() != 2) {
        throw OutsideModel("a word count takes a file and a count");
    }
    std::ifstream text = open_input(args[0]);
    WordCountModel counts;
    for (std::string word; text >> word;) {
        counts.count(word);
    }
    ProgramRun run;
    run.out = counts.report(threshold_of(args[1]));
    return run;
}
