#include "core/records/single_byte_row_builder.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/records/bank_fields.h"
#include "core/records/field_checker.h"
#include "core/records/plan_walk.h"
#include "core/text/cp932.h"
#include "core/zengin/bank_characters.h"

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

constexpr unsigned char kVoicedByte = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedByte = 0xDF;  // ﾟ

bool is_mark(unsigned char byte) { return byte == kVoicedByte || byte == kSemiVoicedByte; }

// Longer than any code or name the bank list knows: such values go to the general
// build rather than into the table of the ones seen.
constexpr qsizetype kLongestListedValue = 60;
// Distinct bank and branch values remembered at most; a list has a few hundred.
constexpr qsizetype kMaxListedValues = 4096;

}  // namespace

// RecordAssembler's puts, on bytes that are characters, in the shape
// PlanWalk walks. With a bank list (kListed) the bank and branch fields go in
// together; without one each is put on its own, as the walk is quicker so.
template <bool kListed>
class SingleByteRecordWriter {
 public:
  static constexpr bool kLooksUpBanks = kListed;

  SingleByteRecordWriter(const SingleByteRowBuilder& builder, SingleByteRowBuilder::Row& row)
      : builder_(builder), out_(row.bytes.data()), corrections_(row.corrections) {}

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

  // With the character check on, its rule takes the place of the field's kind, and
  // a plain name passes it.
  void put_name(QByteArrayView value) {
    if (!builder_.plain_name(next_field_, value)) {
      const SingleByteRowBuilder::MendedName& mended = builder_.mended_name(next_field_, value);
      if (!mended.bytes.isEmpty()) {
        std::memcpy(out_, mended.bytes.constData(), mended.bytes.size());
        out_ += mended.bytes.size();
        ++next_field_;
        corrections_.append(mended.correction);
        return;
      }
      declined_ = true;
    }
    put_space_left(value, builder_.check_names_ && !builder_.rules_.check_characters, true);
  }

  void put_bank_fields(const std::array<QByteArrayView, 4>& values) {
    const QByteArrayView listed = builder_.listed_bank_fields(values);
    if (listed.isEmpty())
      declined_ = true;
    else
      std::memcpy(out_, listed.data(), listed.size());
    out_ += builder_.bank_fields_width_;
    next_field_ += 4;
  }
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
  // The general build has more to say of the row than which fields failed.
  bool declined() const { return declined_; }

 private:
  const SingleByteRowBuilder& builder_;
  char* out_;
  QVarLengthArray<FieldCorrection, 2>& corrections_;
  int next_field_ = 1;
  quint32 failed_ = 0;
  bool declined_ = false;
};

SingleByteRowBuilder::SingleByteRowBuilder(const ColumnMap& map, TransferKind transfer,
                                           const ConversionOptions& options,
                                           const FieldChecker& checker, const BankList* banks,
                                           BankNameMemo* memo)
    : map_(map),
      checker_(&checker),
      transfer_(transfer),
      twenty_digit_(options.twenty_digit(transfer)),
      debit_data_zero_(options.debit_data_zero),
      check_names_(!options.skip_name_check),
      rules_(options.bank_rules),
      banks_(banks),
      memo_(memo) {
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
    if (planned.put == FieldPut::BankCode && first_bank_field_ == 0)
      first_bank_field_ = planned.field;
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
  if (first_bank_field_ > 0) {
    bank_fields_start_ = field_start(transfer, RecordKind::Data, first_bank_field_) - 1;
    for (int field = first_bank_field_; field < first_bank_field_ + 4; ++field)
      bank_fields_width_ += widths_[field];
  }
  // The tables are the rules' own answers for each byte and pair: a byte the name
  // rule would mend, and a character the check would refuse or a letter or
  // symbol, keep the row from the quick build.
  for (int byte = 0; byte < 256; ++byte) {
    if (!is_single_byte(byte)) continue;
    const QString character(QChar(character_of(byte)));
    const char16_t c = character.front().unicode();
    bool plain = true;
    if (rules_.normalize_names) plain &= normalize_bank_name(character) == character;
    if (rules_.check_characters) {
      const bool kana_or_digit = c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'ｱ' && c <= u'ﾟ');
      plain &= kana_or_digit && (is_mark(byte) || check_bank_name(character).ok());
      for (int mark = 0; mark < 2; ++mark) {
        const QString pair = character + QChar(character_of(kVoicedByte + mark));
        mark_follows_[mark][byte] = check_bank_name(pair).ok();
      }
    }
    plain_name_byte_[byte] = plain;
  }
}

