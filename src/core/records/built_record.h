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
};

}  // namespace tsubakuro
