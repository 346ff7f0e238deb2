#include "input_file.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <iterator>

input_file::input_file(const std::string& path)
    : std::istream(nullptr), buffer_(std::fopen(path.c_str(), "r"), *this), owns_file_(true) {
    rdbuf(&buffer_);
    if (!is_open()) {
        setstate(std::ios::failbit);
    }
}

input_file::input_file(standard_input_tag)
    : std::istream(nullptr), buffer_(stdin, *this), owns_file_(false) {
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
    setg(line_, line_, line_ + stored_length());
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

std::streamsize input_file::stdio_buffer::xsgetn(char_type* s, std::streamsize count) {
    const std::streamsize held = std::min(count, static_cast<std::streamsize>(egptr() - gptr()));
    traits_type::copy(s, gptr(), static_cast<std::size_t>(held));
    gbump(static_cast<int>(held));
    const std::size_t wanted = static_cast<std::size_t>(count - held);
    const std::size_t read =
        wanted == 0 || file_ == nullptr ? 0 : std::fread(s + held, 1, wanted, file_);
    if (read < wanted) {
        note_short_read();
    }
    return held + static_cast<std::streamsize>(read);
}

void input_file::stdio_buffer::note_short_read() {
    if (file_ != nullptr && std::ferror(file_)) {
        owner_.setstate(std::ios::badbit);
    }
}
