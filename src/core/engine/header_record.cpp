#include "core/engine/header_record.h"

#include "core/engine/bank_fields.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

bool accepted_kind_code(QStringView code, TransferKind transfer) {
  if (transfer == TransferKind::Debit) return code == u"91";
  return code == u"21" || code == u"11" || code == u"12";
}

// The stored date is month then day; each half is padded on its own and the
// range is compared as text, so the day is never weighed against the month.
QString transfer_date_field(QStringView stored) {
  return zero_right(stored.left(2), 2) + zero_right(stored.right(2), 2);
}

bool date_in_range(QStringView field) {
  const QStringView month = field.left(2);
  const QStringView day = field.right(2);
  return month >= u"01" && month <= u"12" && day >= u"01" && day <= u"31";
}

}  // namespace

BuiltRecord build_header_record(const std::array<QString, kHeaderValueCount>& h,
                                TransferKind transfer, const ConversionOptions& options,
                                const FieldChecker& checker, const BankList* banks) {
  const bool check_names = options.skip_name_check != 1;
  RecordAssembler record(transfer, RecordKind::Header, checker);

  record.put_checked(u"1");
  const QString kind_code = space_left(h[0], 2);
  record.put_code(kind_code, accepted_kind_code(kind_code, transfer));
  record.put_checked(space_left(h[1], 1));
  record.put_checked(space_left(h[2], 10));
  record.put_checked_if(check_names, space_left(h[3], 40));

  const QString date = transfer_date_field(h[4]);
  record.put_code(date, !record.check_fails(date, 6) && date_in_range(date));

  // The company's own names stay as its settings hold them: 環境設定 fills them.
  put_bank_fields(record, {zero_right(h[5], 4), h[6], zero_right(h[7], 3), h[8], false},
                  check_names, banks);
  const QString account_type = space_left(h[9], 1);
  record.put_code(account_type, account_type == u"1" || account_type == u"2");
  record.put_checked(zero_right(h[10], 7));
  record.put(space_left(h[11], 17));
  return record.finish();
}

}  // namespace tsubakuro
