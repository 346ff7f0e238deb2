#ifndef COMMON_INPUT_FILE_H_
#define COMMON_INPUT_FILE_H_

#include <cstddef>
#include <cstdio>
#include <istream>
#include <streambuf>
#include <string>

// Selects the constructor of input_file that reads standard input.
struct standard_input_tag {};
inline constexpr standard_input_tag standard_input{};

// A file, or standard input, read as a stream on which a read that fails (a directory, a device
// error) sets badbit, while the end of the input sets only eofbit, with every standard library.
// Standard file streams leave that to the library: GCC's marks a failed read bad, LLVM's takes it
// for the end of the input. This one reads through C stdio, whose ferror tells the two apart.
//
// Character-wise reading (extraction, getline, ignore) takes a line at a time from the file, so
// that a program answering what is typed on a terminal gets each line as soon as it is entered.
// A large read (istream::read) goes straight to the file, as fast as with a file stream.
//
// Files are read as bytes on every system. On Windows the stream keeps the platform's text
// convention itself, turning each CR LF into one newline: its C runtime's text mode would do
// that too, but would also end the input at the first Ctrl-Z byte (0x1A), which here is a byte
// like any other. Standard input is switched to bytes there as well, unless it is a console,
// where Ctrl-Z is how the user ends the input.
//
// Invariants: the stream's buffer is buffer_; badbit is set once a read of the file has failed.
class input_file : public std::istream {
  public:
    // Opens the file at `path` for reading; when it cannot be opened, is_open() is false and
    // the stream has failed.
    explicit input_file(const std::string& path);

    // Reads standard input, which stays open when the stream is destroyed. Like std::cin, the
    // stream is tied to std::cout, which is flushed before the program waits for input.
    explicit input_file(standard_input_tag);

    input_file(const input_file&) = delete;
    input_file& operator=(const input_file&) = delete;

    // Closes the file, unless it is standard input.
    ~input_file() override;

    // True when the file was opened.
    bool is_open() const { return buffer_.file() != nullptr; }

  private:
    // The characters of a C stream. A read that fails marks `owner` bad.
    //
    // Lines are read with fgets, which does not tell how many characters it stored, and a line
    // may hold NUL characters. So line_ is kept filled with '\n' except for the last line stored
    // and the NUL that fgets put after it: the first '\n' in line_ then shows where the line
    // ends (see stored_length()).
    //
    // Invariants: the get area lies in line_; every character of line_ after the get area and
    // the NUL that follows it is '\n', and so is line_[kLineBytes].
    class stdio_buffer : public std::streambuf {
      public:
        // Reads `file`; a null file holds no characters. REQUIRES: `owner` outlives the buffer.
        stdio_buffer(std::FILE* file, std::ios& owner);

        stdio_buffer(const stdio_buffer&) = delete;
        stdio_buffer& operator=(const stdio_buffer&) = delete;

        // The C stream read, or null when none could be opened.
        std::FILE* file() const { return file_; }

      protected:
        // Makes the next line, or as much of it as fits, the get area.
        int_type underflow() override;

        // Hands on what the get area holds, then reads the rest straight from the file.
        std::streamsize xsgetn(char_type* s, std::streamsize count) override;

      private:
        // Reads the next line into line_ and makes it the get area. Returns false, with an
        // empty get area, when nothing could be read.
        bool read_line();

        // The number of characters the last successful fgets stored in line_.
        std::size_t stored_length() const;

        // Called where the file yielded less than asked: marks the owner bad when a read failed.
        void note_short_read();

        // Turns each CR LF of the `count` characters at `text`, just read, into a newline, on
        // Windows only; a CR at their end is paired with the file's next character. Returns the
        // number of characters left.
        std::size_t keep_text_convention(char* text, std::size_t count);

        static constexpr std::size_t kLineBytes = 4096;

        std::FILE* const file_;
        std::ios& owner_;
        char line_[kLineBytes + 1];
    };

    stdio_buffer buffer_;
    const bool owns_file_;
};

#endif  // COMMON_INPUT_FILE_H_