bool SingleByteRowBuilder::plain_name(int field, QByteArrayView value) const {
  const int width = widths_[field];
  if (value.size() > width) {
    // With any rule on, a cut name is noted; without, the cut is put_space_left's
    // (name_kept_length keeps a voicing mark with its kana on both paths, and a cut
    // through a character of two bytes is left to the general build there).
    const bool any_rule =
        banks_ || rules_.check_characters || rules_.normalize_names || rules_.check_codes;
    if (any_rule) return false;
  }
  if (!rules_.normalize_names && !rules_.check_characters) return true;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(value[i]);
    if (!plain_name_byte_[byte]) return false;
    if (rules_.check_characters && is_mark(byte) &&
        (i == 0 || !mark_follows_[byte - kVoicedByte][static_cast<unsigned char>(value[i - 1])]))
      return false;
  }
  return true;
}

QByteArrayView SingleByteRowBuilder::listed_bank_fields(
    const std::array<QByteArrayView, 4>& values) const {
  if (!plain_name(first_bank_field_ + 1, values[1]) ||
      !plain_name(first_bank_field_ + 3, values[3]))
    return {};
  // Each value after its length, so no value's bytes can pass for another's.
  char key[4 * (kLongestListedValue + 1)];
  qsizetype used = 0;
  for (const QByteArrayView value : values) {
    if (value.size() > kLongestListedValue) return {};
    key[used++] = static_cast<char>(value.size());
    if (!value.isEmpty()) std::memcpy(key + used, value.data(), value.size());
    used += value.size();
  }
  auto found = listed_bank_fields_.constFind(QByteArray::fromRawData(key, used));
  if (found == listed_bank_fields_.constEnd()) {
    // The general build's own put of the four fields, on a record of their own.
    RecordAssembler scratch(transfer_, RecordKind::Data, *checker_, rules_);
    for (int field = 1; field < first_bank_field_; ++field) scratch.put(QStringView());
    put_bank_fields(scratch,
                    {decode_cp932(values[0]), decode_cp932(values[1]), decode_cp932(values[2]),
                     decode_cp932(values[3]), true},
                    check_names_, banks_, memo_);
    const BuiltRecord built = scratch.finish();
    const bool said_nothing = built.failed_fields.isEmpty() && built.failure_reasons.isEmpty() &&
                              built.corrections.isEmpty() && built.name_differences.isEmpty() &&
                              built.name_notices.isEmpty();
    if (listed_bank_fields_.size() >= kMaxListedValues) listed_bank_fields_.clear();
    found = listed_bank_fields_.insert(
        QByteArray(key, used),
        said_nothing ? built.bytes.sliced(bank_fields_start_, bank_fields_width_) : QByteArray());
  }
  return *found;
}

const SingleByteRowBuilder::MendedName& SingleByteRowBuilder::mended_name(
    int field, QByteArrayView value) const {
  static const MendedName kDeclined;
  // Only the rules mend; a name longer than this is cut, which the build notes.
  if (!rules_.normalize_names || value.size() > kLongestListedValue) return kDeclined;
  char key[kLongestListedValue + 1];
  key[0] = static_cast<char>(field);
  if (!value.isEmpty()) std::memcpy(key + 1, value.data(), value.size());
  const qsizetype used = value.size() + 1;
  auto found = mended_names_.constFind(QByteArray::fromRawData(key, used));
  if (found == mended_names_.constEnd()) {
    // The general build's own put of the name, on a record of its own.
    RecordAssembler scratch(transfer_, RecordKind::Data, *checker_, rules_);
    for (int before = 1; before < field; ++before) scratch.put(QStringView());
    scratch.put_name(decode_cp932(value), check_names_);
    const BuiltRecord built = scratch.finish();
    const bool only_mended = built.failed_fields.isEmpty() && built.failure_reasons.isEmpty() &&
                             built.corrections.size() == 1 && built.name_differences.isEmpty() &&
                             built.name_notices.isEmpty();
    MendedName mended;
    if (only_mended) {
      mended.bytes =
          built.bytes.sliced(field_start(transfer_, RecordKind::Data, field) - 1, widths_[field]);
      mended.correction = built.corrections.front();
    }
    if (mended_names_.size() >= kMaxListedValues) mended_names_.clear();
    found = mended_names_.insert(QByteArray(key, used), std::move(mended));
  }
  return *found;
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
  const auto walk = [&](auto record) {
    put_data_fields(record, transfer_, columns, map_, {twenty_digit_, debit_data_zero_});
    row.failed_fields = record.failed();
    return !record.declined();
  };
  row.corrections.clear();
  if (!(banks_ ? walk(SingleByteRecordWriter<true>(*this, row))
               : walk(SingleByteRecordWriter<false>(*this, row))))
    return false;
  row.amount = written_digits(row.bytes.data() + amount_start_, widths_[amount_field_]);
  return true;
}

}  // namespace tsubakuro
