#ifndef COMMON_INPUT_FILE_H_
#define COMMON_INPUT_FILE_H_

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
    // The characters of a C stream. A failed read marks `owner` bad and ends the input there.
    class stdio_buffer : public std::streambuf {
      public:
        // Reads `file`; a null file holds no characters. REQUIRES: `owner` outlives the buffer.
        stdio_buffer(std::FILE* file, std::ios& owner) : file_(file), owner_(owner) {}

        stdio_buffer(const stdio_buffer&) = delete;
        stdio_buffer& operator=(const stdio_buffer&) = delete;

        // The C stream read, or null when none could be opened.
        std::FILE* file() const { return file_; }

      protected:
        // Fills the buffer with the next line, or as much of it as fits.
        int_type underflow() override;

        // Hands on what the buffer holds, then reads the rest straight from the file.
        std::streamsize xsgetn(char_type* s, std::streamsize count) override;

      private:
        // Called where the file yielded less than asked: marks the owner bad when a read failed.
        void note_short_read();

        static constexpr std::size_t kLineBytes = 4096;

        std::FILE* const file_;
        std::ios& owner_;
        char line_[kLineBytes];
    };

    stdio_buffer buffer_;
    const bool owns_file_;
};

#endif  // COMMON_INPUT_FILE_H_
