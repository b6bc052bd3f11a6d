#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace tsubakuro {

// A name field mended into the banks' characters: the log tells the user both texts.
struct FieldCorrection {
  int field = 0;
  QString corrected;
  QString original;
};

// A bank or branch name that is not the bank list's kana for its code: a warning
// for the log, as the bank may still take it.
struct NameDifference {
  int field = 0;
  QString written;  // as the record holds it, without the trailing blanks
  QString listed;
};

// Something the log tells of a name field that is no error: the record holds
// what the checks pass, but not what the list said.
struct NameNotice {
  enum class Kind {
    Cut,        // the name was longer than its field: `text` is what the field holds
    NotFilled,  // the bank list's kana (`text`) fails a check in force: `reason` says which
  };
  Kind kind = Kind::Cut;
  int field = 0;
  QString text;
  QString reason;
  int width = 0;  // Cut: the field's width
};

// A logical record as it goes to the file, with the fields that failed.
struct BuiltRecord {
  QByteArray bytes;          // exactly kLogicalRecordLength bytes of CP932
  QList<int> failed_fields;  // field numbers from 1, in check order
  // Why a field failed, where a rule can say more than "正しくありません".
  QMap<int, QString> failure_reasons;
  // Values the build put in for the ones given (mended names, names filled from
  // the bank list), in field order.
  QList<FieldCorrection> corrections;
  QList<NameDifference> name_differences;  // in field order
  QList<NameNotice> name_notices;          // in field order
};

}  // namespace tsubakuro
