#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <concepts>

namespace tsubakuro {

// A field's value as decoded text or, on the quick path, as the one-byte characters
// of the line itself: the cut and trim rules below are written once for both.
template <typename View>
concept FieldText = std::same_as<View, QStringView> || std::same_as<View, QByteArrayView>;

constexpr char16_t code_unit(QChar character) { return character.unicode(); }
constexpr char16_t code_unit(char byte) { return static_cast<unsigned char>(byte); }

// True when every character of `text` is the one-byte character `wanted`.
template <FieldText View>
bool consists_of(View text, char wanted) {
  return std::ranges::all_of(text, [wanted](auto c) { return code_unit(c) == char16_t(wanted); });
}

// The value without its leading half-width blanks, as numeric and code columns
// are read.
template <FieldText View>
View trim_leading_spaces(View value) {
  qsizetype start = 0;
  while (start < value.size() && code_unit(value[start]) == u' ') ++start;
  return value.sliced(start);
}
inline QStringView trim_leading_spaces(QStringView value) {
  return trim_leading_spaces<QStringView>(value);
}

// The value without its trailing blanks. Only the half-width space is a blank: the
// padding of a fixed-width field and of a settings value is made of it, while a
// full-width space (U+3000) is a character someone typed and stays. Every place
// that drops trailing blanks (field values, company names, field names) asks this.
template <FieldText View>
View trim_trailing_spaces(View value) {
  while (!value.isEmpty() && code_unit(value.back()) == u' ') value.chop(1);
  return value;
}
inline QStringView trim_trailing_spaces(QStringView value) {
  return trim_trailing_spaces<QStringView>(value);
}

// True when zero_right(value, width) drops nothing but leading zeros: the digits
// the bank reads are the value's whole number.
template <FieldText View>
bool zero_right_keeps_value(View value, int width) {
  return value.size() <= width || consists_of(value.first(value.size() - width), '0');
}
inline bool zero_right_keeps_value(QStringView value, int width) {
  return zero_right_keeps_value<QStringView>(value, width);
}

// True when space_left(value, width) drops nothing but trailing blanks.
template <FieldText View>
bool space_left_keeps_value(View value, int width) {
  return value.size() <= width || consists_of(value.sliced(width), ' ');
}

// zero_right(value, width) written into `room` (at least `width` characters) when
// it needs padding, so a row's digits take no allocation.
template <FieldText View, typename Char>
View zero_right_into(View value, int width, Char* room) {
  if (value.size() >= width) return value.last(width);
  const qsizetype zeros = width - value.size();
  std::fill_n(room, zeros, Char(u'0'));
  std::copy(value.begin(), value.end(), room + zeros);
  return View(room, width);
}

// The half-width voicing marks ﾞ and ﾟ, as text or as their CP932 bytes.
constexpr bool is_voicing_mark(QChar character) {
  return character.unicode() == 0xFF9E || character.unicode() == 0xFF9F;
}
constexpr bool is_voicing_mark(char byte) {
  return static_cast<unsigned char>(byte) == 0xDE || static_cast<unsigned char>(byte) == 0xDF;
}

// How many characters of a name a field of `width` one-byte characters keeps: its
// first `width`, less a kana whose voicing mark falls beyond them, for ｻ without
// its ﾞ is another sound (ｷﾞﾝｻﾞ would be read ｷﾞﾝｻ). Every builder cuts names by
// this rule, the quick path on the line's bytes included.
template <FieldText View>
qsizetype name_kept_length(View value, int width) {
  if (value.size() <= width) return value.size();
  if (width > 0 && is_voicing_mark(value[width]) && !is_voicing_mark(value[width - 1]))
    return width - 1;
  return width;
}

// space_left for a name: cut by name_kept_length.
QString space_left_name(QStringView value, int width);

// zero-right: right-aligned and zero-filled; a longer value keeps its rightmost
// characters.
QString zero_right(QStringView value, int width);

// space-left: left-aligned and space-filled; a longer value keeps its leftmost
// characters.
QString space_left(QStringView value, int width);

}  // namespace tsubakuro
