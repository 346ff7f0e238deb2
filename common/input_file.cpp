#include "input_file.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <iterator>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

#ifdef _WIN32
constexpr bool kCrLfIsNewline = true;
#else
constexpr bool kCrLfIsNewline = false;
#endif

// Standard input read as bytes, as input_file reads files (see input_file.h).
std::FILE* standard_input_as_bytes() {
#ifdef _WIN32
    if (!_isatty(_fileno(stdin))) {
        _setmode(_fileno(stdin), _O_BINARY);
    }
#endif
    return stdin;
}

}  // namespace

input_file::input_file(const std::string& path)
    : std::istream(nullptr), buffer_(std::fopen(path.c_str(), "rb"), *this), owns_file_(true) {
    rdbuf(&buffer_);
    if (!is_open()) {
        setstate(std::ios::failbit);
    }
}

input_file::input_file(standard_input_tag)
    : std::istream(nullptr), buffer_(standard_input_as_bytes(), *this), owns_file_(false) {
    rdbuf(&buffer_);
    tie(&std::cout);
}

input_file::~input_file() {
    if (owns_file_ && is_open()) {
        std::fclose(buffer_.file());
    }
}

input_file::stdio_buffer::stdio_buffer(std::FILE* file, std::ios& owner)
    : file_(file), owner_(owner) {
    std::fill(std::begin(line_), std::end(line_), '\n');
    setg(line_, line_, line_);
}

input_file::stdio_buffer::int_type input_file::stdio_buffer::underflow() {
    if (gptr() == egptr() && !read_line()) {
        note_short_read();
        return traits_type::eof();
    }
    return traits_type::to_int_type(*gptr());
}

bool input_file::stdio_buffer::read_line() {
    std::fill(eback(), egptr() + 1, '\n');  // over the last line stored and its NUL
    if (file_ == nullptr || std::fgets(line_, static_cast<int>(kLineBytes), file_) == nullptr) {
        std::fill(line_, line_ + kLineBytes, '\n');  // a failed read may leave anything there
        setg(line_, line_, line_);
        return false;
    }
    const std::size_t stored = stored_length();
    const std::size_t kept = keep_text_convention(line_, stored);
    // What the text convention dropped becomes filling again, and the NUL follows the line.
    std::fill(line_ + kept, line_ + stored + 1, '\n');
    line_[kept] = '\0';
    setg(line_, line_, line_ + kept);
    return true;
}

// fgets stores at most kLineBytes - 1 characters, up to and including a '\n', and a NUL after
// them. When the line ends in its '\n', that is the first '\n' in line_, and the NUL follows it.
// When it was cut short (by the end of the input), the first '\n' is the filling right after
// the NUL. When it filled line_, there is no '\n' before line_[kLineBytes].
std::size_t input_file::stdio_buffer::stored_length() const {
    const char* const newline = static_cast<const char*>(std::memchr(line_, '\n', kLineBytes));
    if (newline == nullptr) {
        return kLineBytes - 1;
    }
    const std::size_t at = static_cast<std::size_t>(newline - line_);
    return newline[1] == '\0' ? at + 1 : at - 1;
}

// A caller takes fewer characters than it asked for as the end of the input, so reading goes on
// while the text convention has turned pairs into single characters.
std::streamsize input_file::stdio_buffer::xsgetn(char_type* s, std::streamsize count) {
    const std::streamsize held = std::min(count, static_cast<std::streamsize>(egptr() - gptr()));
    traits_type::copy(s, gptr(), static_cast<std::size_t>(held));
    gbump(static_cast<int>(held));
    std::size_t got = static_cast<std::size_t>(held);
    while (got < static_cast<std::size_t>(count)) {
        const std::size_t wanted = static_cast<std::size_t>(count) - got;
        const std::size_t read = file_ == nullptr ? 0 : std::fread(s + got, 1, wanted, file_);
        got += keep_text_convention(s + got, read);
        if (read < wanted) {
            note_short_read();
            break;
        }
    }
    return static_cast<std::streamsize>(got);
}

std::size_t input_file::stdio_buffer::keep_text_convention(char* text, std::size_t count) {
    if constexpr (kCrLfIsNewline) {
        char* kept = text;
        for (std::size_t i = 0; i < count; ++i) {
            if (text[i] != '\r' || i + 1 == count || text[i + 1] != '\n') {
                *kept++ = text[i];
            }
        }
        if (kept != text && kept[-1] == '\r') {
            const int next = std::getc(file_);
            if (next == '\n') {
                kept[-1] = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file_);
            }
        }
        return static_cast<std::size_t>(kept - text);
    } else {
        return count;
    }
}

void input_file::stdio_buffer::note_short_read() {
    if (file_ != nullptr && std::ferror(file_)) {
        owner_.setstate(std::ios::badbit);
    }
}
