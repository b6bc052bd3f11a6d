#include "core/records/trailer_record.h"

namespace tsubakuro {

BuiltRecord build_trailer_record(qint64 row_count, qint64 amount_total, TransferKind transfer,
                                 const ConversionOptions& options, const FieldChecker& checker) {
  RecordAssembler record(transfer, RecordKind::Trailer, checker);
  record.put_checked(u"8");

  const QString count = record.fitted(QString::number(row_count));
  record.put_checked(count);
  if (row_count < 0 || row_count > kMaxTrailerCount) record.fail(2);

  // A negative total keeps its minus sign inside the field.
  const QString amount = record.fitted(QString::number(amount_total));
  record.put_checked(amount);
  if (amount_total < 0 || amount_total > kMaxTrailerAmount) record.fail(3);

  if (transfer == TransferKind::Debit) {
    const bool zeros = options.debit_trailer_zero;
    // 振替結果 counts and amounts: the bank fills them in; zeros when the option asks.
    for (int field = 4; field <= 7; ++field)
      record.put(QString(record.width(field), zeros ? u'0' : u' '));
  }
  record.put(u"");  // 未使用, space-filled
  return record.finish();
}

QByteArray build_end_record() {
  QByteArray record(kLogicalRecordLength, ' ');
  record[0] = '9';
  return record;
}

}  // namespace tsubakuro
