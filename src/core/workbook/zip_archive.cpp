#include "core/workbook/zip_archive.h"

#include <QFile>
#include <string_view>
#include <unordered_set>

namespace tsubakuro {

ZipArchive::ZipArchive(const QString& path) {
  archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &open_error_);
  if (!archive_) {
    QFile file(path);
    starts_as_archive_ =
        file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("PK\x03\x04", 4);
  }
}

ZipArchive::~ZipArchive() {
  if (archive_) zip_discard(archive_);
}

bool ZipArchive::has_duplicate_names() const {
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  std::unordered_set<std::string_view> names;
  names.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name && !names.insert(name).second) return true;
  }
  return false;
}

bool ZipArchive::contains(const QString& name) const {
  return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
}

QByteArray ZipArchive::head(const QString& name, qint64 size) const {
  zip_file_t* file = zip_fopen(archive_, name.toUtf8().constData(), 0);
  if (!file) return {};
  QByteArray bytes(size, Qt::Uninitialized);
  const zip_int64_t got = zip_fread(file, bytes.data(), static_cast<zip_uint64_t>(size));
  zip_fclose(file);
  if (got < 0) return {};
  bytes.truncate(got);
  return bytes;
}

}  // namespace tsubakuro
