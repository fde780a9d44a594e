#pragma once
// Another process that holds the settings store with an exclusive lock, as a program in the
// middle of a long write would, until the holder is destroyed.
#include <sqlite3.h>
#include <unistd.h>

#include <string>

#include "ChildProcess.h"

namespace palettor::test {

class StoreHolder {
 public:
  explicit StoreHolder(const std::string& storePath) {
    if (::pipe(ready_) != 0 || ::pipe(release_) != 0) return;
    pid_ = Spawn([&] {
      sqlite3* db = nullptr;
      char byte = 0;
      const bool held = sqlite3_open(storePath.c_str(), &db) == SQLITE_OK &&
                        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
      (void)::write(ready_[1], held ? "1" : "0", 1);
      (void)::read(release_[0], &byte, 1);
      return 0;
    });
    char byte = 0;
    held_ = ::read(ready_[0], &byte, 1) == 1 && byte == '1';
  }
  ~StoreHolder() { Release(); }
  StoreHolder(const StoreHolder&) = delete;
  StoreHolder& operator=(const StoreHolder&) = delete;

  bool Held() const { return held_; }
  void Release() {
    if (pid_ <= 0) return;
    (void)::write(release_[1], "r", 1);
    Wait(pid_);
    pid_ = -1;
    for (int fd : {ready_[0], ready_[1], release_[0], release_[1]}) ::close(fd);
  }

 private:
  int ready_[2] = {-1, -1};
  int release_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool held_ = false;
};

}  // namespace palettor::test
