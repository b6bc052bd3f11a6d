#include "core/engine/built_record.h"

#include "core/engine/field_checks.h"
#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

constexpr char kUnencodable = '?';

bool only_spaces(QStringView text) {
  for (const QChar character : text) {
    if (character != u' ') return false;
  }
  return true;
}

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
      if (!only_spaces(text.sliced(i))) sound = false;
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
                                 const FieldChecker& checker)
    : layout_(record_layout(transfer, record)),
      checker_(checker),
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

void RecordAssembler::put_checked_if(bool check, QStringView text) {
  if (check)
    put_checked(text);
  else
    put(text);
}

void RecordAssembler::put_code(QStringView text, bool accepted) {
  const int field = put(text);
  if (!accepted) fail(field);
}

void RecordAssembler::fail(int field) { failed_mask_ |= 1u << field; }

void RecordAssembler::fail(int field, const QString& reason) {
  fail(field);
  reasons_.insert(field, reason);
}

void RecordAssembler::note(RecordNote note) { notes_.append(std::move(note)); }

bool RecordAssembler::check_fails(QStringView text, int field) const {
  return checker_.check_field(text, part_, field).value_or(0) == 1;
}

BuiltRecord RecordAssembler::finish() {
  BuiltRecord record;
  record.bytes = std::move(bytes_);
  record.reasons = std::move(reasons_);
  record.notes = std::move(notes_);
  for (int field = 1; field <= static_cast<int>(layout_.size()); ++field) {
    if (failed_mask_ & (1u << field)) record.failed_fields.append(field);
  }
  return record;
}

}  // namespace tsubakuro
