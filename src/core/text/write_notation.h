#pragma once

#include <QString>
#include <QStringView>

namespace tsubakuro {

// The sequential "write" notation of the settings and log files: one value per
// line, text between double quotes with nothing escaped, numbers as bare decimal
// digits, an unset value as an empty line, CR LF line ends.

// Reads items in order from text already decoded from CP932.
class WriteNotationReader {
 public:
  explicit WriteNotationReader(QString text);

  // True once nothing but line ends is left to read.
  bool at_end() const;
  // The next item: leading blanks are skipped; a quoted value is the text up to
  // the next double quote; any other value runs to the next comma or the end of
  // the line; an empty line gives empty text. Never reads past the end.
  QString read_item();

 private:
  QString text_;
  qsizetype position_ = 0;
};

// Builds the lines of a file; encoding to CP932 is the caller's.
class WriteNotationWriter {
 public:
  void write_text(QStringView text);  // "text" CR LF
  void write_number(qint64 number);   // digits CR LF
  void write_empty();                 // CR LF
  const QString& text() const { return text_; }

 private:
  QString text_;
};

}  // namespace tsubakuro
