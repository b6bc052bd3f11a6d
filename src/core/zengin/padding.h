#pragma once

#include <QString>
#include <QStringView>

namespace tsubakuro {

// zero-right: right-aligned and zero-filled; a longer value keeps its rightmost
// characters.
QString zero_right(QStringView value, int width);

// True when zero_right(value, width) drops nothing but leading zeros: the digits
// the bank reads are the value's whole number.
bool zero_right_keeps_value(QStringView value, int width);

// space-left: left-aligned and space-filled; a longer value keeps its leftmost
// characters.
QString space_left(QStringView value, int width);

// The value without its leading half-width blanks, as numeric and code columns
// are read.
QStringView trim_leading_spaces(QStringView value);

// The value without its trailing blanks. Only the half-width space is a blank: the
// padding of a fixed-width field and of a settings value is made of it, while a
// full-width space (U+3000) is a character someone typed and stays. Every place
// that drops trailing blanks (field values, company names, field names) asks this.
QStringView trim_trailing_spaces(QStringView value);

}  // namespace tsubakuro
