#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "core/text/result.h"

namespace tsubakuro {

// The characters banks accept in the names of a Zengin file (company, bank,
// branch and account holder): the space, 0-9, A-Z, the half-width katakana ｱ to
// ﾝ with ﾞ and ﾟ, and ( ) - . — far fewer than Shift-JIS holds. Small kana, ｦ,
// ｰ, lower case and full-width characters are refused or the transfer returned.

// Fails when the banks would refuse the name, saying why in words for the log
// ("使えない文字「ｮ」"). ﾞ must follow a kana that takes it (ｳ, ｶ to ﾄ,
// ﾊ to ﾎ) and ﾟ one of ﾊ to ﾎ.
Result<void> check_bank_name(QStringView name);

// The name mended into the banks' characters where the mending is mechanical:
// hiragana and full-width katakana to half-width with the voicing marks split
// (ガ to ｶﾞ), small kana to their large forms, full-width letters, digits and
// ( ) . to ASCII, lower case to upper case, long-vowel and dash marks to "-", the
// full-width space to a space. Anything else (kanji) is left for the check.
QString normalize_bank_name(QStringView name);

// Whether a name holds a Latin letter or a symbol: characters the banks accept in
// other files but some refuse in a payee's name of a 給与・賞与 file (種別 11, 12),
// whose published set is the kana, the digits and the space.
bool has_letter_or_symbol(QStringView name);

// Whether `kind_code` (the header's 種別コード) is a 給与 or 賞与 file.
bool is_payroll_kind(QStringView kind_code);

}  // namespace tsubakuro
