#include "core/workbook/cell_format.h"

#include <charconv>
#include <cmath>

#include "core/workbook/read_context.h"

namespace tsubakuro {

CellFormat classify_format_code(const QString& code) {
  if (code == QLatin1String("\"TRUE\";\"TRUE\";\"FALSE\"")) return CellFormat::Boolean;
  if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0 ||
      code == QLatin1String("@"))
    return CellFormat::Number;
  bool date = false;
  bool time = false;
  bool month = false;
  bool percent = false;
  bool other = false;
  const QString lower = code.toLower();
  for (qsizetype i = 0; i < lower.size(); ++i) {
    const QChar c = lower[i];
    if (c == u'"') {
      const qsizetype end = lower.indexOf(u'"', i + 1);
      if (end < 0) return CellFormat::Unknown;
      i = end;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      const qsizetype end = lower.indexOf(u']', i + 1);
      if (end < 0) return CellFormat::Unknown;
      const QStringView inside = QStringView(lower).mid(i + 1, end - i - 1);
      if (inside.startsWith(u'h') || inside.startsWith(u'm') || inside.startsWith(u's'))
        return CellFormat::Unknown;  // elapsed time
      i = end;
    } else if (lower.mid(i, 7) == QLatin1String("general")) {
      i += 6;
    } else if (c == u'y' || c == u'd' || c == u'g' || c == u'e') {
      if (c == u'e' && i + 1 < lower.size() && (lower[i + 1] == u'+' || lower[i + 1] == u'-'))
        other = true;  // exponent
      else
        date = true;
    } else if (c == u'h' || c == u's') {
      time = true;
    } else if (c == u'm') {
      month = true;
    } else if (c == u'%') {
      percent = true;
    } else if (c == u'?' || c == u'/') {
      if (!date && !month) other = true;
    }
  }
  if (date || (month && !time)) return time ? CellFormat::DateTime : CellFormat::Date;
  if (time) return CellFormat::Time;
  if (other) return CellFormat::Unknown;
  return percent ? CellFormat::Percent : CellFormat::Number;
}

CellFormat builtin_format(int id) {
  if (id == 0 || (id >= 1 && id <= 8) || (id >= 37 && id <= 44) || id == 49)
    return CellFormat::Number;
  if (id == 9 || id == 10) return CellFormat::Percent;
  if (id >= 14 && id <= 17) return CellFormat::Date;
  if ((id >= 18 && id <= 21) || id == 45 || id == 47) return CellFormat::Time;
  if (id == 22) return CellFormat::DateTime;
  return CellFormat::Unknown;
}

void append_number(QByteArray& out, double value) {
  // Whole numbers, most of a payment list, are written in full as they are.
  if (std::fabs(value) < 9007199254740992.0 && value == std::trunc(value)) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<qint64>(value));
    out.append(digits, written.ptr - digits);
    return;
  }
  append_plain_field(out, sheet_number_text(value));
}

Result<void> append_date(QByteArray& out, const SheetMoment& moment, DateKind kind,
                         SheetLocale locale) {
  const QString text = sheet_date_text(moment, kind, locale);
  if (text.isEmpty()) return refusal(ReadRefusal::DateOutOfRange);
  append_plain_field(out, text);
  return {};
}

}  // namespace tsubakuro
