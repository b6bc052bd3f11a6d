#include "core/records/single_byte_row_builder.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/records/field_checker.h"
#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

constexpr int kAmountField = 10;
constexpr int kCustomerField = 12;

bool is_single_byte(unsigned char byte) { return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF); }

char16_t character_of(unsigned char byte) {
  return byte < 0x80 ? char16_t{byte} : static_cast<char16_t>(0xFF61 + (byte - 0xA1));
}

bool only(QByteArrayView text, char wanted) {
  for (const char c : text) {
    if (c != wanted) return false;
  }
  return true;
}

// The body columns (fields 2 to 15, from 0) put as text: the names and the last
// field.
bool takes_text(int body_column) {
  return body_column == 1 || body_column == 3 || body_column == 7 || body_column == 13;
}

bool only_digits(QByteArrayView text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

QByteArrayView unquoted(QByteArrayView column) {
  if (column.size() >= 2 && column.front() == '"' && column.back() == '"')
    return column.sliced(1, column.size() - 2);
  return column;
}

QByteArrayView trimmed(QByteArrayView value) {
  qsizetype start = 0;
  while (start < value.size() && value[start] == ' ') ++start;
  return value.sliced(start);
}

// The first character of space_left(value, 1).
char first_or_space(QByteArrayView value) { return value.isEmpty() ? ' ' : value.front(); }

// Whether space_left(value, 1) keeps the whole value: a longer code is another code.
bool fits_one(QByteArrayView value) { return value.size() <= 1 || only(value.sliced(1), ' '); }

}  // namespace

// RecordAssembler's puts, on bytes that are characters.
class SingleByteRecordWriter {
 public:
  SingleByteRecordWriter(const SingleByteRowBuilder& builder, char* out)
      : builder_(builder), out_(out) {}

  int put(QByteArrayView text) {
    const int field = next_field_++;
    const int width = builder_.widths_[field];
    const qsizetype kept = std::min<qsizetype>(text.size(), width);
    // An empty view may have no data at all, which memcpy must never be given.
    if (kept > 0) std::memcpy(out_, text.data(), kept);
    std::memset(out_ + kept, ' ', width - kept);
    out_ += width;
    if (text.size() > width && !only(text.sliced(width), ' ')) fail(field);
    return field;
  }

  bool passes(int field, QByteArrayView text) const {
    const auto& table = builder_.passes_[field];
    for (const char c : text) {
      if (!table[static_cast<unsigned char>(c)]) return false;
    }
    return true;
  }

  void put_checked(QByteArrayView text) {
    const int field = put(text);
    if (!passes(field, text)) fail(field);
  }

  // zero_right to the field's width, then put_checked.
  void put_digits(QByteArrayView value) {
    const int width = builder_.widths_[next_field_];
    const int field = next_field_;
    char padded[kLogicalRecordLength];
    const QByteArrayView digits = zero_right(value, width, padded);
    put_checked(digits);
    if (value.size() > width && !only(value.first(value.size() - width), '0')) fail(field);
  }

  // space_left to the field's width: a longer value is cut without failing.
  int put_space_left(QByteArrayView value, bool checked) {
    if (!SingleByteRowBuilder::is_single_byte_text(value)) return put_decoded(value, checked);
    const int width = builder_.widths_[next_field_];
    const QByteArrayView kept = value.first(std::min<qsizetype>(value.size(), width));
    const int field = put(kept);
    if (checked && (!passes(field, kept) || (kept.size() < width && !passes_blank(field))))
      fail(field);
    return field;
  }

  // put_space_left of a value with characters of two bytes, or bytes that are no
  // character: on its text, as RecordAssembler fits and checks it. The cut keeps
  // whole characters, and a character CP932 cannot hold is written as "?".
  int put_decoded(QByteArrayView value, bool checked) {
    const int field = next_field_++;
    const int width = builder_.widths_[field];
    // Only the first `width` characters count, and no more than two bytes each.
    char16_t text[2 * kLogicalRecordLength];
    const qsizetype decoded =
        decode_cp932_into(value.first(std::min<qsizetype>(value.size(), 2 * width)), text);
    const QStringView kept(text, std::min<qsizetype>(decoded, width));
    int used = 0;
    bool sound = true;
    for (qsizetype i = 0; i < kept.size(); ++i) {
      char bytes[2];
      const int count = encode_cp932_unit(kept[i].unicode(), bytes);
      if (used + std::max(count, 1) > width) {
        for (const QChar rest : kept.sliced(i)) sound &= rest == u' ';
        break;
      }
      if (count == 0) {
        out_[used] = '?';
        sound = false;
      } else {
        std::memcpy(out_ + used, bytes, count);
      }
      used += std::max(count, 1);
    }
    std::memset(out_ + used, ' ', width - used);
    out_ += width;
    if (!sound) fail(field);
    if (checked) {
      const FieldChecker& checker = *builder_.checker_;
      const int part = check_part_number(RecordKind::Data);
      const bool passes = checker.check_field(kept, part, field).value_or(0) == 0 &&
                          (kept.size() == width || passes_blank(field));
      if (!passes) fail(field);
    }
    return field;
  }

