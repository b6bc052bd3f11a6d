#include "core/engine/trailer_record.h"

#include "core/zengin/padding.h"

namespace tsubakuro {

BuiltRecord build_trailer_record(qint64 row_count, qint64 amount_total, TransferKind transfer,
                                 const ConversionOptions& options, const FieldChecker& checker) {
  RecordAssembler record(transfer, RecordKind::Trailer, checker);
  record.put_checked(u"8");

  const QString count = zero_right(QString::number(row_count), 6);
  record.put_checked(count);
  if (row_count < 0 || row_count > kMaxTrailerCount) record.fail(2);

  // A negative total keeps its minus sign inside the field.
  const QString amount = zero_right(QString::number(amount_total), 12);
  record.put_checked(amount);
  if (amount_total < 0 || amount_total > kMaxTrailerAmount) record.fail(3);

  if (transfer == TransferKind::Debit) {
    const bool zeros = options.debit_trailer_zero == 1;
    for (int width : {6, 12, 6, 12}) record.put(QString(width, zeros ? u'0' : u' '));
    record.put(QString(65, u' '));
  } else {
    record.put(QString(101, u' '));
  }
  return record.finish();
}

QByteArray build_end_record() {
  QByteArray record(kLogicalRecordLength, ' ');
  record[0] = '9';
  return record;
}

}  // namespace tsubakuro
