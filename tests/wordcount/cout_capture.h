#ifndef TESTS_WORDCOUNT_COUT_CAPTURE_H_
#define TESTS_WORDCOUNT_COUT_CAPTURE_H_

#include <iostream>
#include <sstream>
#include <streambuf>

// Collects what is written to std::cout while it lives, and counts how often it was flushed.
class CoutCapture : public std::stringbuf {
  public:
    CoutCapture() : saved_(std::cout.rdbuf(this)) {}
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;
    ~CoutCapture() override { std::cout.rdbuf(saved_); }

    // How many times std::cout was flushed since the capture began.
    int flushes() const { return flushes_; }

  protected:
    int sync() override {
        ++flushes_;
        return 0;
    }

  private:
    std::streambuf* saved_;
    int flushes_ = 0;
};

#endif  // TESTS_WORDCOUNT_COUT_CAPTURE_H_
