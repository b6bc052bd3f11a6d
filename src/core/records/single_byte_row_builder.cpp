#include "core/records/single_byte_row_builder.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/records/field_checker.h"
#include "core/records/plan_walk.h"
#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

bool is_single_byte(unsigned char byte) { return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF); }

char16_t character_of(unsigned char byte) {
  return byte < 0x80 ? char16_t{byte} : static_cast<char16_t>(0xFF61 + (byte - 0xA1));
}

// The puts that write a column as text (names and the memo): only these may hold
// characters of two bytes and still be written as the text has them.
bool takes_text(FieldPut put) {
  return put == FieldPut::BankName || put == FieldPut::Name || put == FieldPut::Text;
}

}  // namespace

// RecordAssembler's puts, on bytes that are characters, in the shape
// PlanWalk walks.
class SingleByteRecordWriter {
 public:
  static constexpr bool kLooksUpBanks = false;

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
    if (!space_left_keeps_value(text, width)) fail(field);
    return field;
  }

  int width(int field) const { return builder_.widths_[field]; }

  void put_fixed(std::string_view text, bool checked) {
    const QByteArrayView fixed(text.data(), static_cast<qsizetype>(text.size()));
    if (checked)
      put_checked(fixed);
    else
      put(fixed);
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

  // zero_right to the field's width, then put_checked; the plan judges the cut.
  void put_digits(QByteArrayView value) {
    char padded[kLogicalRecordLength];
    put_checked(zero_right_into(value, width(next_field_), padded));
  }

  void put_name(QByteArrayView value) { put_space_left(value, builder_.check_names_, true); }
  void put_text(QByteArrayView value) { put_space_left(value, false, false); }
  // Code columns come here only as one-byte characters.
  void put_code(QByteArrayView value) {
    put(value.first(std::min<qsizetype>(value.size(), width(next_field_))));
  }

  // space_left to the field's width: a longer value is cut without failing; a
  // name as name_kept_length cuts it.
  void put_space_left(QByteArrayView value, bool checked, bool name) {
    if (!SingleByteRowBuilder::is_single_byte_text(value)) return put_decoded(value, checked, name);
    const int width = builder_.widths_[next_field_];
    const QByteArrayView kept = value.first(name ? name_kept_length(value, width)
                                                 : std::min<qsizetype>(value.size(), width));
    const int field = put(kept);
    if (checked && (!passes(field, kept) || (kept.size() < width && !passes_blank(field))))
      fail(field);
  }

  // put_space_left of a value with characters of two bytes, or bytes that are no
  // character: on its text, as RecordAssembler fits and checks it. The cut keeps
  // whole characters, and a character CP932 cannot hold is written as "?".
  void put_decoded(QByteArrayView value, bool checked, bool name) {
    const int field = next_field_++;
    const int width = builder_.widths_[field];
    // Only the first `width` characters count, and no more than two bytes each.
    char16_t text[2 * kLogicalRecordLength];
    const qsizetype decoded =
        decode_cp932_into(value.first(std::min<qsizetype>(value.size(), 2 * width)), text);
    const QStringView all(text, decoded);
    const QStringView kept =
        all.first(name ? name_kept_length(all, width) : std::min<qsizetype>(decoded, width));
    int used = 0;
    bool sound = true;
    for (qsizetype i = 0; i < kept.size(); ++i) {
      char bytes[2];
      const int count = encode_cp932_unit(kept[i].unicode(), bytes);
      if (used + std::max(count, 1) > width) {
        for (const QChar rest : kept.sliced(i)) sound &= rest == u' ';
        // As RecordAssembler cuts a name by bytes.
        if (name && i > 0 && is_voicing_mark(kept[i]) && !is_voicing_mark(kept[i - 1]) &&
            encode_cp932_unit(kept[i - 1].unicode(), bytes) == 1)
          --used;
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
      const bool passes = checker.check_field(kept, part, field) != FieldCheck::Fails &&
                          (kept.size() == width || passes_blank(field));
      if (!passes) fail(field);
    }
  }

  bool passes_blank(int field) const { return builder_.passes_[field][' ']; }

  void fail(int field) { failed_ |= 1u << field; }
  quint32 failed() const { return failed_; }

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
      transfer_(transfer),
      twenty_digit_(options.twenty_digit(transfer)),
      debit_data_zero_(options.debit_data_zero),
      check_names_(!options.skip_name_check),
      usable_(!banks && !options.bank_rules.normalize_names &&
              !options.bank_rules.check_characters) {
  const auto plan = record_plan(transfer, RecordKind::Data);
  const auto layout = record_layout(transfer, RecordKind::Data);
  const int field_count = static_cast<int>(layout.size());
  if (field_count >= static_cast<int>(widths_.size())) {
    usable_ = false;
    return;
  }
  amount_field_ = amount_field(plan);
  amount_start_ = field_start(transfer, RecordKind::Data, amount_field_) - 1;
  for (const PlannedField& planned : plan) {
    if (planned.column != kNoColumn && !takes_text(planned.put))
      code_columns_ |= 1u << planned.column;
  }
  const int part = check_part_number(RecordKind::Data);
  for (int field = 1; field <= field_count; ++field) {
    widths_[field] = layout[field - 1].width;
    // Both checks hold for a text when they hold for each of its characters.
    for (int byte = 0; byte < 256; ++byte) {
      if (!is_single_byte(byte)) continue;
      const QChar character(character_of(byte));
      passes_[field][byte] =
          checker.check_field(QStringView(&character, 1), part, field) != FieldCheck::Fails;
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
  // so the columns read end where they end in the text. A row with a quote is
  // left to split_row itself: nearly no row has one, and what a quote means
  // reaches across columns. One pass finds the columns, counts the separators,
  // notes the columns holding other bytes and finds any quote.
  std::array<QByteArrayView, kMaxInputColumn + 1> columns{};
  const int last_column = std::min(map_.max_column, kMaxInputColumn);
  quint64 multibyte_columns = 0;  // bit c: column c (the columns past the last read: bit 0)
  qint64 commas = 0;
  qsizetype first_multibyte = -1;
  bool quoted = false;
  int column = 1;
  const char* const data = line.data();
  qsizetype start = 0;
  // Called for each comma, quote and byte that is no one-byte character, in order.
  const auto note = [&](qsizetype i) {
    if (data[i] == '"') {
      quoted = true;
    } else if (data[i] == ',') {
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
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i zero = _mm_setzero_si128();
  // As signed bytes the half-width katakana 0xA1 to 0xDF are -95 to -33.
  const __m128i below_kana = _mm_set1_epi8(static_cast<char>(0xA0));
  const __m128i above_kana = _mm_set1_epi8(static_cast<char>(0xE0));
  for (; i + 16 <= line.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i kana =
        _mm_and_si128(_mm_cmpgt_epi8(bytes, below_kana), _mm_cmplt_epi8(bytes, above_kana));
    const __m128i other = _mm_andnot_si128(kana, _mm_cmplt_epi8(bytes, zero));
    const __m128i separators =
        _mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote));
    unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(separators, other)));
    for (; marks != 0; marks &= marks - 1) note(i + std::countr_zero(marks));
  }
#endif
  for (; i < line.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(data[i]);
    if (byte == ',' || byte == '"' || !is_single_byte(byte)) note(i);
  }
  if (quoted) return false;
  if (column <= last_column) columns[column] = QByteArrayView(data + start, line.size() - start);
  // Only a name (and the unchecked last field) may hold characters of two bytes
  // and still be written as its text has it; a code or a number with one has
  // failed, and is left to the build to say why.
  if (multibyte_columns != 0) {
    for (int i = 0; i < kBodyColumnCount; ++i) {
      const int entry = map_.entries[i];
      if (entry != 0 && (code_columns_ & (1u << i)) && (multibyte_columns & (quint64{1} << entry)))
        return false;
    }
  }
  row.columns = commas + 1;
  // Before the first other byte, every byte is a character.
  row.characters = first_multibyte < 0
                       ? line.size()
                       : first_multibyte + cp932_character_count(line.sliced(first_multibyte));
  SingleByteRecordWriter record(*this, row.bytes.data());
  put_data_fields(record, transfer_, columns, map_, {twenty_digit_, debit_data_zero_});
  row.failed_fields = record.failed();
  row.amount = written_digits(row.bytes.data() + amount_start_, widths_[amount_field_]);
  return true;
}

}  // namespace tsubakuro
