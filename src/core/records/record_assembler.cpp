#include "core/records/record_assembler.h"

#include "core/records/field_checker.h"
#include "core/text/cp932.h"
#include "core/zengin/bank_characters.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

constexpr char kUnencodable = '?';

// Appends `text` as exactly `width` bytes; false when it held a character CP932
// cannot encode or lost more than trailing blanks to the cut. A name's cut never
// keeps a kana without its voicing mark (name_kept_length).
bool append_fitted(QStringView text, int width, QByteArray& out, bool name = false) {
  bool sound = true;
  int used = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar character = text[i];
    const char16_t unit = character.unicode();
    const bool single = unit < 0x80 || (unit >= 0xFF61 && unit <= 0xFF9F);
    const int count = single ? 1 : cp932_byte_count(character);
    if (used + std::max(count, 1) > width) {
      if (!consists_of(text.sliced(i), ' ')) sound = false;
      if (name && i > 0 && is_voicing_mark(character) && !is_voicing_mark(text[i - 1]) &&
          cp932_byte_count(text[i - 1]) == 1) {
        out.chop(1);
        --used;
      }
      break;
    }
    if (single) {
      out.append(unit < 0x80 ? static_cast<char>(unit) : static_cast<char>(0xA1 + (unit - 0xFF61)));
    } else if (count == 0) {
      out.append(kUnencodable);
      sound = false;
    } else {
      out.append(encode_cp932(QStringView(&character, 1)).bytes);
    }
    used += std::max(count, 1);
  }
  if (used < width) out.append(width - used, ' ');
  return sound;
}

// The text of a CP932 field as the bank reads it, without its trailing blanks.
QString held_text(QByteArrayView bytes) {
  QString text = decode_cp932(bytes);
  text.truncate(trim_trailing_spaces(text).size());
  return text;
}

// Whether `text` holds more than `width` bytes, not counting its trailing blanks
// (a character CP932 lacks is written as one "?").
bool longer_than(QStringView text, int width) {
  int bytes = 0;
  for (const QChar character : trim_trailing_spaces(text)) {
    bytes += std::max(cp932_byte_count(character), 1);
    if (bytes > width) return true;
  }
  return false;
}

}  // namespace

RecordAssembler::RecordAssembler(TransferKind transfer, RecordKind record,
                                 const FieldChecker& checker, BankRules bank_rules)
    : layout_(record_layout(transfer, record)),
      checker_(checker),
      bank_rules_(bank_rules),
      part_(check_part_number(record)) {
  bytes_.reserve(kLogicalRecordLength);
}

int RecordAssembler::put_field(QStringView text, bool name) {
  const int field = next_field_++;
  if (!append_fitted(text, layout_[field - 1].width, bytes_, name)) fail(field);
  return field;
}

int RecordAssembler::put(QStringView text) { return put_field(text, false); }

void RecordAssembler::put_checked(QStringView text) {
  const int field = put(text);
  if (check_fails(text, field)) fail(field);
}

void RecordAssembler::put_digits(QStringView value) {
  const int field = next_field_;
  const bool kept = zero_right_keeps_value(value, width(field));
  put_checked(zero_right(value, width(field)));
  if (!kept) fail(field);
}

QString RecordAssembler::fitted(QStringView value) const {
  const FieldLayout& layout = layout_[next_field_ - 1];
  switch (layout.padding) {
    case Padding::ZeroRight:
      return zero_right(value, layout.width);
    case Padding::SpaceLeft:
      return space_left(value, layout.width);
    case Padding::Fixed:
      break;
  }
  return value.toString();
}

bool RecordAssembler::fits(QStringView value) const {
  const FieldLayout& layout = layout_[next_field_ - 1];
  switch (layout.padding) {
    case Padding::ZeroRight:
      return zero_right_keeps_value(value, layout.width);
    case Padding::SpaceLeft:
      return space_left_keeps_value(value, layout.width);
    case Padding::Fixed:
      break;
  }
  return true;
}

void RecordAssembler::put_fitted(QStringView value) {
  const int field = next_field_;
  const bool whole = fits(value);
  put_checked(fitted(value));
  if (!whole) fail(field);
}

void RecordAssembler::put_checked_if(bool check, QStringView text) {
  if (check)
    put_checked(text);
  else
    put(text);
}

QString RecordAssembler::put_name(QStringView value, bool kind_check) {
  const int field = next_field_;
  const int field_width = width(field);
  const QString text = prepared_name(value);
  const QString name = space_left_name(text, field_width);
  const NameCheck check = check_name(name, field, kind_check);
  const qsizetype start = bytes_.size();
  put_field(name, true);
  if (check.fails) {
    // The kind check has always failed a name without a reason; the banks' rule says why.
    if (bank_rules_.check_characters)
      fail(field, check.reason);
    else
      fail(field);
  }
  // The log tells what the bank will read, so both notes quote the field itself.
  const QString written = held_text(QByteArrayView(bytes_).sliced(start, field_width));
  if (text != value) correct(field, written, value.toString());
  if (bank_rules_.any() && longer_than(text, field_width))
    note({NameNotice::Kind::Cut, field, written, {}, field_width});
  return written;
}

QString RecordAssembler::prepared_name(QStringView value) const {
  return bank_rules_.normalize_names ? normalize_bank_name(value) : value.toString();
}

RecordAssembler::NameCheck RecordAssembler::check_name(QStringView name, int field,
                                                       bool kind_check) const {
  if (bank_rules_.check_characters) {
    if (const Result<void> checked = check_bank_name(name); !checked)
      return {true, checked.message()};
    return {};
  }
  if (!kind_check || !check_fails(name, field)) return {};
  QString refused;
  for (const QChar character : name) {
    if (!refused.contains(character) && check_fails(QStringView(&character, 1), field))
      refused += character;
  }
  return {true, QStringLiteral("カナテーブルにない文字「%1」").arg(refused)};
}

std::optional<QString> RecordAssembler::name_failure(QStringView value, bool kind_check) const {
  const int field = next_field_;
  const NameCheck check =
      check_name(space_left_name(prepared_name(value), width(field)), field, kind_check);
  if (check.fails) return check.reason;
  return std::nullopt;
}

void RecordAssembler::put_code(QStringView text, bool accepted) {
  const int field = put(text);
  if (!accepted) fail(field);
}

void RecordAssembler::fail(int field) { failed_mask_ |= 1u << field; }

void RecordAssembler::fail(int field, const QString& reason) {
  fail(field);
  failure_reasons_.insert(field, reason);
}

void RecordAssembler::correct(int field, const QString& corrected, const QString& original) {
  corrections_.append({field, corrected, original});
}

void RecordAssembler::note_difference(NameDifference difference) {
  name_differences_.append(std::move(difference));
}

void RecordAssembler::note(NameNotice notice) { name_notices_.append(std::move(notice)); }

bool RecordAssembler::check_fails(QStringView text, int field) const {
  return checker_.check_field(text, part_, field) == FieldCheck::Fails;
}

BuiltRecord RecordAssembler::finish() {
  BuiltRecord record;
  record.bytes = std::move(bytes_);
  record.failure_reasons = std::move(failure_reasons_);
  record.corrections = std::move(corrections_);
  record.name_differences = std::move(name_differences_);
  record.name_notices = std::move(name_notices_);
  for (int field = 1; field <= static_cast<int>(layout_.size()); ++field) {
    if (failed_mask_ & (1u << field)) record.failed_fields.append(field);
  }
  return record;
}

}  // namespace tsubakuro