  bool passes_blank(int field) const { return builder_.passes_[field][' ']; }

  void put_code(char code, bool accepted) {
    const int field = put(QByteArrayView(&code, 1));
    if (!accepted) fail(field);
  }

  void fail(int field) { failed_ |= 1u << field; }
  quint32 failed() const { return failed_; }

  static QByteArrayView zero_right(QByteArrayView value, int width, char* room) {
    if (value.size() >= width) return value.last(width);
    const qsizetype zeros = width - value.size();
    std::memset(room, '0', zeros);
    if (!value.isEmpty()) std::memcpy(room + zeros, value.data(), value.size());
    return QByteArrayView(room, width);
  }

 private:
  const SingleByteRowBuilder& builder_;
  char* out_;
  int next_field_ = 1;
  quint32 failed_ = 0;
};

SingleByteRowBuilder::SingleByteRowBuilder(const ColumnMap& map, TransferKind transfer,
                                           const ConversionOptions& options,
                                           const FieldChecker& checker, const BankList* banks)
    : map_(map),
      checker_(&checker),
      debit_(transfer == TransferKind::Debit),
      twenty_digit_(options.twenty_digit(transfer)),
      check_names_(!options.skip_name_check),
      debit_data_zero_(options.debit_data_zero),
      usable_(!banks && !options.bank_rules.normalize_names &&
              !options.bank_rules.check_characters) {
  const auto layout = record_layout(transfer, RecordKind::Data);
  field_count_ = static_cast<int>(layout.size());
  if (field_count_ >= static_cast<int>(widths_.size())) {
    usable_ = false;
    return;
  }
  amount_start_ = field_start(transfer, RecordKind::Data, kAmountField) - 1;
  const int part = check_part_number(RecordKind::Data);
  for (int field = 1; field <= field_count_; ++field) {
    widths_[field] = layout[field - 1].width;
    // Both checks hold for a text when they hold for each of its characters.
    for (int byte = 0; byte < 256; ++byte) {
      if (!is_single_byte(byte)) continue;
      const QChar character(character_of(byte));
      passes_[field][byte] =
          checker.check_field(QStringView(&character, 1), part, field).value_or(0) == 0;
    }
  }
}

bool SingleByteRowBuilder::is_single_byte_text(QByteArrayView text) {
  // Branch-free over the text, so the compiler can take many bytes at a time.
  bool single = true;
  for (const char c : text) single &= is_single_byte(static_cast<unsigned char>(c));
  return single;
}

bool SingleByteRowBuilder::build(QByteArrayView line, Row& row) const {
  if (!usable_) return false;
  // split_row on bytes. A comma is never the second byte of a CP932 character,
  // so the columns read end where they end in the text; once they are known to
  // be one-byte characters, a quote and a blank in them are what they seem.
  // One pass finds the columns, counts the separators and notes the columns
  // holding other bytes.
  std::array<QByteArrayView, kMaxInputColumn + 1> columns{};
  const int last_column = std::min(map_.max_column, kMaxInputColumn);
  quint64 multibyte_columns = 0;  // bit c: column c (the columns past the last read: bit 0)
  qint64 commas = 0;
  qsizetype first_multibyte = -1;
  int column = 1;
  const char* const data = line.data();
  qsizetype start = 0;
  // Called for each comma and each byte that is no one-byte character, in order.
  const auto note = [&](qsizetype i) {
    if (data[i] == ',') {
      ++commas;
      if (column <= last_column) {
        columns[column++] = QByteArrayView(data + start, i - start);
        start = i + 1;
      }
    } else {
      multibyte_columns |= quint64{1} << (column <= last_column ? column : 0);
      if (first_multibyte < 0) first_multibyte = i;
    }
  };
  qsizetype i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: most hold a comma or two and nothing else of note.
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i zero = _mm_setzero_si128();
  // As signed bytes the half-width katakana 0xA1 to 0xDF are -95 to -33.
  const __m128i below_kana = _mm_set1_epi8(static_cast<char>(0xA0));
  const __m128i above_kana = _mm_set1_epi8(static_cast<char>(0xE0));
  for (; i + 16 <= line.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i kana =
        _mm_and_si128(_mm_cmpgt_epi8(bytes, below_kana), _mm_cmplt_epi8(bytes, above_kana));
    const __m128i other = _mm_andnot_si128(kana, _mm_cmplt_epi8(bytes, zero));
    unsigned marks =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), other)));
    for (; marks != 0; marks &= marks - 1) note(i + std::countr_zero(marks));
  }
