// roster_test: reads a names file, one name per line, into one roster with add and, from a
// second opening of the file, into another with +=, and prints both under their headings.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "input_file.h"
#include "memory_exhaustion.h"
#include "program_name.h"
#include "roster.h"
#include "standard_output.h"

namespace {

// Opens path, hands every name of the file to insert, and closes the file again. A line is
// taken whole, without its newline; its name ends before any NUL character. Returns false when
// the file cannot be opened or a read fails (a directory, a device error).
template <typename Insert>
bool read_names(const char* path, Insert insert) {
    input_file file(path);
    std::string line;
    while (std::getline(file, line)) {
        insert(line.substr(0, line.find('\0')));
    }
    return file.is_open() && !file.bad();
}

// True when opening `path` again reads the same names again: a regular file. What a pipe, FIFO,
// terminal or socket gave the first reading is gone for a second one, and a second opening of a
// FIFO waits for a writer that may never come.
bool can_be_read_twice(const char* path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Reports a names file that cannot be read; returns the exit status for it.
int report_unreadable(const char* path) {
    std::cerr << "cannot open " << path << std::endl;
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    exit_on_memory_exhaustion();
    if (argc < 2) {
        std::cerr << invoked_name(argc, argv, "roster_test") << " <filename>" << std::endl;
        return 1;
    }
    const char* const path = argv[1];
    Roster by_add(nullptr, nullptr);
    Roster by_operator(nullptr, nullptr);

    // Names of a file that cannot be read twice are kept, in file order, for the second roster.
    const bool read_twice = can_be_read_twice(path);
    std::vector<std::string> kept_names;
    const bool read_first = read_names(path, [&](const std::string& name) {
        by_add.add(name);
        if (!read_twice) {
            kept_names.push_back(name);
        }
    });
    if (!read_first) {
        return report_unreadable(path);
    }
    std::cout << "Using the member function add: \n" << std::endl;
    by_add.print();
    if (standard_output_lost()) {
        return report_write_error();
    }

    if (read_twice) {
        if (!read_names(path, [&](const std::string& name) { by_operator += name; })) {
            return report_unreadable(path);
        }
    } else {
        for (const std::string& name : kept_names) {
            by_operator += name;
        }
    }
    std::cout << "\nUsing the member function operator+=: \n" << std::endl;
    by_operator.print();
    return finish_standard_output();
}
