#include "core/engine/bank_fields.h"

#include "core/engine/field_checks.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

constexpr int kNameWidth = 15;

// The list's kana as the record holds it, and whether `written` is that name.
bool same_name(QStringView written, QStringView listed) {
  return bank_name_key(written) == bank_name_key(space_left(listed, kNameWidth));
}

void put_name(RecordAssembler& record, const QString& given,
              const std::optional<BankListEntry>& entry, bool fill, bool check_names) {
  QString name = given;
  const bool empty = trim_leading_spaces(given).isEmpty();
  const int field = record.next_field();
  if (entry && fill && empty) {
    name = entry->kana.toString();
    record.note({RecordNote::Kind::Corrected, field, name, given});
  }
  const QString written = space_left(name, kNameWidth);
  record.put_checked_if(check_names, written);
  if (entry && !same_name(written, entry->kana)) {
    record.note({RecordNote::Kind::Differs, field, trim_trailing_spaces(written).toString(),
                 entry->kana.toString()});
  }
}

}  // namespace

void put_bank_fields(RecordAssembler& record, const BankFieldValues& values, bool check_names,
                     const BankList* banks) {
  std::optional<BankListEntry> bank;
  std::optional<BankListEntry> branch;
  // A code that is not all digits already fails its own check; only a code of
  // digits is looked for in the list, and a branch only within a bank it knows.
  const bool bank_digits = check_digits(values.bank_code) == 0;
  const bool branch_digits = check_digits(values.branch_code) == 0;
  if (banks && bank_digits) bank = banks->bank(values.bank_code);
  if (bank && branch_digits) branch = banks->branch(values.bank_code, values.branch_code);

  const int bank_field = record.next_field();
  record.put_checked(values.bank_code);
  if (banks && bank_digits && !bank) {
    record.fail(bank_field, QStringLiteral("銀行一覧にない銀行番号「%1」").arg(values.bank_code));
  }
  put_name(record, values.bank_name, bank, values.fill_empty_names, check_names);

  const int branch_field = record.next_field();
  record.put_checked(values.branch_code);
  if (bank && branch_digits && !branch) {
    record.fail(branch_field,
                QStringLiteral("銀行一覧にない支店番号「%1」").arg(values.branch_code));
  }
  put_name(record, values.branch_name, branch, values.fill_empty_names, check_names);
}

}  // namespace tsubakuro
