// Runs the fuzz target of this executable once on each input named on the command line; a
// directory stands for every file in it, taken in name order. This is how the committed corpus
// and the kept reproducers run as ordinary tests in builds without libFuzzer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Adds path, or the regular files directly inside it when it is a directory, to inputs.
// Returns false when path names neither.
bool collect_inputs(const std::filesystem::path& path, std::vector<std::filesystem::path>& inputs) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        inputs.push_back(path);
        return true;
    }
    if (!std::filesystem::is_directory(path, error)) {
        return false;
    }
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        if (entry.is_regular_file(error)) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
    return !error;
}

// Reads the whole file into bytes. Returns false when it cannot be read.
bool read_file(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && in.is_open();
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!collect_inputs(argv[i], inputs)) {
            std::cerr << "cannot read input " << argv[i] << std::endl;
            return 1;
        }
    }
    if (inputs.empty()) {
        std::cerr << "no inputs to run" << std::endl;
        return 1;
    }
    for (const auto& input : inputs) {
        std::vector<uint8_t> bytes;
        if (!read_file(input, bytes)) {
            std::cerr << "cannot read input " << input.string() << std::endl;
            return 1;
        }
        std::cerr << "running " << input.string() << std::endl;
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cerr << "ran " << inputs.size() << " inputs" << std::endl;
    return 0;
}
