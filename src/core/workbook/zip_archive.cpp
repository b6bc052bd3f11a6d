#include "core/workbook/zip_archive.h"

#include <QFile>

namespace tsubakuro {

ZipArchive::ZipArchive(const QString& path) {
  int error = 0;
  archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
}

ZipArchive::~ZipArchive() {
  if (archive_) zip_discard(archive_);
}

bool ZipArchive::contains(const QString& name) const {
  return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
}

ZipEntryDevice::ZipEntryDevice(const ZipArchive& archive, const QString& name) {
  file_ = zip_fopen(archive.handle(), name.toUtf8().constData(), 0);
  if (file_) open(QIODevice::ReadOnly);
}

ZipEntryDevice::~ZipEntryDevice() {
  if (file_) zip_fclose(file_);
}

qint64 ZipEntryDevice::readData(char* data, qint64 size) {
  const zip_int64_t got = zip_fread(file_, data, static_cast<zip_uint64_t>(size));
  if (got < 0) {
    failed_ = true;
    return -1;
  }
  return got;
}

}  // namespace tsubakuro
