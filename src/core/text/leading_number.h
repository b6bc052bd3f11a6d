#pragma once

#include <QStringView>

namespace tsubakuro {

// The numeric value at the start of a text, as the payment lists and settings are
// read: a decimal number, blanks anywhere ignored, stopping at the first character
// that cannot continue the number; empty or non-numeric text gives 0.
double leading_number(QStringView text);

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4), saturating at
// the limits of qint64.
qint64 round_half_even(double value);

}  // namespace tsubakuro
