#include "gui/app/version.h"

#include <QIcon>

#include "gui/shell/resources.h"

namespace tsubakuro {

QString version_number() {
  return QStringLiteral("%1.%2.%3")
      .arg(TSUBAKURO_VERSION_MAJOR)
      .arg(TSUBAKURO_VERSION_MINOR)
      .arg(TSUBAKURO_VERSION_PATCH);
}

QString version_label() { return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + version_number(); }

QPixmap product_logo(int size) {
  load_resources();
  return QIcon(QStringLiteral(":/tsubakuro/logo.png")).pixmap(size, size);
}

}  // namespace tsubakuro
