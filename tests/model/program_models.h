#ifndef TESTS_MODEL_PROGRAM_MODELS_H_
#define TESTS_MODEL_PROGRAM_MODELS_H_

#include <fstream>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

// Models of whole program runs, built on the same models the fuzz targets check the programs'
// classes against. Each takes the run's command-line arguments (argv[0] left out) and standard
// input, opens files relative to the current working directory as the program does, and
// returns what the program must write and its exit status.

// What a run must write to standard output and standard error, and how it must end.
struct ProgramRun {
    std::string out;
    std::string err;
    int status = 0;
};

// Raised for a run the models leave to the end-to-end cases, such as a file that cannot be
// opened or a command line of the wrong length, so that no expectation is made up for it.
class OutsideModel : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using ProgramModel = ProgramRun (*)(const std::vector<std::string>& args, std::istream& in);

// The file called name, opened for reading its bytes as they are, on every system; raises
// OutsideModel when it cannot be opened.
std::ifstream open_input(const std::string& name);

ProgramRun model_bst_driver(const std::vector<std::string>& args, std::istream& in);

ProgramRun model_go_shopping(const std::vector<std::string>& args, std::istream& in);

// Both word counts: for the same command line they write the same bytes.
ProgramRun model_word_count(const std::vector<std::string>& args, std::istream& in);

ProgramRun model_roster_test(const std::vector<std::string>& args, std::istream& in);

#endif  // TESTS_MODEL_PROGRAM_MODELS_H_
