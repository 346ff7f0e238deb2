#ifndef TESTS_SUPPORT_STREAMCAPTURE_H_
#define TESTS_SUPPORT_STREAMCAPTURE_H_

#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

// Collects what is written to a standard stream while it lives, instead of letting it through,
// and counts how often the stream was flushed. The stream gets its own buffer back on destruction.
class StreamCapture {
  public:
    explicit StreamCapture(std::ostream& stream) : stream_(stream), saved_(stream.rdbuf()) {
        stream_.rdbuf(&captured_);
    }

    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    ~StreamCapture() { stream_.rdbuf(saved_); }

    // What was written since the capture began or since the last take().
    std::string text() const { return captured_.str(); }

    // How often the stream was flushed since the capture began or since the last take().
    int flushes() const { return captured_.flushes; }

    // What was written since the capture began or since the last take(); forgets it and the
    // flushes.
    std::string take() {
        std::string written = captured_.str();
        captured_.str(std::string());
        captured_.flushes = 0;
        return written;
    }

  private:
    struct CountingBuffer : std::stringbuf {
        int sync() override {
            ++flushes;
            return 0;
        }

        int flushes = 0;
    };

    std::ostream& stream_;
    std::streambuf* saved_;
    CountingBuffer captured_;
};

#endif  // TESTS_SUPPORT_STREAMCAPTURE_H_
