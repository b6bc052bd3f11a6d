#include "core/zengin/field_dictionary.h"

#include "core/zengin/record_layout.h"

namespace tsubakuro {

QStringList& FieldTable::of(TransferKind transfer, RecordKind record) {
  return lists_[static_cast<int>(transfer)][static_cast<int>(record)];
}

const QStringList& FieldTable::of(TransferKind transfer, RecordKind record) const {
  return lists_[static_cast<int>(transfer)][static_cast<int>(record)];
}

QString FieldTable::at(TransferKind transfer, RecordKind record, int number) const {
  const QStringList& list = of(transfer, record);
  return number >= 1 && number <= list.size() ? list[number - 1] : QString();
}

namespace {

template <typename Pick>
FieldTable table_from_layouts(Pick pick) {
  FieldTable table;
  for (TransferKind transfer : {TransferKind::Credit, TransferKind::Debit}) {
    for (RecordKind record :
         {RecordKind::Header, RecordKind::Data, RecordKind::Trailer, RecordKind::End}) {
      for (const FieldLayout& field : record_layout(transfer, record))
        table.of(transfer, record).append(pick(field));
    }
  }
  return table;
}

}  // namespace

FieldTable builtin_field_names() {
  return table_from_layouts(
      [](const FieldLayout& field) { return QString::fromUtf16(field.name); });
}

FieldTable builtin_field_kinds() {
  return table_from_layouts([](const FieldLayout& field) { return QString(QChar(field.kind)); });
}

}  // namespace tsubakuro
