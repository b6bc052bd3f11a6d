#include "gui/editors/option_captions.h"

#include <QStringList>

namespace tsubakuro {

QString twenty_digit_caption(const FieldTable& names, TransferKind transfer) {
  return names.at(transfer, RecordKind::Data, 12) + QStringLiteral("＋") +
         names.at(transfer, RecordKind::Data, 13) + QStringLiteral("を２０桁の１つとして扱う");
}

QString debit_trailer_zero_caption(const FieldTable& names) {
  QStringList counts;
  for (int field = 4; field <= 7; ++field)
    counts.append(names.at(TransferKind::Debit, RecordKind::Trailer, field));
  return QStringLiteral("振替結果ｺｰﾄﾞ(") + counts.join(QStringLiteral("、")) +
         QStringLiteral(")に固定でゼロを入れる");
}

QString debit_data_zero_caption(const FieldTable& names) {
  return names.at(TransferKind::Debit, RecordKind::Data, 14) +
         QStringLiteral("に固定でゼロを入れる");
}

}  // namespace tsubakuro
