#include "core/records/record_assembler.h"

#include "core/records/field_checker.h"
#include "core/text/cp932.h"
#include "core/zengin/bank_characters.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

constexpr char kUnencodable = '?';

// Appends `text` as exactly `width` bytes; false when it held a character CP932
// cannot encode or lost more than trailing blanks to the cut.
bool append_fitted(QStringView text, int width, QByteArray& out) {
  bool sound = true;
  int used = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar character = text[i];
    const char16_t unit = character.unicode();
    const bool single = unit < 0x80 || (unit >= 0xFF61 && unit <= 0xFF9F);
    const int count = single ? 1 : cp932_byte_count(character);
    if (used + std::max(count, 1) > width) {
      if (!consists_of(text.sliced(i), ' ')) sound = false;
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

}  // namespace

RecordAssembler::RecordAssembler(TransferKind transfer, RecordKind record,
                                 const FieldChecker& checker, BankRules bank_rules)
    : layout_(record_layout(transfer, record)),
      checker_(checker),
      bank_rules_(bank_rules),
      part_(check_part_number(record)) {
  bytes_.reserve(kLogicalRecordLength);
}

int RecordAssembler::put(QStringView text) {
  const int field = next_field_++;
  if (!append_fitted(text, layout_[field - 1].width, bytes_)) fail(field);
  return field;
}

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
  QString text = value.toString();
  if (bank_rules_.normalize_names) {
    QString mended = normalize_bank_name(text);
    if (mended != text) {
      correct(field, mended, text);
      text = std::move(mended);
    }
  }
  const QString name = fitted(text);
  if (!bank_rules_.check_characters) {
    put_checked_if(kind_check, name);
    return name;
  }
  put(name);
  if (const Result<void> checked = check_bank_name(name); !checked) fail(field, checked.message());
  return name;
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

bool RecordAssembler::check_fails(QStringView text, int field) const {
  return checker_.check_field(text, part_, field) == FieldCheck::Fails;
}

BuiltRecord RecordAssembler::finish() {
  BuiltRecord record;
  record.bytes = std::move(bytes_);
  record.failure_reasons = std::move(failure_reasons_);
  record.corrections = std::move(corrections_);
  record.name_differences = std::move(name_differences_);
  for (int field = 1; field <= static_cast<int>(layout_.size()); ++field) {
    if (failed_mask_ & (1u << field)) record.failed_fields.append(field);
  }
  return record;
}

}  // namespace tsubakuro
