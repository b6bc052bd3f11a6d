#include "core/records/header_record.h"

#include "core/records/bank_fields.h"
#include "core/records/plan_walk.h"
#include "core/zengin/record_plan.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro {
namespace {

// Whether the plan has one field put as `put`, and it reads header value `value`.
constexpr bool reads_once(std::span<const PlannedField> plan, FieldPut put, int value) {
  int found = 0;
  for (const PlannedField& planned : plan) {
    if (planned.put == put) found += planned.column == value ? 1 : 2;
  }
  return found == 1;
}

// The settings name two header values for their meaning; the plan must read them
// where the settings keep them.
static_assert(reads_once(kHeaderCreditPlan, FieldPut::TransferDate, kHeaderTransferDate) &&
              reads_once(kHeaderDebitPlan, FieldPut::TransferDate, kHeaderTransferDate));
static_assert(reads_once(kHeaderCreditPlan, FieldPut::Name, kHeaderCompanyName) &&
              reads_once(kHeaderDebitPlan, FieldPut::Name, kHeaderCompanyName));

}  // namespace

BuiltRecord build_header_record(const std::array<QString, kHeaderValueCount>& h,
                                TransferKind transfer, const ConversionOptions& options,
                                const FieldChecker& checker, const BankList* banks) {
  const bool check_names = !options.skip_name_check;
  RecordAssembler record(transfer, RecordKind::Header, checker, options.bank_rules);
  const auto plan = header_plan(transfer);
  const auto value_of = [&h](const PlannedField& planned) {
    return planned.column == kNoColumn ? QString() : h[planned.column];
  };
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedField& planned = plan[i];
    const QString value = value_of(planned);
    const bool kept = planned.cut == Cut::Silent || record.fits(value);
    switch (planned.put) {
      case FieldPut::Fixed:
        record.put_checked(fixed_text(planned.texts.front()));
        break;
      case FieldPut::Checked:
        record.put_checked(record.fitted(value));
        if (!kept) record.fail(planned.field);
        break;
      case FieldPut::Code: {
        const QString code = record.fitted(value);
        record.put_code(code, kept && is_listed_code(QStringView(code), planned.texts));
        break;
      }
      case FieldPut::CodeClass: {
        const QString code = record.fitted(value);
        record.put_checked(code);
        if (!kept) record.fail(planned.field);
        // Any other code announces another character set (1: EBCDIC); the file is
        // Shift-JIS, so banks that check the code refuse it.
        if (options.bank_rules.check_characters &&
            !is_listed_code(QStringView(code), planned.texts))
          record.fail(
              planned.field,
              QStringLiteral("シフトJISのファイルは「%1」").arg(fixed_text(planned.texts.front())));
        break;
      }
      case FieldPut::Name:
        record.put_name(value, check_names);
        break;
      case FieldPut::TransferDate: {
        const TransferDate date = TransferDate::from_stored(value);
        const QString date_field = date.field();
        record.put_code(date_field,
                        !record.check_fails(date_field, planned.field) && date.is_calendar_day());
        break;
      }
      case FieldPut::BankCode:
      case FieldPut::BankName:
        // Bank, bank name, branch, branch name go in together: a branch is looked up
        // within its bank. The company's own names stay as its settings hold them:
        // 環境設定 fills them.
        put_bank_fields(
            record,
            {value, value_of(plan[i + 1]), value_of(plan[i + 2]), value_of(plan[i + 3]), false},
            check_names, banks);
        i += 3;
        break;
      case FieldPut::Digits:
        record.put_digits(value);
        break;
      case FieldPut::Text:
        record.put(record.fitted(value));
        break;
      case FieldPut::Amount:
      case FieldPut::Customer:
      case FieldPut::Total:
      case FieldPut::BankFills:
        break;  // not a header's
    }
  }
  return record.finish();
}

}  // namespace tsubakuro
