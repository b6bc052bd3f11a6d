#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <utility>

namespace tsubakuro::testing {

// Every file of the program is a relative name in the current folder, so a test
// that touches files runs inside a fresh folder of its own and returns afterwards.
class ScopedWorkingDir {
 public:
  ScopedWorkingDir();
  ~ScopedWorkingDir();
  ScopedWorkingDir(const ScopedWorkingDir&) = delete;
  ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// tests/data/conversion/payments.<kind>: the project's own sheet saved by the
// office suite in each kind a payment list may be kept in.
QString payments_workbook(const char* kind);
// Its first worksheet as the export and the program's own reader must write it:
// cell values, not their display formats (no thousands separators, no fixed
// decimals, no leading zeros of a number format), formulas as their results,
// empty cells as empty columns, a line break inside a cell as a space, every row
// as wide as the widest; the second worksheet left out.
extern const QString kPaymentsSheet;

QByteArray read_file(const QString& name);
void write_file(const QString& name, const QByteArray& bytes);
// Writes text as the program's files hold it: CP932.
void write_cp932_file(const QString& name, const QString& text);

// Copies the sample company of examples/ (tbk.ini, the .cfg, the lists) into
// `folder`, writable, replacing what is there.
void copy_sample_company(const QString& folder = QStringLiteral("."));

QString source_path(const QString& relative);  // a path below the project's root
QString binary_path(const QString& relative);  // a path below the build folder

// Makes every write beyond `bytes` fail for as long as it lives. Unlike
// permission bits this stops root too, and it fails a write half way, which is
// what a full disk does to a settings file.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

}  // namespace tsubakuro::testing
