#pragma once

#include <QPixmap>
#include <QString>

namespace tsubakuro {

// "ﾊﾞｰｼﾞｮﾝ " and the release's major, minor and revision numbers joined by ".".
QString version_label();

// The swallow of the program's icon, for the splash and About windows.
QPixmap product_logo(int size);

}  // namespace tsubakuro
