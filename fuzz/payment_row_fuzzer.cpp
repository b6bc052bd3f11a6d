// Reads any bytes as a payment list under fuzzed options and column map: the
// lines must be exactly those the line ends delimit, whatever size the pieces the
// file arrives in; the rows must be those lines in order, joined only inside a
// quoted field; and every row must build a record of exactly the layout's length
// with its failed fields inside the layout.
#include <fuzzer/FuzzedDataProvider.h>

#include <QIODevice>
#include <QList>

#include "core/conversion/line_reader.h"
#include "core/conversion/row_reader.h"
#include "core/records/csv_row.h"
#include "core/records/data_record.h"
#include "core/records/field_checker.h"
#include "core/records/physical_record.h"
#include "core/text/cp932.h"
#include "core/zengin/field_dictionary.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

namespace {

// Hands the bytes out at most `piece` at a time, as a pipe or a slow disk may, so
// a CR LF can arrive split between two reads.
class PieceDevice : public QIODevice {
 public:
  PieceDevice(QByteArray bytes, qint64 piece) : bytes_(std::move(bytes)), piece_(piece) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 max_size) override {
    const qint64 count = std::min({max_size, piece_, bytes_.size() - position_});
    std::copy_n(bytes_.constData() + position_, count, data);
    position_ += count;
    return count;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray bytes_;
  qint64 piece_;
  qint64 position_ = 0;
};

// A line ends at CR LF, CR or LF; a last line without an end is still a line.
QList<QByteArray> expected_lines(const QByteArray& bytes) {
  QList<QByteArray> lines;
  QByteArray line;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      line += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lines.append(line);
    line.clear();
  }
  if (!line.isEmpty()) lines.append(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto transfer =
      input.ConsumeBool() ? tsubakuro::TransferKind::Debit : tsubakuro::TransferKind::Credit;
  tsubakuro::ConversionOptions options;
  options.kana_table = QString::fromUtf16(tsubakuro::kDefaultKanaTable);
  options.crlf_each_record = input.ConsumeBool();
  options.credit_20digit = input.ConsumeBool();
  options.debit_20digit = input.ConsumeBool();
  options.debit_data_zero = input.ConsumeBool();
  options.skip_name_check = input.ConsumeBool();
  options.record_length = input.PickValueInArray({0, 120, 122, 128, 130, 256, 258, 7});
  const qint64 piece = input.ConsumeIntegralInRange<qint64>(1, 300);
  std::array<QString, tsubakuro::kBodyColumnCount> body_columns;
  for (QString& column : body_columns)
    column = QString::fromStdString(input.ConsumeRandomLengthString(4));
  const std::string rest = input.ConsumeRemainingBytesAsString();
  const QByteArray list(rest.data(), static_cast<qsizetype>(rest.size()));

  PieceDevice device(list, piece);
  tsubakuro::LineReader reader(device);
  QList<QByteArray> lines;
  QByteArray line;
  while (!reader.at_end()) {
    require(reader.read_line(line), "a line is left when at_end says so");
    lines.append(line);
  }
  require(!reader.failed(), "a device that ends is no failure");
  require(lines == expected_lines(list), "the lines are those the line ends delimit");

  PieceDevice row_device(list, piece);
  tsubakuro::RowReader rows(row_device);
  QList<QByteArray> row_lines;
  QList<QByteArray> read_rows;
  QByteArray row;
  while (!rows.at_end()) {
    require(rows.read_row(row), "a row is left when at_end says so");
    require(!rows.too_long(), "no line here is over the limit");
    require(rows.row_bytes() == row.size(), "a row's size counts its bytes");
    const bool open = tsubakuro::ends_in_quote(QByteArrayView(row), false);
    require(open == rows.unclosed(), "only a row marked unclosed ends inside a quote");
    const QList<QByteArray> in_row = row.isEmpty() ? QList<QByteArray>{""} : expected_lines(row);
    require(!rows.unclosed() || in_row.size() == 1, "an unclosed row is its line alone");
    row_lines.append(in_row);
    read_rows.append(row);
  }
  require(row_lines == lines, "the rows are the lines in order");

  const tsubakuro::FieldTable kinds = tsubakuro::builtin_field_kinds();
  const tsubakuro::FieldChecker checker(kinds, transfer, options.kana_table);
  const tsubakuro::ColumnMap map = tsubakuro::prepare_column_map(body_columns);
  require(map.max_column >= 1 && map.max_column <= tsubakuro::kMaxInputColumn,
          "the column map stays within the columns a row has");
  const auto field_count =
      static_cast<int>(tsubakuro::record_layout(transfer, tsubakuro::RecordKind::Data).size());
  for (const QByteArray& bytes : read_rows) {
    const QString text = tsubakuro::decode_cp932(bytes);
    const tsubakuro::DataRecord row =
        tsubakuro::build_data_record(text, map, transfer, options, checker);
    require(row.record.bytes.size() == tsubakuro::kLogicalRecordLength,
            "a data record is exactly the logical length");
    for (const int field : row.record.failed_fields)
      require(field >= 1 && field <= field_count, "a failed field is a field of the record");
    require(tsubakuro::physical_record(row.record.bytes, options).size() ==
                options.physical_record_length(),
            "a physical record is exactly L bytes");
  }
  return 0;
}
