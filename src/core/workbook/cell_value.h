#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace tsubakuro {

// A cell's value and attributes as the XML gives them, read as the QString
// conversions read them. The plain forms nearly every cell has are read without
// building a string; whatever else (signs, spaces, "inf") goes to the conversion
// itself.

// UTF-8 text, a leading U+FEFF kept (QString::fromUtf8 drops it, but here it is text).
QString utf8_text(std::string_view bytes);

// QString::toLongLong.
std::optional<qint64> integer_value(std::optional<std::string_view> text);

// QString::toInt, 0 when it fails.
int style_value(std::optional<std::string_view> text);

// QString::toDouble, of the trimmed text unless told otherwise. Both it and std::from_chars round
// correctly, so the decimal forms they both take give the same double.
std::optional<double> number_value(std::string_view text, bool trimmed = true);

}  // namespace tsubakuro
