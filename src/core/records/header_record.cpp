#include "core/records/header_record.h"

#include "core/records/bank_fields.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro {
namespace {

bool accepted_kind_code(QStringView code, TransferKind transfer) {
  if (transfer == TransferKind::Debit) return code == u"91";
  return code == u"21" || code == u"11" || code == u"12";
}

}  // namespace

BuiltRecord build_header_record(const std::array<QString, kHeaderValueCount>& h,
                                TransferKind transfer, const ConversionOptions& options,
                                const FieldChecker& checker, const BankList* banks) {
  const bool check_names = !options.skip_name_check;
  RecordAssembler record(transfer, RecordKind::Header, checker, options.bank_rules);

  record.put_checked(u"1");
  const QString kind_code = record.fitted(h[0]);
  record.put_code(kind_code, record.fits(h[0]) && accepted_kind_code(kind_code, transfer));
  const QString code_class = record.fitted(h[1]);
  record.put_fitted(h[1]);
  // Any other code announces another character set (1: EBCDIC); the file is
  // Shift-JIS, so banks that check the code refuse it.
  if (options.bank_rules.check_characters && code_class != u"0")
    record.fail(3, QStringLiteral("シフトJISのファイルは「0」"));
  record.put_fitted(h[2]);
  record.put_name(h[3], check_names);

  const TransferDate date = TransferDate::from_stored(h[kHeaderTransferDate]);
  const QString date_field = date.field();
  record.put_code(date_field, !record.check_fails(date_field, 6) && date.is_calendar_day());

  // The company's own names stay as its settings hold them: 環境設定 fills them.
  put_bank_fields(record, {h[5], h[6], h[7], h[8], false}, check_names, banks);
  const QString account_type = record.fitted(h[9]);
  record.put_code(account_type,
                  record.fits(h[9]) && (account_type == u"1" || account_type == u"2"));
  record.put_digits(h[10]);
  record.put(record.fitted(h[11]));
  return record.finish();
}

}  // namespace tsubakuro
