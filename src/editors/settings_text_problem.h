#pragma once

#include <QString>
#include <QStringView>

namespace tsubakuro {

// TEMPORARY until the settings layer's check lands.
QString unstorable_text_problem(const QString& caption, QStringView text);

}  // namespace tsubakuro
