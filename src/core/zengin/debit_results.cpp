#include "core/zengin/debit_results.h"

#include <QFile>
#include <algorithm>

#include "core/text/cp932.h"
#include "core/zengin/debit_result.h"
#include "core/zengin/debit_result_messages.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"
#include "core/zengin/zengin_record_reader.h"

namespace tsubakuro {

namespace messages = debit_result_messages;

namespace {

constexpr TransferKind kDebit = TransferKind::Debit;

struct Place {
  int offset;  // from 0
  int width;
};

Place place_of(RecordKind record, int field) {
  return {field_start(kDebit, record, field) - 1, record_layout(kDebit, record)[field - 1].width};
}

const Place& result_code_place() {
  static const Place place = place_of(RecordKind::Data, debit_result_field());
  return place;
}

const Place& amount_place() {
  static const Place place =
      place_of(RecordKind::Data, amount_field(record_plan(kDebit, RecordKind::Data)));
  return place;
}

// The trailer's six figures: the run's two totals, then the four the bank fills in
// (振替済件数, 振替済金額, 振替不能件数, 振替不能金額), in the order of their fields.
std::array<Place, 6> trailer_places() {
  std::array<Place, 6> places{};
  std::size_t next = 0;
  for (const PlannedField& planned : trailer_plan(kDebit)) {
    if (planned.put == FieldPut::Total || planned.put == FieldPut::BankFills)
      places[next++] = place_of(RecordKind::Trailer, planned.field);
  }
  return places;
}

// The names the user knows the trailer's figures by, in the same order.
const QString kTrailerFigureNames[6] = {
    QStringLiteral("合計件数"),   QStringLiteral("合計金額"),     QStringLiteral("振替済件数"),
    QStringLiteral("振替済金額"), QStringLiteral("振替不能件数"), QStringLiteral("振替不能金額"),
};

std::optional<qint64> field_number(QByteArrayView record, const Place& place) {
  if (record.size() < place.offset + place.width) return std::nullopt;
  const QByteArrayView field = record.sliced(place.offset, place.width);
  if (!std::ranges::all_of(field, [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  qint64 value = 0;
  for (char c : field) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

int debit_result_field() {
  const auto layout = record_layout(kDebit, RecordKind::Data);
  const auto found = std::ranges::find_if(layout, [](const FieldLayout& field) {
    return QStringView(field.name) == u"振替結果コード";
  });
  return static_cast<int>(found - layout.begin()) + 1;
}

qint64 debit_record_amount(QByteArrayView record) {
  const Place& place = amount_place();
  qint64 value = 0;
  for (int i = place.offset; i < place.offset + place.width && i < record.size(); ++i) {
    const char c = record[i];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

namespace {

std::optional<DebitFigures> figures_at(QByteArrayView record, const Place& count,
                                       const Place& amount) {
  const std::optional<qint64> c = field_number(record, count);
  const std::optional<qint64> a = field_number(record, amount);
  if (!c || !a) return std::nullopt;
  return DebitFigures{*c, *a};
}

// 種別コード of a header: 91 for 振替; 21, 11 and 12 are the kinds of 振込.
QByteArrayView kind_code(QByteArrayView header) {
  const Place place = place_of(RecordKind::Header, 2);
  return header.size() >= place.offset + place.width ? header.sliced(place.offset, place.width)
                                                     : QByteArrayView();
}

}  // namespace

char debit_result_code(QByteArrayView record) {
  const Place& place = result_code_place();
  return record.size() > place.offset ? record[place.offset] : '\0';
}

QChar debit_result_character(char code) {
  // A control byte, a NUL among them, would show as nothing in 「不明（X）」.
  const QString decoded = decode_cp932(QByteArrayView(&code, 1));
  return decoded.isEmpty() || !decoded.front().isPrint() ? QChar(QChar::ReplacementCharacter)
                                                         : decoded.front();
}

void DebitResultTally::add(QByteArrayView record) {
  const char code = debit_result_code(record);
  DebitFigures& figures = is_debited(code) ? debited_ : by_code_[static_cast<unsigned char>(code)];
  ++figures.count;
  figures.amount += debit_record_amount(record);
}

DebitFigures DebitResultTally::not_debited() const {
  DebitFigures sum;
  for (const DebitFigures& figures : by_code_) {
    sum.count += figures.count;
    sum.amount += figures.amount;
  }
  return sum;
}

DebitFigures DebitResultTally::records() const {
  const DebitFigures rest = not_debited();
  return {debited_.count + rest.count, debited_.amount + rest.amount};
}

std::vector<DebitResultTally::Reason> DebitResultTally::reasons() const {
  std::vector<Reason> reasons;
  for (std::size_t code = 0; code < by_code_.size(); ++code) {
    if (by_code_[code].count > 0) reasons.push_back({static_cast<char>(code), by_code_[code]});
  }
  return reasons;
}

bool DebitResultTally::has_failure_codes() const {
  for (std::size_t code = 0; code < by_code_.size(); ++code) {
    if (code != ' ' && by_code_[code].count > 0) return true;
  }
  return false;
}

bool DebitTrailer::carries_results() const {
  return debited && not_debited && debited->count + not_debited->count > 0;
}

DebitTrailer read_debit_trailer(QByteArrayView record) {
  const std::array<Place, 6> places = trailer_places();
  return {figures_at(record, places[0], places[1]), figures_at(record, places[2], places[3]),
          figures_at(record, places[4], places[5])};
}

QStringList debit_trailer_disagreements(const DebitResultTally& tally,
                                        const DebitTrailer& trailer) {
  QStringList found;
  const auto compare = [&](const std::optional<DebitFigures>& written, const DebitFigures& counted,
                           int first_name) {
    const QString& count_name = kTrailerFigureNames[first_name];
    const QString& amount_name = kTrailerFigureNames[first_name + 1];
    if (!written) {
      found.append(messages::trailer_field_unreadable(count_name + u'・' + amount_name));
      return;
    }
    if (written->count != counted.count)
      found.append(messages::trailer_count_differs(count_name, written->count, counted.count));
    if (written->amount != counted.amount)
      found.append(messages::trailer_amount_differs(amount_name, written->amount, counted.amount));
  };
  compare(trailer.records, tally.records(), 0);
  compare(trailer.debited, tally.debited(), 2);
  compare(trailer.not_debited, tally.not_debited(), 4);
  return found;
}

QString debit_result_summary(const DebitResultTally& tally) {
  QStringList reasons;
  for (const DebitResultTally::Reason& reason : tally.reasons()) {
    reasons.append(
        messages::reason(debit_result_meaning(debit_result_character(reason.code)),
                         messages::figures(reason.figures.count, reason.figures.amount)));
  }
  const DebitFigures debited = tally.debited();
  const DebitFigures not_debited = tally.not_debited();
  return messages::summary(messages::figures(debited.count, debited.amount),
                           messages::figures(not_debited.count, not_debited.amount), reasons);
}

Result<DebitResults> read_debit_results(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return failure(messages::bank_file_unopenable(path));
  const Result<DetectedRecordLength> detected = detect_record_length(file);
  file.close();
  if (!detected) return failure(messages::not_a_bank_file(path));
  const int length = detected->record_length;

  ZenginRecordReader reader;
  if (!reader.open(path, length)) return failure(messages::bank_file_unopenable(path));
  const qint64 count = reader.record_count();
  const RecordRead header = reader.read(1);
  const QByteArrayView kind = kind_code(header.bytes);
  if (kind == "21" || kind == "11" || kind == "12") return failure(messages::credit_file(path));
  if (kind != "91") return failure(messages::not_a_bank_file(path));

  DebitResults results;
  results.record_length = length;
  // Only one group of records is read: a file that holds more, or a record of
  // another kind among the data, is not one this program wrote.
  for (qint64 number = 2; number < count - 1; ++number) {
    const RecordRead record = reader.read(number);
    if (record.data_kind() != '2') return failure(messages::not_a_bank_file(path));
    results.tally.add(record.bytes);
  }
  const RecordRead trailer = reader.read(count - 1);
  if (trailer.data_kind() != '8') return failure(messages::not_a_bank_file(path));
  results.trailer = read_debit_trailer(trailer.bytes);
  results.disagreements = debit_trailer_disagreements(results.tally, results.trailer);
  return results;
}

}  // namespace tsubakuro
