#include "core/engine/conversion_log.h"

#include "core/text/cp932.h"

namespace tsubakuro {

ConversionLog::ConversionLog(QString file_name) : file_name_(std::move(file_name)) {
  file_.setFileName(file_name_);
}

bool ConversionLog::reset_log() {
  if (file_.isOpen()) file_.close();
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    error_ = QStringLiteral("ログファイル「%1」を作成できません。").arg(file_name_);
    return false;
  }
  return true;
}

bool ConversionLog::append_log(QStringView message) {
  if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
    error_ = QStringLiteral("ログファイル「%1」を開けません。").arg(file_name_);
    return false;
  }
  QString line;
  line.reserve(message.size() + 4);
  line += u'"';
  line += message;
  line += u"\"\r\n";
  const QByteArray bytes = encode_cp932(line).bytes;
  if (file_.write(bytes) != bytes.size() || !file_.flush()) {
    error_ = QStringLiteral("ログファイル「%1」に書き込めません。").arg(file_name_);
    return false;
  }
  return true;
}

QString log_timestamp(const QDateTime& moment) {
  // A format string, unlike the locale's short formats, gives the same text on
  // every machine.
  return moment.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number) {
  switch (data_kind) {
    case 1:
      return QStringLiteral("ヘッダ：[%1]%2が正しくありません。")
          .arg(field)
          .arg(field_names.at(transfer, RecordKind::Header, field));
    case 2: {
      const QString record = (QStringLiteral("000000") + QString::number(record_number)).right(6);
      // With the 20-digit option fields 12 and 13 are one item in the file, so the
      // fields after them are numbered as the bank sees them.
      const int shown = twenty_digit && field > 13 ? field - 1 : field;
      return QStringLiteral("ボディ：%1件目の[%2]%3が正しくありません。")
          .arg(record)
          .arg(shown)
          .arg(field_names.at(transfer, RecordKind::Data, field));
    }
    case 8:
      return QStringLiteral("トレーラ：[%1]%2が正しくありません。")
          .arg(field)
          .arg(field_names.at(transfer, RecordKind::Trailer, field));
    default:
      return QString();
  }
}

QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number, const QString& reason) {
  const QString message =
      compose_field_error(field_names, transfer, twenty_digit, data_kind, field, record_number);
  return reason.isEmpty() ? message : message + u'（' + reason + u'）';
}

QString compose_field_note(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                           int data_kind, const RecordNote& note, qint64 record_number) {
  QString label;
  if (data_kind == 2) {
    const QString record = (QStringLiteral("000000") + QString::number(record_number)).right(6);
    const int shown = twenty_digit && note.field > 13 ? note.field - 1 : note.field;
    label = QStringLiteral("%1件目の[%2]%3")
                .arg(record)
                .arg(shown)
                .arg(field_names.at(transfer, RecordKind::Data, note.field));
  } else {
    label = QStringLiteral("ヘッダの[%1]%2")
                .arg(note.field)
                .arg(field_names.at(transfer, RecordKind::Header, note.field));
  }
  if (note.kind == RecordNote::Kind::Corrected)
    return QStringLiteral("補正：%1「%2」←「%3」").arg(label, note.text, note.other);
  return QStringLiteral("注意：%1「%2」は銀行一覧では「%3」です。")
      .arg(label, note.text, note.other);
}

bool report_field_error(ConversionLog& log, const FieldTable& field_names, TransferKind transfer,
                        bool twenty_digit, int data_kind, int field, qint64 record_number) {
  return log.append_log(
      compose_field_error(field_names, transfer, twenty_digit, data_kind, field, record_number));
}

}  // namespace tsubakuro
