#include "input_file.h"

#include <algorithm>
#include <iostream>

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

input_file::stdio_buffer::int_type input_file::stdio_buffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    if (file_ == nullptr) {
        return traits_type::eof();
    }
    std::size_t filled = 0;
    int c = 0;
    while (filled < kLineBytes && c != '\n' && (c = std::getc(file_)) != EOF) {
        line_[filled++] = static_cast<char>(c);
    }
    setg(line_, line_, line_ + filled);
    if (filled == 0) {
        note_short_read();
        return traits_type::eof();
    }
    return traits_type::to_int_type(line_[0]);
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
    if (std::ferror(file_)) {
        owner_.setstate(std::ios::badbit);
    }
}
