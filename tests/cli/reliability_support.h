#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "core/settings/settings_test_support.h"

namespace tsubakuro::testing {

// How build/tsubakuro-convert ended. A crash or a hang is a fault whatever the
// input; `crashed` and `timed_out` say which.
struct ConverterRun {
  int exit_code = -1;
  bool crashed = false;
  bool timed_out = false;
  QString output;  // standard output and standard error together
};

class FullDiskFolder;

// Runs the converter in the current folder, killing it after `timeout_ms`. With
// `disk`, its writes fail as that disk's do.
ConverterRun run_converter(const QStringList& arguments, const FullDiskFolder* disk = nullptr,
                           int timeout_ms = 120'000);

// The sample company of copy_sample_company: its credit list is kSampleCreditList,
// read with one heading row, written as kSampleCreditOutput in records of 122
// bytes (CR LF).
inline constexpr char kSampleCompany[] = "サンプル商事";
inline constexpr char kSampleCreditList[] = "振込データ.csv";
inline constexpr char kSampleCreditOutput[] = "FURIKOMI.DAT";
inline constexpr int kSampleRecordLength = 122;

// Every file of the current folder with its bytes, to show that nothing the
// user had was lost or changed.
QMap<QString, QByteArray> folder_snapshot();
// The same without what a run of the sample company writes: its two bank files
// and its log.
QMap<QString, QByteArray> users_files();
// The names of the files that differ between two snapshots (added, removed or
// changed), so that a failure names them rather than dumping their bytes.
QStringList changed_files(const QMap<QString, QByteArray>& before,
                          const QMap<QString, QByteArray>& after);

// A working folder on a disk that can be filled: a small tmpfs where mounting
// is allowed (a real full disk, ENOSPC), otherwise an ordinary folder whose
// writes are cut off by a file-size limit (EFBIG), which fails a write the same
// way. Mounting needs root; the limit works for anyone.
class FullDiskFolder {
 public:
  FullDiskFolder();
  ~FullDiskFolder();
  FullDiskFolder(const FullDiskFolder&) = delete;
  FullDiskFolder& operator=(const FullDiskFolder&) = delete;

  bool is_tmpfs() const { return mounted_; }
  // From here on no file in the folder can grow: the rest of the tmpfs is taken
  // by a filler file, or a size limit applies to this process (and, through
  // run_converter, to its children) until the folder goes away.
  void fill();
  bool filled() const { return filled_; }
  // The filler file, which a snapshot of the folder should leave out.
  static QString filler_name() { return QStringLiteral(".filler"); }

 private:
  QTemporaryDir dir_;
  QString previous_;
  bool mounted_ = false;
  bool filled_ = false;
  std::unique_ptr<FileSizeLimit> limit_;
};

inline constexpr rlim_t kFullDiskFileLimit = 64;

}  // namespace tsubakuro::testing
