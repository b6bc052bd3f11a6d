#include "core/workbook/sheet_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

constexpr std::size_t kSignificantDigits = 15;

QString two(int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }

}  // namespace

QString sheet_number_text(double value) {
  // The suite takes a number too small for a normal double as 0.
  if (!std::isfinite(value) || std::fabs(value) < DBL_MIN) return QStringLiteral("0");
  char buffer[400];
  if (std::fabs(value) < 9007199254740992.0 && value == std::trunc(value)) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return QString::fromLatin1(buffer);
  }
  // The suite rounds the shortest decimal digits that give the value back, not the
  // binary value itself: 0.9702957262759965 (0.97029572627599649…) gives …997.
  const auto shortest =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(shortest.ptr - buffer));
  const bool negative = text.front() == '-';
  const std::size_t e = text.find('e');
  std::string shortest_digits;
  for (const char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
    if (c != '.') shortest_digits.push_back(c);
  std::string digits = shortest_digits;
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
  // The form follows the exponent before rounding.
  const bool scientific = exponent <= -15 || exponent >= 15;
  if (digits.size() > kSignificantDigits) {
    const bool up = digits[kSignificantDigits] >= '5';
    digits.resize(kSignificantDigits);
    // Rounded up past the largest double, the suite keeps the digits as they are.
    const bool overflows = up && exponent == 308 && digits >= "179769313486231";
    if (overflows) {
      digits = shortest_digits;
    } else if (up) {
      std::size_t i = digits.size();
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  if (scientific) {
    out += digits.front();
    if (digits.size() > 1) out += '.' + digits.substr(1);
    std::snprintf(buffer, sizeof buffer, "E%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += buffer;
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (digits.size() <= static_cast<std::size_t>(exponent) + 1) {
    out += digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
  } else {
    out += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
           digits.substr(static_cast<std::size_t>(exponent) + 1);
  }
  return QString::fromStdString(out);
}

QString sheet_date_text(const SheetMoment& moment, DateKind kind, SheetLocale locale) {
  const QDate date = moment.date;
  const QTime time = moment.time;
  if (kind != DateKind::Time && (date.year() < 1 || date.year() > 9999)) return {};
  const QString clock = two(time.hour()) + u':' + two(time.minute()) + u':' + two(time.second());
  const QString year = QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0'));
  if (kind == DateKind::IsoDate) return year + u'-' + two(date.month()) + u'-' + two(date.day());
  if (kind == DateKind::IsoDateTime)
    return year + u'-' + two(date.month()) + u'-' + two(date.day()) + u' ' + clock;
  if (locale == SheetLocale::Japanese) {
    switch (kind) {
      case DateKind::Date:
        return year + u'/' + two(date.month()) + u'/' + two(date.day());
      case DateKind::DateTime:
        // Month, day and hour without their leading zeros, unlike a date alone.
        return year + u'/' + QString::number(date.month()) + u'/' + QString::number(date.day()) +
               u' ' + QString::number(time.hour()) + u':' + two(time.minute()) + u':' +
               two(time.second());
      case DateKind::Time:
        return clock;
      case DateKind::IsoDate:
      case DateKind::IsoDateTime:
        break;
    }
  }
  const QString day = two(date.month()) + u'/' + two(date.day()) + u'/' + year;
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
    case DateKind::IsoDate:
    case DateKind::IsoDateTime:
      break;
  }
  return {};
}

QString sheet_time_text(double day_fraction, SheetLocale locale) {
  if (!(day_fraction >= 0 && day_fraction < 1)) return {};
  const double seconds = day_fraction * 86400;
  if (std::floor(seconds + 0.5) * 100 != std::floor(seconds * 100 + 0.5)) {
    const qint64 hundredths = std::llround(seconds * 100);
    const qint64 whole = hundredths / 100;
    const QString rest = two(static_cast<int>(whole / 60 % 60)) + u':' +
                         two(static_cast<int>(whole % 60)) + u'.' +
                         two(static_cast<int>(hundredths % 100));
    return seconds >= 3600 ? two(static_cast<int>(whole / 3600)) + u':' + rest : rest;
  }
  const int whole = static_cast<int>(std::floor(seconds + 0.5));
  if (whole >= 86400) return {};
  return sheet_date_text({QDate(1899, 12, 30), QTime(0, 0).addSecs(whole)}, DateKind::Time, locale);
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
