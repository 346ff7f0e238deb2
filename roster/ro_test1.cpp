// roster_test: reads a names file, one name per line, into one roster with add and, from a
// second opening of the file, into another with +=, and prints both under their headings.

#include <fstream>
#include <iostream>
#include <string>

#include "roster.h"

namespace {

// Opens path with file, hands every name of the file to insert, and closes the file again.
// A line is taken whole, without its newline; its name ends before any NUL character. Returns
// false when the file cannot be opened or a read fails (a directory, a device error).
template <typename Insert>
bool read_names(std::ifstream& file, const char* path, Insert insert) {
    file.open(path);
    std::string line;
    while (std::getline(file, line)) {
        insert(line.substr(0, line.find('\0')));
    }
    // A directory opens like a file; its first read then fails and leaves the stream bad.
    const bool read_all = file.is_open() && !file.bad();
    file.close();
    return read_all;
}

// Reports a names file that cannot be read; returns the exit status for it.
int report_unreadable(const char* path) {
    std::cerr << "cannot open " << path << std::endl;
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << (argc > 0 ? argv[0] : "roster_test") << " <filename>" << std::endl;
        return 1;
    }
    const char* const path = argv[1];
    std::ifstream file;
    Roster by_add(nullptr, nullptr);
    Roster by_operator(nullptr, nullptr);

    if (!read_names(file, path, [&by_add](const std::string& name) { by_add.add(name); })) {
        return report_unreadable(path);
    }
    std::cout << "Using the member function add: \n" << std::endl;
    by_add.print();

    if (!read_names(file, path, [&by_operator](const std::string& name) { by_operator += name; })) {
        return report_unreadable(path);
    }
    std::cout << "\nUsing the member function operator+=: \n" << std::endl;
    by_operator.print();
    return 0;
}
