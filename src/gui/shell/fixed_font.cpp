#include "gui/shell/fixed_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace tsubakuro {

namespace {

// The first family of `candidates` the machine has installed, or empty text.
QString first_installed(const QStringList& candidates) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : candidates) {
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return {};
}

}  // namespace

QFont fixed_pitch_font(int point_size) {
  const QString family = first_installed(
      {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
  QFont font =
      family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(point_size);
  return font;
}

QFont caption_font(int point_size) {
  const QString family =
      first_installed({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                       QStringLiteral("IPAPGothic")});
  QFont font =
      family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(family);
  font.setPointSize(point_size);
  return font;
}

}  // namespace tsubakuro
