// program_model: writes what a program must do on each case folder it is given, as the
// expected_stdout, expected_stderr and expected_status files that tests/e2e/run_case.py
// compares with. A case folder holds files/ (the working directory of the run), args (one
// argument per line) and stdin, the last two optional.
//
// Usage: program_model PROGRAM CASE_DIR...

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "program_models.h"

namespace {

namespace fs = std::filesystem;

// The model of program, or null when there is none.
ProgramModel model_of(const std::string& program) {
    static const std::map<std::string, ProgramModel> kModels = {
        {"bst_driver", model_bst_driver},        {"go_shopping", model_go_shopping},
        {"word_count_driver", model_word_count}, {"word_count_solution", model_word_count},
        {"roster_test", model_roster_test},
    };
    const auto found = kModels.find(program);
    return found == kModels.end() ? nullptr : found->second;
}

// The lines of the file at path, none when there is no such file.
std::vector<std::string> lines_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Writes content to the file at path; false when it cannot be written in full.
bool write_file(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    out.close();
    return !out.fail();
}

// Runs model on the case in case_dir and writes the expectations beside it; false when they
// cannot be written. REQUIRES: case_dir is absolute, as the run changes the working directory.
bool model_case(ProgramModel model, const fs::path& case_dir) {
    std::ifstream stdin_file(case_dir / "stdin", std::ios::binary);
    std::istringstream no_input;
    std::istream& in = stdin_file.is_open() ? static_cast<std::istream&>(stdin_file) : no_input;
    fs::current_path(case_dir / "files");
    const ProgramRun run = model(lines_of(case_dir / "args"), in);
    return write_file(case_dir / "expected_stdout", run.out) &&
           write_file(case_dir / "expected_stderr", run.err) &&
           write_file(case_dir / "expected_status", std::to_string(run.status) + "\n");
}

}  // namespace

std::ifstream open_input(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        throw OutsideModel("cannot read " + name);
    }
    return in;
}

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::cerr << "usage: program_model PROGRAM CASE_DIR..." << std::endl;
        return 2;
    }
    const ProgramModel model = model_of(argv[1]);
    if (model == nullptr) {
        std::cerr << "no model of " << argv[1] << std::endl;
        return 2;
    }
    std::vector<fs::path> cases;
    for (int i = 2; i < argc; ++i) {
        cases.push_back(fs::absolute(argv[i]));
    }
    for (const fs::path& case_dir : cases) {
        try {
            if (!model_case(model, case_dir)) {
                std::cerr << "cannot write the expectations of " << case_dir << std::endl;
                return 1;
            }
        } catch (const std::exception& error) {
            std::cerr << case_dir << ": " << error.what() << std::endl;
            return 1;
        }
    }
    return 0;
}
