#pragma once

#include <QString>

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

// Puts the four fields into `record` (its next four fields) with their field
// checks; names go through RecordAssembler::put_name, kind-checked when
// `check_names`. With a bank list, a code the list does not know fails its field
// with the reason; a name that is not the list's kana for the code (weighed by
// bank_name_key) is noted as a difference, and an empty name is filled from the
// list when asked, noted as a correction.
void put_bank_fields(RecordAssembler& record, const BankFieldValues& values, bool check_names,
                     const BankList* banks);

}  // namespace tsubakuro
