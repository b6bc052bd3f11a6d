#pragma once

#include <QChar>
#include <QString>

namespace tsubakuro {

// The meaning of a 振替結果コード, the one character a bank writes into each data
// record of a 振替 file it returns: "振替済" for 0, the reason the account was not
// debited for 1, 2, 3, 4, 8 and 9, and "不明（X）" for any other character.
QString debit_result_meaning(QChar code);

}  // namespace tsubakuro
