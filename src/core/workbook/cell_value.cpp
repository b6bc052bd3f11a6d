#include "core/workbook/cell_value.h"

#include <QStringDecoder>
#include <algorithm>
#include <charconv>

namespace tsubakuro {
namespace {

bool all_digits(std::string_view text, std::size_t most) {
  return !text.empty() && text.size() <= most &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

QString utf8_text(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<qint64> integer_value(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  if (all_digits(*text, 18)) {
    qint64 value = 0;
    for (const char c : *text) value = value * 10 + (c - '0');
    return value;
  }
  bool ok = false;
  const qint64 value = utf8_text(*text).toLongLong(&ok);
  return ok ? std::optional<qint64>(value) : std::nullopt;
}

int style_value(std::optional<std::string_view> text) {
  if (!text) return 0;
  if (all_digits(*text, 9)) {
    int value = 0;
    for (const char c : *text) value = value * 10 + (c - '0');
    return value;
  }
  return utf8_text(*text).toInt();
}

std::optional<double> number_value(std::string_view text, bool trimmed) {
  std::size_t i = text.starts_with('-') ? 1 : 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > from;
  };
  bool plain = digits();
  if (plain && i < text.size() && text[i] == '.') ++i, plain = digits();
  if (plain && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    plain = digits();
  }
  if (plain && i == text.size()) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) return value;
  }
  bool ok = false;
  const QString value_text = utf8_text(text);
  const double value = (trimmed ? value_text.trimmed() : value_text).toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace tsubakuro
