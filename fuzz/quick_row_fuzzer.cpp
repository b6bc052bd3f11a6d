// The quick build of a data record from one-byte characters against the general
// build from the decoded line, under fuzzed options, banks' rules, field kinds and
// column map, with a bank list or without: whenever the quick build takes a line
// it must give the very record, failed fields, amount and character count the
// general build gives, and the general build must have nothing more to say of it
// (no reason, no mended name, no warning), for the quick build logs none. Money
// rides on the two never disagreeing.
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
  options.bank_rules.check_characters = input.ConsumeBool();
  options.bank_rules.normalize_names = input.ConsumeBool();
  options.bank_rules.check_codes = input.ConsumeBool();
  static const std::shared_ptr<const BankList> list =
      BankList::parse(QStringLiteral("#zengin-code\t1\t2025-01-31\n"
                                     "0310\tﾐﾅﾄｷﾞﾝｺｳ\tみなと\n001\tﾎﾝﾃﾝ\t本店\n102\tｴｷﾏｴ\t駅前\n"
                                     "0001\tﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ\t三菱UFJ\n001\tﾎﾝﾃﾝ\t本店\n"))
          .value();
  const BankList* banks = input.ConsumeBool() ? list.get() : nullptr;
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
  BankNameMemo memo;
  const SingleByteRowBuilder quick(map, transfer, options, checker, banks, &memo);
  SingleByteRowBuilder::Row row;
  if (!quick.build(line, row)) return 0;

  const QString text = decode_cp932(line);
  const DataRecord general = build_data_record(text, map, transfer, options, checker, banks);
  require(QByteArray(row.bytes.data(), row.bytes.size()) == general.record.bytes,
          "the quick build writes the general build's record");
  quint32 failed = 0;
  for (const int field : general.record.failed_fields) failed |= 1u << field;
  require(row.failed_fields == failed, "the quick build fails the general build's fields");
  require(row.amount == general.amount, "the quick build reads the general build's amount");
  require(row.characters == text.size(), "the quick build counts the decoded characters");
  require(general.record.failure_reasons.isEmpty() && general.record.name_differences.isEmpty() &&
              general.record.name_notices.isEmpty(),
          "the quick build takes only lines the general build says nothing more of");
  // The names it mended, it logs as the general build would.
  require(row.corrections.size() == general.record.corrections.size(),
          "the quick build mends the general build's names");
  for (qsizetype i = 0; i < row.corrections.size(); ++i) {
    const FieldCorrection& quick_note = row.corrections[i];
    const FieldCorrection& general_note = general.record.corrections[i];
    require(quick_note.field == general_note.field &&
                quick_note.corrected == general_note.corrected &&
                quick_note.original == general_note.original,
            "the quick build notes each mended name as the general build does");
  }
  return 0;
}
