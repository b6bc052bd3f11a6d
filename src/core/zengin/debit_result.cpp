#include "core/zengin/debit_result.h"

namespace tsubakuro {

QString debit_result_meaning(QChar code) {
  switch (code.unicode()) {
    case u'0':
      return QStringLiteral("振替済");
    case u'1':
      return QStringLiteral("資金不足");
    case u'2':
      return QStringLiteral("預金取引なし");
    case u'3':
      return QStringLiteral("預金者の都合による振替停止");
    case u'4':
      return QStringLiteral("預金口座振替依頼書なし");
    case u'8':
      return QStringLiteral("委託者の都合による振替停止");
    case u'9':
      return QStringLiteral("その他");
    default:
      break;
  }
  return QStringLiteral("不明（%1）").arg(code);
}

}  // namespace tsubakuro
