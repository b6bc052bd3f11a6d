#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace tsubakuro {

// A file the user owns (settings, a bank file, a worksheet's text) is written whole
// or left as it was: the bytes go to a temporary file beside it, which takes its
// place only when every byte has reached the disk.
//
// Qt 6.4 commits a buffered QSaveFile whose final flush failed, which would pass a
// file cut short by a full disk off as whole. So the file is opened unbuffered and
// the bytes wait in a buffer of this class, reaching the disk in large writes whose
// counts are checked.
class SaveFile {
 public:
  explicit SaveFile(const QString& path) : file_(path) {}

  bool open();
  // Queues `bytes`; false once any write has failed.
  bool write(QByteArrayView bytes);
  // Queues what `fill` appends to the buffer it is handed, for writers that build
  // their bytes in place; false once any write has failed.
  template <typename Fill>
  bool write_with(Fill&& fill) {
    if (failed_) return false;
    fill(pending_);
    return pending_.size() < kWriteSize || flush();
  }
  // Writes what waits now; false once any write has failed.
  bool flush();
  // Writes what waits and puts the file in place; false, with the old file kept,
  // when any write failed.
  bool commit();
  // Drops the temporary file; the old file stays.
  void cancel() { file_.cancelWriting(); }

 private:
  static constexpr qsizetype kWriteSize = 1 << 16;

  QSaveFile file_;
  QByteArray pending_;
  bool failed_ = false;
};

// Writes `bytes` as the whole of the file at `path` through SaveFile.
bool save_file(const QString& path, QByteArrayView bytes);

}  // namespace tsubakuro
