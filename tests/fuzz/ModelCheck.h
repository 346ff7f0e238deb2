#ifndef TESTS_FUZZ_MODELCHECK_H_
#define TESTS_FUZZ_MODELCHECK_H_

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>

#include "StreamCapture.h"

// Writes text with its non-printable bytes escaped, so that a mismatch in blanks, line breaks
// or high bytes can be read off the report.
inline void write_escaped(std::ostream& out, const std::string& text) {
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out << "\\n\n        ";
        } else if (c == '\\') {
            out << "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out << escape;
        } else {
            out << c;
        }
    }
}

// Ends the run when the structure and its model disagree, after writing both sides to standard
// error. The report bypasses std::cerr, which a target may be capturing. abort() is what
// libFuzzer records as a crash and keeps the input of.
inline void expect_same(const std::string& what, const std::string& model,
                        const std::string& actual) {
    if (model == actual) {
        return;
    }
    std::ostringstream report;
    report << "model mismatch in " << what << "\n  model:  \"";
    write_escaped(report, model);
    report << "\"\n  actual: \"";
    write_escaped(report, actual);
    report << "\"\n";
    std::fputs(report.str().c_str(), stderr);
    std::abort();
}

// The same for a yes/no answer.
inline void expect_same(const std::string& what, bool model, bool actual) {
    expect_same(what, std::string(model ? "true" : "false"),
                std::string(actual ? "true" : "false"));
}

// The number of lines of text, each ended by a newline.
inline int line_count(const std::string& text) {
    int lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

#endif  // TESTS_FUZZ_MODELCHECK_H_
