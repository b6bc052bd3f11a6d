#pragma once

#include <zip.h>

#include <QByteArray>
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
  // Whether the file is no zip archive at all, rather than a damaged one. A file
  // that starts as a zip archive but has no directory is one cut short (a download
  // that stopped): damage, however little of it is left.
  bool not_an_archive() const {
    if (starts_as_archive_) return false;
    return open_error_ == ZIP_ER_NOZIP || open_error_ == ZIP_ER_NOENT ||
           open_error_ == ZIP_ER_OPEN || open_error_ == ZIP_ER_READ;
  }
  // Whether the file starts as a zip archive but its directory, which ends it, is
  // not there.
  bool cut_short() const { return starts_as_archive_ && open_error_ == ZIP_ER_NOZIP; }
  // Two members of one name: readers differ in which they take.
  bool has_duplicate_names() const;
  bool contains(const QString& name) const;
  // The first `size` bytes of a member, or fewer when it is shorter; empty when
  // there is no such member or it does not inflate.
  QByteArray head(const QString& name, qint64 size) const;
  zip_t* handle() const { return archive_; }

 private:
  zip_t* archive_ = nullptr;
  int open_error_ = 0;
  bool starts_as_archive_ = false;
};

}  // namespace tsubakuro
