#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "core/engine/built_record.h"
#include "core/text/save_file.h"
#include "core/zengin/field_dictionary.h"

namespace tsubakuro {

// The error log of a company's last run, "<company>.log" in the working folder:
// one message per line in the write notation, CP932, CR LF. A run's log is
// written beside the old one, in large writes, and takes the old one's place only
// when commit() is called, together with the bank file it describes: a run that
// is killed or fails leaves the previous run's log as it was.
class ConversionLog {
 public:
  explicit ConversionLog(QString file_name);
  // Without commit(), the new log is thrown away.
  ~ConversionLog();

  // Starts a new, empty log. False, with error(), when it cannot.
  bool reset_log();
  // Appends `"message"` CR LF. False, with error(), when it cannot; a line may
  // wait in memory, so a full disk may only show at a later line or at flush().
  bool append_log(QStringView message);
  // The same for a message already in the bytes encode_message gives: a run that
  // logs one message for many rows encodes its fixed parts once.
  bool append_encoded(QByteArrayView message);
  // Appends the log's bytes for `message`: CP932, a character it cannot hold as
  // "?" (each half of a surrogate pair on its own).
  static void encode_message(QStringView message, QByteArray& out);
  // Writes the lines that wait. False, with error(), when it cannot: a run
  // flushes before it replaces the bank file, so that a log that cannot be
  // written never leaves a new bank file beside the old log.
  bool flush();
  // Puts the new log in the old one's place. False, with error(), when it cannot;
  // the old log then stays.
  bool commit();

  const QString& file_name() const { return file_name_; }
  // A Japanese message naming the file, after a failure.
  const QString& error() const { return error_; }

 private:
  QString file_name_;
  template <typename Encode>
  bool append_line(Encode&& encode);

  std::optional<SaveFile> file_;  // open from reset_log until commit
  QString error_;
};

// The date and time of the log markers in the Japanese system formats,
// whatever the machine's locale: "yyyy/MM/dd H:mm:ss".
QString log_timestamp(const QDateTime& moment);

// A data record's number as the log shows it: the last six digits, zero-filled.
QString log_record_number(qint64 record_number);
// The same six characters appended to `out` as bytes, as encode_message gives them.
void append_log_record_number(qint64 record_number, QByteArray& out);

// A row with more columns than most rows of its list: a separator where none
// belongs (an unquoted "1,000") moves every later value into the wrong field.
QString compose_extra_columns_error(qint64 record_number, qint64 columns, qint64 usual_columns);

// A run that wrote no data record: a bank file without payments is no success.
QString no_data_error();

// The message of a failed field. data_kind is the Zengin code (1, 2 or 8);
// record_number counts data records and is used for data_kind 2 only;
// twenty_digit is the 20-digit option that built the record.
QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number);

// The note of a name field mended into the banks' characters, numbered as its
// error would be: 補正：000012件目の[9]預金者名「ﾔﾏﾀﾞ ﾊﾅｺ」←「やまだ　はなこ」.
// Not an error: the run goes on as if the list had held the mended text.
QString compose_field_correction(const FieldTable& field_names, TransferKind transfer,
                                 bool twenty_digit, int data_kind, int field, qint64 record_number,
                                 QStringView corrected, QStringView original);
inline constexpr char16_t kCorrectionPrefix[] = u"補正：";

// The warning of a bank or branch name that is not the bank list's kana for its
// code, numbered as its error would be:
// 注意：000003件目の[3]振込銀行名「ﾐﾅﾄｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。
// Not an error: the bank may know the name under another spelling.
QString compose_name_difference(const FieldTable& field_names, TransferKind transfer,
                                bool twenty_digit, int data_kind, int field, qint64 record_number,
                                QStringView written, QStringView listed);
inline constexpr char16_t kWarningPrefix[] = u"注意：";

// Composes the message of a failed field and appends it to the log; false, with
// log.error(), when the line could not be written.
bool report_field_error(ConversionLog& log, const FieldTable& field_names, TransferKind transfer,
                        bool twenty_digit, int data_kind, int field, qint64 record_number);

}  // namespace tsubakuro
