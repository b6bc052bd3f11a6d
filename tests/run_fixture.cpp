#include "run_fixture.h"

#include "core/text/cp932.h"

namespace tsubakuro::testing {

QDateTime fixed_moment() { return QDateTime(QDate(2026, 4, 25), QTime(9, 5, 7)); }

RunFixture::RunFixture() {
  init_field_dictionary(system);
  system.current_company = "ﾃｽﾄ";
  system.options.record_length = 120;
  TransferSettings& credit = company.credit;
  credit.input_file = "in.csv";
  credit.output_file = "out.dat";
  credit.header_values = {"21",   "0", "1234567890", "ﾃｽﾄｼｮｳｼﾞ", "0425",    "1",
                          "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ",       "1",        "1234567", ""};
  for (int i = 0; i < kBodyColumnCount; ++i) credit.body_columns[i] = QString::number(i + 1);
  credit.skip_header_rows = "0";
  credit.enabled = true;
  company.debit = credit;
  company.debit.header_values[0] = "91";
}

int RunFixture::run_all(ConversionRun& run) {
  int steps = 0;
  while (run.running()) {
    run.step();
    ++steps;
  }
  return steps;
}

std::unique_ptr<ConversionRun> RunFixture::make_run() {
  auto run = std::make_unique<ConversionRun>(system, company);
  run->set_clock(fixed_moment);
  return run;
}

Result<void> RunFixture::convert() {
  auto run = make_run();
  run_all(*run);
  return run->result();
}

QStringList RunFixture::log_lines() const {
  const QString text = decode_cp932(read_file(system.current_company + ".log"));
  QStringList lines = text.split("\r\n");
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QString& line : lines) {
    if (line.size() >= 2 && line.front() == u'"' && line.back() == u'"')
      line = line.sliced(1, line.size() - 2);
  }
  return lines;
}

QList<QByteArray> RunFixture::output_records(int length) const {
  const QByteArray bytes = read_file(company.credit.output_file);
  QList<QByteArray> records;
  for (qsizetype at = 0; at < bytes.size(); at += length) records.append(bytes.mid(at, length));
  return records;
}

}  // namespace tsubakuro::testing
