#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <span>

#include "core/text/result.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

// How many physical records a file of `file_size` bytes holds when read as
// records of `record_length` bytes: the quotient rounded to the nearest whole
// number, halves to the even neighbour, as the program has always counted them.
qint64 zengin_record_count(qint64 file_size, int record_length);

// Cuts a record at the byte positions of `layout` and decodes every piece from
// CP932 by itself, so a double-byte character cut in two or bytes that are not
// CP932 show as U+FFFD in the piece where they stand instead of shifting the rest.
// A record shorter than the layout gives short (or empty) pieces at its end.
QStringList cut_record(QByteArrayView record, std::span<const FieldLayout> layout);

// How a bank file's records lie in it, told by the file's own bytes: a file may
// come back from the bank, or have been written under another company's
// settings, so the settings at hand need not describe it.
struct DetectedRecordLength {
  int record_length = kLogicalRecordLength;  // one of kRecordLengths
  bool crlf = false;                         // each record ends in CR LF
  // No other of kRecordLengths reads the file as a bank file as well.
  bool unambiguous = true;
};

// The record length is the shortest of kRecordLengths at which the file holds
// three records or more, the first beginning as a header, the second as a data
// or trailer record and the last as an end record. At a length shorter than the
// true one the second record's offset falls into the first record's padding or
// line end, which never holds those digits, so the shortest is the true one for
// every file the program writes. Fails for a file that fits no length.
Result<DetectedRecordLength> detect_record_length(QIODevice& file);

struct RecordRead {
  enum class Status {
    Read,        // the record's 120 bytes are in `bytes`
    PastEnd,     // the record reaches past the end of the file
    Unreadable,  // a number below 1, or no open file
  };
  Status status = Status::Unreadable;
  QByteArray bytes;

  bool ok() const { return status == Status::Read; }
  // The record's データ区分 ('1', '2', '8', '9' in a well-formed file), or 0.
  char data_kind() const { return ok() ? bytes.front() : '\0'; }
};

// A written bank file opened for reading record by record. Each physical record
// is a slot of L bytes of which the first 120 are the Zengin record; the rest
// (CR LF or padding) is never looked at, so a file read with the wrong L is read
// at shifted offsets, as the bank would read it.
class ZenginRecordReader {
 public:
  // Fails when the file cannot be opened; the reader then stays closed.
  Result<void> open(const QString& path, int record_length);
  void close();
  bool is_open() const { return file_.isOpen(); }

  int record_length() const { return record_length_; }
  // The rounded count of records, taken when the file was opened.
  qint64 record_count() const { return record_count_; }

  // Record `number`, counted from 1.
  RecordRead read(qint64 number);

 private:
  QFile file_;
  int record_length_ = kLogicalRecordLength;
  qint64 record_count_ = 0;
};

}  // namespace tsubakuro
