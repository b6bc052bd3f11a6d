#include "app/version.h"

#include <QIcon>

#include "app/resources.h"

namespace tsubakuro {

QString version_label() {
  return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
      .arg(TSUBAKURO_VERSION_MAJOR)
      .arg(TSUBAKURO_VERSION_MINOR)
      .arg(TSUBAKURO_VERSION_PATCH);
}

QPixmap product_logo(int size) {
  load_resources();
  return QIcon(QStringLiteral(":/tsubakuro/logo.png")).pixmap(size, size);
}

}  // namespace tsubakuro
