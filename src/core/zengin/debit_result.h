#pragma once

#include <QChar>
#include <QString>

namespace tsubakuro {

// What a bank means by the 振替結果コード it writes into each data record of a
// returned 振替 file: 「振替済」 for '0', the reason the debit failed for the
// others it defines, and 「不明（X）」 for a code it does not define.
QString debit_result_meaning(QChar code);

// Whether a record with this code was debited.
inline bool debit_result_debited(QChar code) { return code == u'0'; }

}  // namespace tsubakuro
