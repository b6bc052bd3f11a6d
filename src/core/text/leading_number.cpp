#include "core/text/leading_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tsubakuro {

namespace {

bool is_blank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

bool is_ascii_digit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

double leading_number(QStringView text) {
  // The number is gathered as plain ASCII and converted in one go, so the result
  // is the correctly rounded double whatever the length, and no locale can turn
  // the decimal point into a comma.
  std::string number;
  bool seen_sign = false;
  bool seen_digit = false;
  bool seen_point = false;
  for (QChar c : text) {
    if (is_blank(c)) continue;
    if ((c == u'-' || c == u'+') && !seen_sign && !seen_digit && !seen_point) {
      seen_sign = true;
      if (c == u'-') number += '-';
    } else if (is_ascii_digit(c)) {
      seen_digit = true;
      number += static_cast<char>(c.unicode());
    } else if (c == u'.' && !seen_point) {
      seen_point = true;
      number += '.';
    } else {
      break;
    }
  }
  if (!seen_digit) return 0.0;

  double value = 0.0;
  const char* first = number.data();
  const char* last = number.data() + number.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) {
    // Either too large for a double or a fraction too small to matter.
    const bool negative = number.front() == '-';
    const bool huge = number.find_first_of("123456789") < number.find('.');
    if (!huge) return 0.0;
    return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  return end == first ? 0.0 : value;
}

qint64 round_half_even(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exact in a double; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (value >= kLimit) return std::numeric_limits<qint64>::max();
  if (value < -kLimit) return std::numeric_limits<qint64>::min();
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
  if (rounded >= kLimit) return std::numeric_limits<qint64>::max();
  return static_cast<qint64>(rounded);
}

}  // namespace tsubakuro
