#include "core/files/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "core/files/file_messages.h"

namespace tsubakuro {

Failure SaveFile::failed() const { return failure(unsaved_file_message(path_)); }

Result<void> SaveFile::open() {
  failed_ = !file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  if (failed_) return failed();
  return {};
}

Result<void> SaveFile::write(QByteArrayView bytes) {
  return write_with([bytes](QByteArray& out) { out.append(bytes); });
}

Result<void> SaveFile::flush() {
  if (!failed_ && !pending_.isEmpty()) {
    failed_ = file_.write(pending_) != pending_.size();
    pending_.resize(0);  // keeps its room for what comes next
  }
  if (failed_) return failed();
  return {};
}

Result<void> SaveFile::sync() {
  if (Result<void> flushed = flush(); !flushed) return flushed;
  const int descriptor = file_.handle();
  failed_ = descriptor < 0 || ::fsync(descriptor) != 0;
  if (failed_) return failed();
  return {};
}

Result<void> SaveFile::link_as(const QString& name) {
  if (Result<void> synced = sync(); !synced) return synced;
  const int descriptor = file_.handle();
  // As QSaveFile gives them: the old file's, or what a new file would get.
  struct stat old {};
  mode_t mode = 0;
  if (::stat(QFile::encodeName(path_).constData(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  // The temporary file may have no name at all (O_TMPFILE): it is reached
  // through its descriptor.
  const QByteArray opened = "/proc/self/fd/" + QByteArray::number(descriptor);
  failed_ = ::fchmod(descriptor, mode) != 0 ||
            ::linkat(AT_FDCWD, opened.constData(), AT_FDCWD, QFile::encodeName(name).constData(),
                     AT_SYMLINK_FOLLOW) != 0;
  if (failed_) return failed();
  return {};
}

Result<void> rename_over(const QString& from, const QString& to) {
  if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
    return {};
  return failure(unsaved_file_message(to));
}

Result<void> SaveFile::commit() {
  if (!flush()) {
    file_.cancelWriting();
    file_.commit();  // discards the temporary file
    return failed();
  }
  if (!file_.commit()) return failed();
  return {};
}

Result<void> save_file(const QString& path, QByteArrayView bytes) {
  SaveFile file(path);
  if (Result<void> opened = file.open(); !opened) return opened;
  if (Result<void> written = file.write(bytes); !written) return written;
  return file.commit();
}

}  // namespace tsubakuro
