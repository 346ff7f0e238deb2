#ifndef TESTS_SUPPORT_TEMPFILE_H_
#define TESTS_SUPPORT_TEMPFILE_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

// A file in the test's temporary directory that holds the given bytes while the object lives.
// Its name is unique to the running test, so tests in parallel processes never share one.
class TempFile {
  public:
    explicit TempFile(const std::string& contents) : path_(UniquePath()) {
        std::ofstream(path_, std::ios::binary) << contents;
    }

    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    ~TempFile() { std::remove(path_.c_str()); }

    // The file's path.
    const std::string& path() const { return path_; }

  private:
    static std::string UniquePath() {
        static int count = 0;
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "_" + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        return testing::TempDir() + name + "_" + std::to_string(++count);
    }

    const std::string path_;
};

#endif  // TESTS_SUPPORT_TEMPFILE_H_