#endif
  for (; i < line.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(data[i]);
    if (byte == ',' || !is_single_byte(byte)) note(i);
  }
  if (column <= last_column) columns[column] = QByteArrayView(data + start, line.size() - start);
  // Only a name (and the unchecked last field) may hold characters of two bytes
  // and still be written as its text has it; a code or a number with one has
  // failed, and is left to the build to say why.
  if (multibyte_columns != 0) {
    for (int i = 0; i < kBodyColumnCount; ++i) {
      const int entry = map_.entries[i];
      if (entry != 0 && !takes_text(i) && (multibyte_columns & (quint64{1} << entry))) return false;
    }
  }
  row.columns = commas + 1;
  // Before the first other byte, every byte is a character.
  row.characters = first_multibyte < 0
                       ? line.size()
                       : first_multibyte + cp932_character_count(line.sliced(first_multibyte));
  for (QByteArrayView& column : columns) column = unquoted(column);
  const auto v = [&](int i) { return columns[map_.entries[i]]; };
  const auto t = [&](int i) { return trimmed(v(i)); };

  SingleByteRecordWriter record(*this, row.bytes.data());
  record.put_checked("2");
  record.put_digits(t(0));
  record.put_space_left(v(1), check_names_);
  record.put_digits(t(2));
  record.put_space_left(v(3), check_names_);
  // space_left(code, 4) is all blanks only for an empty code.
  const QByteArrayView clearing_house = t(4);
  const int clearing_field = record.put_space_left(clearing_house, false);
  if (!clearing_house.isEmpty()) record.fail(clearing_field);
  const char account_type = first_or_space(t(5));
  record.put_code(account_type, fits_one(t(5)) && (account_type == '1' || account_type == '2' ||
                                                   account_type == '9'));
  record.put_digits(t(6));
  record.put_space_left(v(7), check_names_);
  const QByteArrayView amount = t(8);
  record.put_digits(amount);
  if (!only_digits(amount)) record.fail(kAmountField);
  const char new_code = first_or_space(t(9));
  record.put_code(new_code, fits_one(t(9)) && (new_code == '0' || new_code == '1' ||
                                               new_code == '2' || new_code == ' '));

  if (twenty_digit_) {
    // One number over the customer code and the next field, the two widths together.
    const int width = widths_[kCustomerField] + widths_[kCustomerField + 1];
    char room[kLogicalRecordLength];
    const QByteArrayView value = t(10);
    const QByteArrayView customer = SingleByteRecordWriter::zero_right(value, width, room);
    const bool kept = value.size() <= width || only(value.first(value.size() - width), '0');
    record.put_checked(customer.first(widths_[kCustomerField]));
    if (!kept) record.fail(kCustomerField);
    record.put_checked(customer.last(widths_[kCustomerField + 1]));
  } else {
    record.put_digits(t(10));
    record.put_digits(t(11));
  }

  const char designation = debit_ && debit_data_zero_ ? '0' : first_or_space(v(12));
  const bool whole = (debit_ && debit_data_zero_) || fits_one(v(12));
  record.put_code(designation, whole && (debit_ ? designation == '0' || designation == ' '
                                                : designation == '7' || designation == '8' ||
                                                      designation == ' '));
  record.put_space_left(v(13), false);

  row.failed_fields = record.failed();
  // The digits of 金額 as written, as written_amount reads them.
  row.amount = 0;
  for (int i = amount_start_; i < amount_start_ + widths_[kAmountField]; ++i) {
    const char c = row.bytes[i];
    if (c < '0' || c > '9') break;
    row.amount = row.amount * 10 + (c - '0');
  }
  return true;
}

}  // namespace tsubakuro
