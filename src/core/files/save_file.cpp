#include "core/files/save_file.h"

namespace tsubakuro {

bool SaveFile::open() {
  failed_ = !file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  return !failed_;
}

bool SaveFile::write(QByteArrayView bytes) {
  return write_with([bytes](QByteArray& out) { out.append(bytes); });
}

bool SaveFile::flush() {
  if (!failed_ && !pending_.isEmpty()) {
    failed_ = file_.write(pending_) != pending_.size();
    pending_.resize(0);  // keeps its room for what comes next
  }
  return !failed_;
}

bool SaveFile::commit() {
  if (!flush()) {
    file_.cancelWriting();
    file_.commit();  // discards the temporary file
    return false;
  }
  return file_.commit();
}

bool save_file(const QString& path, QByteArrayView bytes) {
  SaveFile file(path);
  return file.open() && file.write(bytes) && file.commit();
}

}  // namespace tsubakuro
