#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

#include "core/records/record_assembler.h"
#include "core/zengin/bank_list.h"

namespace tsubakuro {

// The four fields a record gives its bank and branch, in record order: the codes
// without their leading blanks, the names as they came.
struct BankFieldValues {
  QString bank_code;
  QString bank_name;
  QString branch_code;
  QString branch_name;
  // Whether an empty name (or one of spaces only) takes the list's kana.
  bool fill_empty_names = false;
};

// What the bank list says of a name written under a listed bank or branch.
struct ListedNameCheck {
  bool differs = false;  // not the listed kana, weighed by bank_name_key
  // Exactly the kana of another bank, or of another branch of the same bank: the
  // code and the name point at two places, and the field fails.
  std::optional<QString> other_code;
};

// Weighs `written` (as the record holds it) against `listed`: a bank's entry when
// `bank_code` is empty, else a branch of that bank. Other differences are only
// noted: a bank may know a name under another spelling.
ListedNameCheck check_listed_name(const BankList& banks, const BankListEntry& listed,
                                  QStringView bank_code, QStringView written);

// check_listed_name remembered for a run: a list names the same few banks and
// branches on every row, and the check normalises the name each time. Keyed by
// the entry (its place in the list) and the name; the memo forgets everything
// when it has seen too many, so a list of ever new names costs no memory.
class BankNameMemo {
 public:
  const ListedNameCheck& check(const BankList& banks, const BankListEntry& entry,
                               QStringView bank_code, const QString& written);

 private:
  static constexpr qsizetype kMaxRemembered = 4096;
  QHash<std::pair<const QChar*, QString>, ListedNameCheck> checks_;
};

// Puts the four fields into `record` (its next four fields) with their field
// checks; names go through RecordAssembler::put_name, kind-checked when
// `check_names`. With a bank list, a code the list does not know fails its field
// with the reason; a name is weighed by check_listed_name, and an empty name is
// filled from the list when asked and the list's kana passes the name's checks,
// noted as a correction (otherwise the record notes why it was not).
// The list's word on a name is taken through `memo` when one is given.
void put_bank_fields(RecordAssembler& record, const BankFieldValues& values, bool check_names,
                     const BankList* banks, BankNameMemo* memo = nullptr);

}  // namespace tsubakuro
