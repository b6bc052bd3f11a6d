#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "core/text/result.h"

namespace tsubakuro {

// The mark that one conversion of a company is under way, from either program:
// the company's lock file, locked by the system for as long as the conversion
// holds it. The system drops the lock of a process that ends however it ends, so
// a file left by a killed run, one that is empty or garbage, or one naming a
// process that is gone or is some other program, is taken over; only a process of
// this program that still holds its lock keeps others out. The file holds the
// process id, the program and the machine, as other tools read it.
class CompanyLock {
 public:
  // What claim() found in the file's place before taking it, for the log: nothing
  // when no file was there.
  struct Claimed {
    std::unique_ptr<CompanyLock> lock;
    std::optional<QString> taken_over;  // "空", "終了したプロセス 1234", ...
  };

  ~CompanyLock();
  CompanyLock(const CompanyLock&) = delete;
  CompanyLock& operator=(const CompanyLock&) = delete;

  // Takes the lock at `path`. Fails when a conversion holds it, naming `company`,
  // or when a folder or a file that cannot be written stands in its place, naming
  // that. A lock that cannot be made in a folder that takes no new file gives no
  // lock and no failure: the date and the log cannot be written there either, and
  // the step that writes them stops the conversion naming its own file.
  static Result<Claimed> claim(const QString& path, const QString& company);

 private:
  CompanyLock(QString path, int descriptor) : path_(std::move(path)), descriptor_(descriptor) {}

  QString path_;
  int descriptor_ = -1;
};

}  // namespace tsubakuro
