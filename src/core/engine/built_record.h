#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <span>

#include "core/zengin/record_layout.h"

namespace tsubakuro {

class FieldChecker;

// A line the log takes about a field that did not fail: a value the build put
// in for the one given (補正), or a value the bank list names differently (注意).
struct RecordNote {
  enum class Kind { Corrected, Differs };
  Kind kind;
  int field;
  QString text;   // as the record holds it
  QString other;  // Corrected: the value given; Differs: the list's
};

// A logical record as it goes to the file, with the fields that failed.
struct BuiltRecord {
  QByteArray bytes;             // exactly kLogicalRecordLength bytes of CP932
  QList<int> failed_fields;     // field numbers from 1, in check order
  QHash<int, QString> reasons;  // why a failed field failed, where more can be said
  QList<RecordNote> notes;      // in field order
};

// Lays the fields of one record down in order, fitting each to its width in
// bytes. Widths count characters, and the checks keep a record to one-byte
// characters; but a field the checks let through (a name when the name check is
// skipped, a field whose kind the user blanked) may hold two-byte characters.
// Such a field is cut at a character boundary and filled with spaces, so every
// later field keeps its byte position and the bank reads the right amount and
// account; the cut, or a character CP932 cannot hold, fails the field.
class RecordAssembler {
 public:
  RecordAssembler(TransferKind transfer, RecordKind record, const FieldChecker& checker);

  // Puts the next field (fields come in order from 1) and returns its number.
  int put(QStringView text);
  // Puts the next field and applies the field check of its working kind.
  void put_checked(QStringView text);
  // put_checked, or put when `check` is false (the name check skipped).
  void put_checked_if(bool check, QStringView text);
  // Puts a code field that passes only when `accepted`.
  void put_code(QStringView text, bool accepted);
  void fail(int field);
  // Fails `field` and keeps why, in words for the log.
  void fail(int field, const QString& reason);
  void note(RecordNote note);
  int next_field() const { return next_field_; }
  // Applies the field check of `field` to `text`: true when it fails.
  bool check_fails(QStringView text, int field) const;

  BuiltRecord finish();

 private:
  std::span<const FieldLayout> layout_;
  const FieldChecker& checker_;
  int part_;
  int next_field_ = 1;
  quint32 failed_mask_ = 0;
  QByteArray bytes_;
  QHash<int, QString> reasons_;
  QList<RecordNote> notes_;
};

}  // namespace tsubakuro
