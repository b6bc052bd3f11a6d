#include "core/workbook/cell_format.h"

#include <charconv>
#include <cmath>

#include "core/workbook/read_context.h"

namespace tsubakuro {
namespace {

enum class FormatLanguage { Suite, English, Other };

// The language a locale tag ([$-409], [$€-407]) names: the suite's own when it names
// Japanese or no locale at all.
FormatLanguage tag_language(QStringView inside) {
  const qsizetype dash = inside.lastIndexOf(u'-');
  if (dash < 0) return FormatLanguage::Suite;
  bool ok = false;
  const uint id = inside.mid(dash + 1).toUInt(&ok, 16);
  if (ok && id == 0x409) return FormatLanguage::English;
  if (ok && id == 0x411) return FormatLanguage::Suite;
  return FormatLanguage::Other;
}

// Whether the format's first section starts as an ISO 8601 date (a year of two or four
// digits, a month, a day, joined by hyphens, quoted or not), which the suite keeps
// when it edits the cell. `plain` is the lower-case code without its bracketed parts.
bool starts_as_iso_date(QStringView plain) {
  QString section = plain.left(plain.indexOf(u';')).toString();
  section.replace(QLatin1String("\"-\""), QLatin1String("-"));
  section.replace(QLatin1String("\\-"), QLatin1String("-"));
  qsizetype i = 0;
  const auto run = [&](QChar c) {
    const qsizetype from = i;
    while (i < section.size() && section[i] == c) ++i;
    return i - from;
  };
  const qsizetype years = run(u'y');
  if (years != 2 && years != 4) return false;
  if (i >= section.size() || section[i++] != u'-') return false;
  const qsizetype months = run(u'm');
  if (months < 1 || months > 2) return false;
  if (i >= section.size() || section[i++] != u'-') return false;
  const qsizetype days = run(u'd');
  return days >= 1 && days <= 2;
}

}  // namespace

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
  FormatLanguage language = FormatLanguage::Suite;
  const QString lower = code.toLower();
  QString plain;  // without the bracketed parts
  for (qsizetype i = 0; i < lower.size(); ++i) {
    const QChar c = lower[i];
    if (c == u'"') {
      const qsizetype end = lower.indexOf(u'"', i + 1);
      if (end < 0) return CellFormat::Unknown;
      plain += QStringView(lower).mid(i, end - i + 1);
      i = end;
      continue;
    }
    if (c == u'[') {
      const qsizetype end = lower.indexOf(u']', i + 1);
      if (end < 0) return CellFormat::Unknown;
      const QStringView inside = QStringView(lower).mid(i + 1, end - i - 1);
      if (inside.startsWith(u'h') || inside.startsWith(u'm') || inside.startsWith(u's'))
        return CellFormat::Unknown;  // elapsed time
      if (inside.startsWith(u'$')) {
        const FormatLanguage tagged = tag_language(inside);
        if (tagged != FormatLanguage::Suite) language = tagged;
      } else if (inside.startsWith(u"dbnum") || inside.startsWith(u"natnum")) {
        other = true;  // numerals of another script
      }
      i = end;
      continue;
    }
    plain += c;
    if (c == u'\\' || c == u'_' || c == u'*') {
      if (i + 1 < lower.size()) plain += lower[i + 1];
      ++i;
    } else if (lower.mid(i, 7) == QLatin1String("general")) {
      plain += QStringView(lower).mid(i + 1, 6);
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
  const bool dated = date || (month && !time);
  if (dated || time) {
    if (other || language == FormatLanguage::Other) return CellFormat::Unknown;
    const bool english = language == FormatLanguage::English;
    if (!dated) return english ? CellFormat::EnglishTime : CellFormat::Time;
    if (starts_as_iso_date(plain)) return time ? CellFormat::IsoDateTime : CellFormat::IsoDate;
    if (time) return english ? CellFormat::EnglishDateTime : CellFormat::DateTime;
    return english ? CellFormat::EnglishDate : CellFormat::Date;
  }
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

bool is_date_or_time(CellFormat format) {
  switch (format) {
    case CellFormat::Number:
    case CellFormat::Percent:
    case CellFormat::Boolean:
    case CellFormat::Unknown:
      return false;
    case CellFormat::Date:
    case CellFormat::DateTime:
    case CellFormat::Time:
    case CellFormat::EnglishDate:
    case CellFormat::EnglishDateTime:
    case CellFormat::EnglishTime:
    case CellFormat::IsoDate:
    case CellFormat::IsoDateTime:
      return true;
  }
  return false;
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

Result<void> append_serial(QByteArray& out, double serial, CellFormat format,
                           bool counts_from_1904) {
  const SheetLocale locale = format == CellFormat::EnglishDate ||
                                     format == CellFormat::EnglishDateTime ||
                                     format == CellFormat::EnglishTime
                                 ? SheetLocale::English
                                 : kSuiteLocale;
  if (format == CellFormat::Time || format == CellFormat::EnglishTime) {
    const QString text = sheet_time_text(serial, locale);
    if (text.isEmpty()) return refusal(ReadRefusal::TimeOfTwentyFourHours);
    append_plain_field(out, text);
    return {};
  }
  const std::optional<SheetMoment> moment = moment_from_serial(serial, counts_from_1904);
  if (!moment) return refusal(ReadRefusal::DateOutOfRange);
  // A date format shows its day only, but the suite keeps a time of day when it edits.
  const bool has_time = serial != std::floor(serial);
  DateKind kind = DateKind::DateTime;
  if (format == CellFormat::IsoDate || format == CellFormat::IsoDateTime)
    kind = format == CellFormat::IsoDate && !has_time ? DateKind::IsoDate : DateKind::IsoDateTime;
  else if ((format == CellFormat::Date || format == CellFormat::EnglishDate) && !has_time)
    kind = DateKind::Date;
  return append_date(out, *moment, kind, locale);
}

Result<void> append_date(QByteArray& out, const SheetMoment& moment, DateKind kind,
                         SheetLocale locale) {
  const QString text = sheet_date_text(moment, kind, locale);
  if (text.isEmpty()) return refusal(ReadRefusal::DateOutOfRange);
  append_plain_field(out, text);
  return {};
}

}  // namespace tsubakuro
