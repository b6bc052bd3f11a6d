#pragma once

#include <zip.h>

#include <QIODevice>
#include <QString>

namespace tsubakuro {

// A workbook's zip archive, open for reading its members.
class ZipArchive {
 public:
  explicit ZipArchive(const QString& path);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool valid() const { return archive_ != nullptr; }
  bool contains(const QString& name) const;
  zip_t* handle() const { return archive_; }

 private:
  zip_t* archive_ = nullptr;
};

// One member of the archive as a stream, so a sheet is inflated as it is parsed.
// Not open when the archive has no such member.
class ZipEntryDevice : public QIODevice {
 public:
  ZipEntryDevice(const ZipArchive& archive, const QString& name);
  ~ZipEntryDevice() override;
  bool isSequential() const override { return true; }
  bool failed() const { return failed_; }

 protected:
  qint64 readData(char* data, qint64 size) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  zip_file_t* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace tsubakuro
