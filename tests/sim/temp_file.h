// A file with the given content in /tmp, removed when the test is done.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    char name[] = "/tmp/pqk_sim_test_XXXXXX";
    const int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      const ssize_t written = write(fd, content.data(), content.size());
      EXPECT_EQ(written, static_cast<ssize_t>(content.size()));
      close(fd);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
