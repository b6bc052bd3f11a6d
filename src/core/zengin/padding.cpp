#include "core/zengin/padding.h"

namespace tsubakuro {

QString zero_right(QStringView value, int width) {
  if (value.size() >= width) return value.right(width).toString();
  QString padded(width - value.size(), u'0');
  padded.append(value);
  return padded;
}

QString space_left(QStringView value, int width) {
  if (value.size() >= width) return value.left(width).toString();
  QString padded;
  padded.reserve(width);
  padded.append(value);
  padded.resize(width, u' ');
  return padded;
}

QString space_left_name(QStringView value, int width) {
  return space_left(value.first(name_kept_length(value, width)), width);
}

}  // namespace tsubakuro
