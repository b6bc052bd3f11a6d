#include "core/settings/settings_file.h"

#include <QFile>
#include <algorithm>
#include <limits>

#include "core/files/save_file.h"
#include "core/settings/settings_messages.h"
#include "core/text/cp932.h"
#include "core/text/leading_number.h"

namespace tsubakuro {

namespace {

constexpr qint64 kMaxSettingsFileBytes = 1 << 20;

}  // namespace

Result<QString> read_settings_text(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly)) return failure(unreadable_settings_file_message(file_name));
  const QByteArray bytes = file.read(kMaxSettingsFileBytes);
  if (file.error() != QFileDevice::NoError)
    return failure(unreadable_settings_file_message(file_name));
  return decode_cp932(bytes);
}

Result<void> write_settings_file(const QString& file_name, const QString& text) {
  return save_file(file_name, encode_cp932(text).bytes);
}

int settings_integer(QStringView item) {
  return static_cast<int>(std::clamp<qint64>(round_half_even(leading_number(item)),
                                             std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

bool settings_flag(QStringView item) { return settings_integer(item) == 1; }

Result<void> check_storable_text(const QString& caption, QStringView text) {
  if (text.contains(u'"')) return failure(quote_in_value_message(caption));
  if (text.contains(u'\r') || text.contains(u'\n'))
    return failure(line_break_in_value_message(caption));
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (cp932_byte_count(text[i]) != 0) continue;
    const qsizetype length =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return failure(character_outside_cp932_message(caption, text.sliced(i, length).toString()));
  }
  return {};
}

}  // namespace tsubakuro
