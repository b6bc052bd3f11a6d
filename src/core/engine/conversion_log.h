#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

#include "core/engine/built_record.h"
#include "core/zengin/field_dictionary.h"

namespace tsubakuro {

// The error log of a company's last run, "<company>.log" in the working folder:
// one message per line in the write notation, CP932, CR LF. The file stays open
// for the run and is flushed after every line, so it is complete on disk after
// each message even if the run stops.
class ConversionLog {
 public:
  explicit ConversionLog(QString file_name);

  // Creates the file empty (or empties it). False, with error(), when it cannot.
  bool reset_log();
  // Appends `"message"` CR LF. False, with error(), when it cannot.
  bool append_log(QStringView message);

  const QString& file_name() const { return file_name_; }
  // A Japanese message naming the file, after a failure.
  const QString& error() const { return error_; }

 private:
  QString file_name_;
  QFile file_;
  QString error_;
};

// The date and time of the log markers in the Japanese system formats,
// whatever the machine's locale: "yyyy/MM/dd H:mm:ss".
QString log_timestamp(const QDateTime& moment);

// The message of a failed field. data_kind is the Zengin code (1, 2 or 8);
// record_number counts data records and is used for data_kind 2 only;
// twenty_digit is the 20-digit option that built the record.
QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number);

// The message of a failed field followed by why it failed, when that is known:
// "…が正しくありません。（銀行一覧にない銀行番号「9999」）".
QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number, const QString& reason);

// The line of a field the build filled in or the bank list names otherwise:
// "補正：000003件目の[3]振込銀行名「ﾐｽﾞﾎ」←「」",
// "注意：000003件目の[3]振込銀行名「ﾐﾅﾄｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。";
// a header field is named "ヘッダの[8]取引銀行名".
QString compose_field_note(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                           int data_kind, const RecordNote& note, qint64 record_number);

// Composes the message of a failed field and appends it to the log; false, with
// log.error(), when the line could not be written.
bool report_field_error(ConversionLog& log, const FieldTable& field_names, TransferKind transfer,
                        bool twenty_digit, int data_kind, int field, qint64 record_number);

}  // namespace tsubakuro
