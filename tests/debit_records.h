#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "core/text/cp932.h"

namespace tsubakuro::testing {

// 振替 records written byte by byte, as a bank returns them, so that the tests of
// the results do not lean on the code that reads them.

inline QByteArray debit_field(const QString& text, int width) {
  QByteArray bytes = encode_cp932(text).bytes;
  bytes.resize(width, ' ');
  return bytes;
}

inline QByteArray debit_digits(qint64 value, int width) {
  return QByteArray::number(value).rightJustified(width, '0');
}

inline QByteArray debit_header_record(const char* kind_code = "91") {
  return "1" + QByteArray(kind_code) + "0" + "1234567890" +
         debit_field(QStringLiteral("ｻﾝﾌﾟﾙｼｮｳｼﾞ"), 40) + "0425" + "0001" +
         debit_field(QStringLiteral("ﾐｽﾞﾎ"), 15) + "001" +
         debit_field(QStringLiteral("ﾄｳｷﾖｳ"), 15) + "1" + "1234567" + QByteArray(17, ' ');
}

struct DebitLine {
  QString name;
  qint64 amount;
  char code;  // the 振替結果コード
  qint64 customer = 20250001;
};

inline QByteArray debit_data_record(const DebitLine& line) {
  return "2" + QByteArray("0001") + debit_field(QStringLiteral("ﾐｽﾞﾎ"), 15) + "004" +
         debit_field(QStringLiteral("ﾏﾙﾉｳﾁ"), 15) + "    " + "1" + "0262534" +
         debit_field(line.name, 30) + debit_digits(line.amount, 10) + "0" +
         debit_digits(line.customer, 10) + "0000000000" + QByteArray(1, line.code) +
         QByteArray(8, ' ');
}

// The run's totals, then 振替済件数・金額 and 振替不能件数・金額 when the bank gave them
// (blank otherwise).
inline QByteArray debit_trailer_record(qint64 count, qint64 amount, const QByteArray& results) {
  QByteArray record = "8" + debit_digits(count, 6) + debit_digits(amount, 12) + results;
  record.resize(120, ' ');
  return record;
}

inline QByteArray debit_results_figures(qint64 debited_count, qint64 debited_amount,
                                        qint64 failed_count, qint64 failed_amount) {
  return debit_digits(debited_count, 6) + debit_digits(debited_amount, 12) +
         debit_digits(failed_count, 6) + debit_digits(failed_amount, 12);
}

// A whole returned file: header, the lines, a trailer whose bank figures agree with
// them (unless `results` is given), and the end record, each ended by CR LF when
// `length` is 122.
inline QByteArray debit_bank_file(const QList<DebitLine>& lines, int length = 120,
                                  const std::optional<QByteArray>& results = std::nullopt) {
  const auto physical = [length](const QByteArray& record) {
    return length == 122 ? record + "\r\n" : record + QByteArray(length - 120, ' ');
  };
  QByteArray file = physical(debit_header_record());
  qint64 amount = 0, debited = 0, debited_amount = 0;
  for (const DebitLine& line : lines) {
    file += physical(debit_data_record(line));
    amount += line.amount;
    if (line.code == '0') {
      ++debited;
      debited_amount += line.amount;
    }
  }
  const QByteArray figures = results.value_or(debit_results_figures(
      debited, debited_amount, lines.size() - debited, amount - debited_amount));
  file += physical(debit_trailer_record(lines.size(), amount, figures));
  file += physical("9" + QByteArray(119, ' '));
  return file;
}

}  // namespace tsubakuro::testing
