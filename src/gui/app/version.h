#pragma once

#include <QPixmap>
#include <QString>

namespace tsubakuro {

// The release: major, minor and revision joined by ".", as in 3.1.4.
QString version_number();

// "ﾊﾞｰｼﾞｮﾝ " and the release's major, minor and revision numbers joined by ".".
QString version_label();

// The swallow of the program's icon, for the splash and About windows.
QPixmap product_logo(int size);

}  // namespace tsubakuro
