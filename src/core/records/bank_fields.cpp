#include "core/records/bank_fields.h"

#include "core/records/field_checker.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

constexpr int kNameWidth = 15;
constexpr int kBankCodeWidth = 4;
constexpr int kBranchCodeWidth = 3;

// The code as the record writes it, when it is one the list can hold: digits
// that the field's width keeps whole. Any other code, an empty one included (it
// is no 0000), fails its own check.
std::optional<QString> listable_code(const QString& code, int width) {
  if (trim_trailing_spaces(code).isEmpty() || !zero_right_keeps_value(code, width))
    return std::nullopt;
  QString padded = zero_right(code, width);
  if (check_digits(padded) != 0) return std::nullopt;
  return padded;
}

// A name under a listed code: filled from the list when asked and the list's kana
// passes the checks in force, then compared with the list.
void put_listed_name(RecordAssembler& record, const QString& given,
                     const std::optional<BankListEntry>& entry, bool fill, bool check_names,
                     const BankList* banks, QStringView bank_code, BankNameMemo* memo) {
  const int field = record.next_field();
  QString name = given;
  bool left_empty = false;
  if (entry && fill && trim_leading_spaces(given).isEmpty()) {
    const QString kana = entry->kana.toString();
    if (const std::optional<QString> failed = record.name_failure(kana, check_names)) {
      record.note({NameNotice::Kind::NotFilled, field, kana, *failed, 0});
      left_empty = true;
    } else {
      name = kana;
    }
  }
  const QString written = record.put_name(name, check_names);
  if (name != given) record.correct(field, written, given);
  if (!entry || left_empty) return;
  const ListedNameCheck check = memo ? memo->check(*banks, *entry, bank_code, written)
                                     : check_listed_name(*banks, *entry, bank_code, written);
  if (check.other_code) {
    record.fail(field, bank_code.isEmpty()
                           ? QStringLiteral("銀行番号%1の名前です").arg(*check.other_code)
                           : QStringLiteral("支店番号%1の名前です").arg(*check.other_code));
  } else if (check.differs) {
    record.note_difference({field, written, entry->kana.toString()});
  }
}

}  // namespace

ListedNameCheck check_listed_name(const BankList& banks, const BankListEntry& listed,
                                  QStringView bank_code, QStringView written) {
  const QString key = bank_name_key(written);
  // The name is weighed as the field would hold it.
  const QString listed_key = listed.kana.size() <= kNameWidth
                                 ? listed.key.toString()
                                 : bank_name_key(space_left(listed.kana, kNameWidth));
  if (key == listed_key) return {};
  // The name of another bank (or another branch of this bank) under this code:
  // the money would go to the code's bank while the user meant the named one.
  const std::optional<BankListEntry> other =
      bank_code.isEmpty() ? banks.bank_named(key) : banks.branch_named(bank_code, key);
  if (other && other->code != listed.code) return {true, other->code.toString()};
  return {true, std::nullopt};
}

// An entry's kana is a view into the list, so its place names the entry, and with
// it the bank a branch belongs to.
const ListedNameCheck& BankNameMemo::check(const BankList& banks, const BankListEntry& entry,
                                           QStringView bank_code, const QString& written) {
  std::pair<const QChar*, QString> key(entry.kana.data(), written);
  if (const auto found = checks_.constFind(key); found != checks_.constEnd()) return *found;
  if (checks_.size() >= kMaxRemembered) checks_.clear();
  return *checks_.insert(std::move(key), check_listed_name(banks, entry, bank_code, written));
}

void put_bank_fields(RecordAssembler& record, const BankFieldValues& values, bool check_names,
                     const BankList* banks, BankNameMemo* memo) {
  const std::optional<QString> bank_code = listable_code(values.bank_code, kBankCodeWidth);
  const std::optional<QString> branch_code = listable_code(values.branch_code, kBranchCodeWidth);
  std::optional<BankListEntry> bank;
  std::optional<BankListEntry> branch;
  // A branch is looked for only within a bank the list knows.
  if (banks && bank_code) bank = banks->bank(*bank_code);
  if (bank && branch_code) branch = banks->branch(*bank_code, *branch_code);

  const int bank_field = record.next_field();
  record.put_digits(values.bank_code);
  if (banks && bank_code && !bank)
    record.fail(bank_field, QStringLiteral("銀行一覧にない銀行番号「%1」").arg(*bank_code));
  put_listed_name(record, values.bank_name, bank, values.fill_empty_names, check_names, banks, {},
                  memo);

  const int branch_field = record.next_field();
  record.put_digits(values.branch_code);
  if (bank && branch_code && !branch)
    record.fail(branch_field, QStringLiteral("銀行一覧にない支店番号「%1」").arg(*branch_code));
  put_listed_name(record, values.branch_name, branch, values.fill_empty_names, check_names, banks,
                  bank ? bank->code : QStringView(), memo);
}

}  // namespace tsubakuro
