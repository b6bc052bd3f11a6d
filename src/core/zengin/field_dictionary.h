#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// One text per Zengin field, per transfer kind and record kind: the shape of the
// field dictionary, used for the names and the kinds ("N", "C", or anything
// else for an unchecked field) alike.
class FieldTable {
 public:
  QStringList& of(TransferKind transfer, RecordKind record);
  const QStringList& of(TransferKind transfer, RecordKind record) const;
  // Field numbers count from 1; a number outside the record gives empty text.
  QString at(TransferKind transfer, RecordKind record, int number) const;

  bool operator==(const FieldTable&) const = default;

 private:
  std::array<std::array<QStringList, kRecordKindCount>, kTransferKindCount> lists_;
};

// The built-in names and kinds, exactly those of the record layouts.
FieldTable builtin_field_names();
FieldTable builtin_field_kinds();

}  // namespace tsubakuro
