// The quick build of a data record from one-byte characters against the general
// build from the decoded line, under fuzzed options, field kinds and column map:
// whenever the quick build takes a line it must give the very record, failed
// fields, amount and character count the general build gives. Money rides on
// the two never disagreeing.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/records/data_record.h"
#include "core/records/field_checker.h"
#include "core/records/single_byte_row_builder.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"
#include "core/zengin/field_dictionary.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tsubakuro;
  FuzzedDataProvider input(data, size);
  const TransferKind transfer = input.ConsumeBool() ? TransferKind::Debit : TransferKind::Credit;
  ConversionOptions options;
  options.kana_table =
      input.ConsumeBool()
          ? QString::fromUtf16(kDefaultKanaTable)
          : decode_cp932(QByteArray::fromStdString(input.ConsumeRandomLengthString(8)));
  options.credit_20digit = input.ConsumeBool();
  options.debit_20digit = input.ConsumeBool();
  options.debit_data_zero = input.ConsumeBool();
  options.skip_name_check = input.ConsumeBool();
  FieldTable kinds = builtin_field_kinds();
  // The user may change the kind of any field, or blank it.
  QStringList& data_kinds = kinds.of(transfer, RecordKind::Data);
  for (QString& kind : data_kinds) {
    if (input.ConsumeIntegralInRange(0, 7) == 0)
      kind = QString::fromLatin1(input.PickValueInArray({"N", "C", "", "X", "Nx"}));
  }
  std::array<QString, kBodyColumnCount> body_columns;
  for (QString& column : body_columns)
    column = QString::number(input.ConsumeIntegralInRange(0, 16));
  const std::string rest = input.ConsumeRemainingBytesAsString();
  // One line, as the line reader hands it over.
  QByteArray line(rest.data(), static_cast<qsizetype>(rest.size()));
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' || line[i] == '\n') {
      line.truncate(i);
      break;
    }
  }

  const FieldChecker checker(kinds, transfer, options.kana_table);
  const ColumnMap map = prepare_column_map(body_columns);
  const SingleByteRowBuilder quick(map, transfer, options, checker, nullptr);
  SingleByteRowBuilder::Row row;
  if (!quick.build(line, row)) return 0;

  const QString text = decode_cp932(line);
  const DataRecord general = build_data_record(text, map, transfer, options, checker, nullptr);
  require(QByteArray(row.bytes.data(), row.bytes.size()) == general.record.bytes,
          "the quick build writes the general build's record");
  quint32 failed = 0;
  for (const int field : general.record.failed_fields) failed |= 1u << field;
  require(row.failed_fields == failed, "the quick build fails the general build's fields");
  require(row.amount == general.amount, "the quick build reads the general build's amount");
  require(row.characters == text.size(), "the quick build counts the decoded characters");
  return 0;
}
