#include "core/workbook/sheet_text.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

// Drops the zeros after the last significant decimal, and the point when none is left.
void trim_fraction(std::string& digits) {
  if (digits.find('.') == std::string::npos) return;
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
}

QString two(int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }

}  // namespace

std::optional<SheetLocale> sheet_locale_from_environment() {
  // The suite takes its locale the way the C library's LC_CTYPE does.
  QByteArray name;
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    name = qgetenv(variable);
    if (!name.isEmpty()) break;
  }
  if (name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.") ||
      name.startsWith("en_US"))
    return SheetLocale::English;
  if (name.startsWith("ja_JP") || name == "ja") return SheetLocale::Japanese;
  return std::nullopt;
}

QString sheet_number_text(double value) {
  if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
  // The one number the suite writes with all 17 digits.
  if (std::fabs(value) == DBL_MAX)
    return QLatin1String(value < 0 ? "-1.7976931348623157E+308" : "1.7976931348623157E+308");
  char buffer[400];
  if (std::fabs(value) < 9007199254740992.0 && value == std::trunc(value)) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return QString::fromLatin1(buffer);
  }
  // The decimal exponent of the value as it stands, before rounding to 15 digits.
  std::snprintf(buffer, sizeof buffer, "%.20e", value);
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  std::string digits;
  if (exponent <= -15 || exponent >= 15) {
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const char* e = std::strchr(buffer, 'e');
    digits.assign(buffer, static_cast<std::size_t>(e - buffer));
    trim_fraction(digits);
    const int written_exponent = std::atoi(e + 1);
    std::snprintf(buffer, sizeof buffer, "E%c%03d", written_exponent < 0 ? '-' : '+',
                  std::abs(written_exponent));
    digits += buffer;
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*f", 14 - exponent, value);
    digits = buffer;
    trim_fraction(digits);
  }
  if (digits == "-0") digits = "0";
  return QString::fromStdString(digits);
}

QString sheet_date_text(const SheetMoment& moment, DateKind kind, SheetLocale locale) {
  const QDate date = moment.date;
  const QTime time = moment.time;
  if (kind != DateKind::Time && (date.year() < 1 || date.year() > 9999)) return {};
  const QString clock = two(time.hour()) + u':' + two(time.minute()) + u':' + two(time.second());
  if (locale == SheetLocale::Japanese) {
    switch (kind) {
      case DateKind::Date:
        return QStringLiteral("%1/%2/%3")
            .arg(date.year(), 4, 10, QChar(u'0'))
            .arg(two(date.month()), two(date.day()));
      case DateKind::DateTime:
        return QStringLiteral("%1/%2/%3 ")
                   .arg(date.year(), 4, 10, QChar(u'0'))
                   .arg(date.month())
                   .arg(date.day()) +
               clock;
      case DateKind::Time:
        return clock;
    }
  }
  const QString day = two(date.month()) + u'/' + two(date.day()) + u'/' +
                      QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0'));
  switch (kind) {
    case DateKind::Date:
      return day;
    case DateKind::DateTime:
      return day + u' ' + clock;
    case DateKind::Time: {
      const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
      return two(hour) + u':' + two(time.minute()) + u':' + two(time.second()) +
             (time.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM"));
    }
  }
  return {};
}

std::optional<SheetMoment> moment_from_serial(double serial, bool counts_from_1904) {
  if (!std::isfinite(serial) || std::fabs(serial) > 3'000'000) return std::nullopt;
  const QDate origin = counts_from_1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
  const qint64 seconds = std::llround(serial * 86400.0);
  const qint64 days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  const qint64 in_day = seconds - days * 86400;
  const QDate date = origin.addDays(days);
  if (!date.isValid() || date.year() < 1 || date.year() > 9999) return std::nullopt;
  return SheetMoment{date, QTime(0, 0).addSecs(static_cast<int>(in_day))};
}

void append_text_field(QByteArray& out, QStringView text) {
  bool quoted = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u',' || u == u'"' || u == u'\n' || u == u'\r') {
      quoted = true;
      break;
    }
  }
  if (quoted) out.append('"');
  char bytes[2];
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t u = text[i].unicode();
    if (u < 0x80) {
      if (quoted && u == u'"') {
        out.append("\"\"", 2);
      } else if (quoted && (u == u'\r' || u == u'\n')) {
        if (u == u'\r' && i + 1 < size && text[i + 1] == u'\n') ++i;
        out.append(' ');
      } else {
        out.append(static_cast<char>(u));
      }
      continue;
    }
    const int count = encode_cp932_unit(u, bytes);
    if (count > 0) {
      out.append(bytes, count);
    } else {
      // One mark per character: both halves of a surrogate pair make one.
      if (QChar::isHighSurrogate(u) && i + 1 < size && text[i + 1].isLowSurrogate()) ++i;
      out.append('?');
    }
  }
  if (quoted) out.append('"');
}

void append_plain_field(QByteArray& out, QStringView text) {
  for (const QChar c : text) out.append(static_cast<char>(c.unicode()));
}

}  // namespace tsubakuro
