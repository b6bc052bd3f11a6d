#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include "core/text/result.h"

namespace tsubakuro {

// A file the user owns (settings, a bank file, a worksheet's text) is written whole
// or left as it was: the bytes go to a temporary file beside it, which takes its
// place only when every byte has reached the disk.
//
// Qt 6.4 commits a buffered QSaveFile whose final flush failed, which would pass a
// file cut short by a full disk off as whole. So the file is opened unbuffered and
// the bytes wait in a buffer of this class, reaching the disk in large writes whose
// counts are checked.
//
// Every step fails, once any write has failed, with unsaved_file_message.
class SaveFile {
 public:
  explicit SaveFile(const QString& path) : path_(path), file_(path) {}

  Result<void> open();
  // Queues `bytes`.
  Result<void> write(QByteArrayView bytes);
  // Queues what `fill` appends to the buffer it is handed, for writers that build
  // their bytes in place.
  template <typename Fill>
  Result<void> write_with(Fill&& fill) {
    if (failed_) return failed();
    fill(pending_);
    if (pending_.size() < kWriteSize) return {};
    return flush();
  }
  // Writes what waits now.
  Result<void> flush();
  // Writes what waits and makes the temporary file whole on the disk.
  Result<void> sync();
  // Two files that must take their places together (a bank file and its log)
  // cannot each commit(): a stop between the two would leave one new and one old.
  // Each is synced and linked under a name of its own beside its final one,
  // with the permissions commit() would give it, and then renamed into place
  // with rename_over(); the SaveFile itself is then dropped.
  Result<void> link_as(const QString& name);
  // Writes what waits and puts the file in place; on failure the old file is kept.
  Result<void> commit();
  // Drops the temporary file; the old file stays.
  void cancel() { file_.cancelWriting(); }

 private:
  static constexpr qsizetype kWriteSize = 1 << 16;

  Failure failed() const;

  QString path_;
  QSaveFile file_;
  QByteArray pending_;
  bool failed_ = false;
};

// Renames `from` over `to` in one step; on failure `to` is as it was.
Result<void> rename_over(const QString& from, const QString& to);

// Writes `bytes` as the whole of the file at `path` through SaveFile.
Result<void> save_file(const QString& path, QByteArrayView bytes);

}  // namespace tsubakuro
