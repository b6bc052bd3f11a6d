#include "core/zengin/padding.h"

namespace tsubakuro {

QString zero_right(QStringView value, int width) {
  if (value.size() >= width) return value.right(width).toString();
  QString padded(width - value.size(), u'0');
  padded.append(value);
  return padded;
}

bool zero_right_keeps_value(QStringView value, int width) {
  for (qsizetype i = 0; i < value.size() - width; ++i) {
    if (value[i] != u'0') return false;
  }
  return true;
}

QString space_left(QStringView value, int width) {
  if (value.size() >= width) return value.left(width).toString();
  QString padded = value.toString();
  padded.append(QString(width - value.size(), u' '));
  return padded;
}

QStringView trim_leading_spaces(QStringView value) {
  qsizetype start = 0;
  while (start < value.size() && value[start] == u' ') ++start;
  return value.sliced(start);
}

QStringView trim_trailing_spaces(QStringView value) {
  qsizetype end = value.size();
  while (end > 0 && value[end - 1] == u' ') --end;
  return value.first(end);
}

}  // namespace tsubakuro
