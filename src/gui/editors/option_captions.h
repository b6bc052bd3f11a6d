#pragma once

#include <QString>

#include "core/zengin/field_dictionary.h"

namespace tsubakuro {

// The captions of the options that name fields, built from the working field names
// so that a renamed field shows under its new name. The system settings dialog and
// the company settings editor's 共通 page share them.

// "<data 12>＋<data 13>を２０桁の１つとして扱う" for the transfer kind's data names.
QString twenty_digit_caption(const FieldTable& names, TransferKind transfer);

// "振替結果ｺｰﾄﾞ(<振替 trailer 4>、<5>、<6>、<7>)に固定でゼロを入れる"
QString debit_trailer_zero_caption(const FieldTable& names);

// "<振替 data 14>に固定でゼロを入れる"
QString debit_data_zero_caption(const FieldTable& names);

}  // namespace tsubakuro
