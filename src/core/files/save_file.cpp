#include "core/files/save_file.h"

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
