#pragma once

#include "core/zengin/padding.h"

namespace tsubakuro {

// How a payment list's row is read as CSV. A field that starts with a quote runs
// to the quote that closes it: a comma or a line break inside is text, and a
// doubled quote is one quote. A field that does not start with one is read up to
// the next comma, any quote in it kept as written, as lists have always been read.
// A quote, a comma, CR and LF are never the second byte of a CP932 character, so
// these read bytes as safely as decoded text.

// Whether a row read up to the end of `text` is inside a quoted field, when it was
// inside one (`in_quote`) or at the start of a row before it.
template <FieldText View>
bool ends_in_quote(View text, bool in_quote) {
  bool has_quote;
  if constexpr (std::same_as<View, QByteArrayView>)
    has_quote = text.contains('"');  // memchr: most lines hold no quote
  else
    has_quote = text.contains(u'"');
  if (!has_quote) return in_quote;
  enum class At { FieldStart, Plain, Quoted };
  At at = in_quote ? At::Quoted : At::FieldStart;
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t c = code_unit(text[i]);
    switch (at) {
      case At::FieldStart:
        at = c == u'"' ? At::Quoted : c == u',' ? At::FieldStart : At::Plain;
        break;
      case At::Plain:
        if (c == u',') at = At::FieldStart;
        break;
      case At::Quoted:
        if (c != u'"') break;
        if (i + 1 < size && code_unit(text[i + 1]) == u'"')
          ++i;
        else
          at = At::Plain;
        break;
    }
  }
  return at == At::Quoted;
}

// Calls on_field(text, doubled) for each field of `row` in order, until it returns
// false. `text` is a quoted field's content between its quotes (its quotes still
// doubled when `doubled`), or an unquoted field as written. A quoted field with
// more after its closing quote (`"a"b`) is taken as written, quotes and all. False
// when a quote is never closed; the fields before it have then been given.
template <FieldText View, typename OnField>
bool for_each_csv_field(View row, OnField&& on_field) {
  const qsizetype size = row.size();
  const auto next_comma = [&](qsizetype from) {
    while (from < size && code_unit(row[from]) != u',') ++from;
    return from;
  };
  qsizetype start = 0;
  for (;;) {
    qsizetype end;
    if (start < size && code_unit(row[start]) == u'"') {
      bool doubled = false;
      qsizetype close = -1;
      for (qsizetype i = start + 1; i < size; ++i) {
        if (code_unit(row[i]) != u'"') continue;
        if (i + 1 < size && code_unit(row[i + 1]) == u'"') {
          doubled = true;
          ++i;
          continue;
        }
        close = i;
        break;
      }
      if (close < 0) return false;
      end = next_comma(close + 1);
      const bool whole = end == close + 1;
      const View text =
          whole ? row.sliced(start + 1, close - start - 1) : row.sliced(start, end - start);
      if (!on_field(text, whole && doubled)) return true;
    } else {
      end = next_comma(start);
      if (!on_field(row.sliced(start, end - start), false)) return true;
    }
    if (end >= size) return true;
    start = end + 1;
  }
}

}  // namespace tsubakuro
