// Reads any bytes as a 振替 file the bank returned, as the converter's --results
// and the result viewer do: a file is refused with a reason or read whole, its
// figures add up, and the records not debited are written out one line each.
#include <QBuffer>
#include <algorithm>

#include "core/conversion/failed_debits_csv.h"
#include "core/zengin/debit_results.h"
#include "core/zengin/zengin_record_reader.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString name = QStringLiteral("FURIKAE.DAT");
  tsubakuro::fuzz::write_whole_file(name, data, size);

  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const auto detected = tsubakuro::detect_record_length(buffer);
  if (detected) {
    require(std::ranges::find(tsubakuro::kRecordLengths, detected->record_length) !=
                tsubakuro::kRecordLengths.end(),
            "a detected length is one the program writes");
    require(bytes.front() == '1', "a detected file begins with a header");
  }

  const auto read = tsubakuro::read_debit_results(name);
  if (!read) {
    require(!read.message().isEmpty(), "a refusal says why");
    return 0;
  }
  require(detected && detected->record_length == read->record_length,
          "the results are read at the detected length");
  const tsubakuro::DebitResultTally& tally = read->tally;
  const tsubakuro::DebitFigures records = tally.records();
  const tsubakuro::DebitFigures debited = tally.debited();
  const tsubakuro::DebitFigures not_debited = tally.not_debited();
  require(records.count == debited.count + not_debited.count, "every record is counted once");
  require(debited.count >= 0 && not_debited.count >= 0 && debited.amount >= 0 &&
              not_debited.amount >= 0,
          "figures are never negative");
  qint64 reasons = 0;
  qint64 reason_amounts = 0;
  for (const auto& reason : tally.reasons()) {
    require(!tsubakuro::is_debited(reason.code), "a reason is a code other than 0");
    require(reason.figures.count > 0, "a reason has records");
    reasons += reason.figures.count;
    reason_amounts += reason.figures.amount;
  }
  require(reasons == not_debited.count && reason_amounts == not_debited.amount,
          "the reasons add up to the records not debited");
  require(!tsubakuro::debit_result_summary(tally).isEmpty(), "a summary is always given");
  if (read->all_debited())
    require(not_debited.count == 0 && read->disagreements.isEmpty(),
            "all debited means no failure and an agreeing trailer");

  const QString csv = QStringLiteral("FUNOU.csv");
  QFile::remove(csv);
  const auto written = tsubakuro::write_failed_debits(
      name, read->record_length, tsubakuro::FailedDebitsCsv::fixed(false), csv);
  require(written.ok(), "the records not debited of a readable file are written");
  require(*written == not_debited.count, "one line for each record not debited");
  const QByteArray lines = tsubakuro::fuzz::read_whole_file(csv);
  require(lines.count("\r\n") >= *written + 1, "a heading and one line for each");
  return 0;
}
