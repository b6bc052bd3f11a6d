#include "core/settings/settings_file.h"

#include <QFile>
#include <algorithm>
#include <limits>

#include "core/files/save_file.h"
#include "core/text/cp932.h"
#include "core/text/leading_number.h"

namespace tsubakuro {

namespace {

constexpr qint64 kMaxSettingsFileBytes = 1 << 20;

}  // namespace

std::optional<QString> read_settings_text(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kMaxSettingsFileBytes);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return decode_cp932(bytes);
}

SaveResult write_settings_file(const QString& file_name, const QString& text) {
  if (save_file(file_name, encode_cp932(text).bytes)) return {};
  return SaveResult::failure(
      QStringLiteral(
          "「%1」を保存できませんでした。フォルダーに書き込めないか、"
          "ディスクの空きが足りない可能性があります。既存のファイルは変更されていません。")
          .arg(file_name));
}

int settings_integer(QStringView item) {
  return static_cast<int>(std::clamp<qint64>(round_half_even(leading_number(item)),
                                             std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

bool settings_flag(QStringView item) { return settings_integer(item) == 1; }

QString unstorable_text_problem(const QString& caption, QStringView text) {
  if (text.contains(u'"'))
    return QStringLiteral("%1にダブルクォーテーション（\"）が含まれているため保存できません。")
        .arg(caption);
  if (text.contains(u'\r') || text.contains(u'\n'))
    return QStringLiteral("%1に改行が含まれているため保存できません。").arg(caption);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (cp932_byte_count(text[i]) != 0) continue;
    const qsizetype length =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return QStringLiteral("%1にShift-JISで保存できない文字「%2」が含まれているため保存できません。")
        .arg(caption, text.sliced(i, length).toString());
  }
  return QString();
}

}  // namespace tsubakuro
