#include "core/log/log_messages.h"

#include <QLocale>
#include <QRegularExpression>

namespace tsubakuro {

QString log_uncreatable_message(const QString& file_name) {
  return QStringLiteral("ログファイル「%1」を作成できません。").arg(file_name);
}

QString log_unopened_message(const QString& file_name) {
  return QStringLiteral("ログファイル「%1」を開けません。").arg(file_name);
}

QString log_unwritable_message(const QString& file_name) {
  return QStringLiteral("ログファイル「%1」に書き込めません。").arg(file_name);
}

QString log_unreadable_message(const QString& file_name, const QString& reason) {
  return QStringLiteral("ログファイル「%1」を読み込めません。（%2）").arg(file_name, reason);
}

QString log_title(const QString& company, const QString& company_title, TransferKind transfer) {
  return QStringLiteral("%1【%2】:%3").arg(company, company_title, transfer_kind_word(transfer));
}

QString log_start_marker() { return QStringLiteral("★★変換開始★★"); }
QString log_end_marker() { return QStringLiteral("★★変換終了★★"); }
QString log_cancel_marker() { return QStringLiteral("★★キャンセル★★"); }

namespace {
const QString kTimestampFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");
}  // namespace

QString log_timestamp(const QDateTime& moment) {
  // A format string, unlike the locale's short formats, gives the same text on
  // every machine.
  return moment.toString(kTimestampFormat);
}

std::optional<TransferKind> parse_log_title_kind(QStringView title) {
  // The company's name may hold a colon; the kind is the word after the last.
  const qsizetype colon = title.lastIndexOf(u':');
  if (colon < 0 || !title.left(colon).contains(u'【')) return std::nullopt;
  const QStringView word = title.mid(colon + 1);
  for (const TransferKind kind : {TransferKind::Credit, TransferKind::Debit}) {
    if (word == transfer_kind_word(kind)) return kind;
  }
  return std::nullopt;
}

std::optional<QDateTime> parse_marker_time(QStringView line, const QString& marker) {
  if (!line.startsWith(marker) || line.size() <= marker.size() || line[marker.size()] != u' ')
    return std::nullopt;
  const QDateTime moment =
      QDateTime::fromString(line.mid(marker.size() + 1).toString(), kTimestampFormat);
  if (!moment.isValid()) return std::nullopt;
  return moment;
}

namespace {

// The last six digits of a record number, zero-filled.
template <typename Char>
void write_six_digits(qint64 record_number, Char* digits) {
  for (int i = 5; i >= 0; --i, record_number /= 10) digits[i] = Char('0' + record_number % 10);
}

QString record_number_text(qint64 record_number) {
  if (record_number < 0)
    return (QStringLiteral("000000") + QString::number(record_number)).right(6);
  char16_t digits[6];
  write_six_digits(record_number, digits);
  return QString(reinterpret_cast<const QChar*>(digits), 6);
}

// With the 20-digit option fields 12 and 13 are one item in the file, so the
// fields after them are numbered as the bank sees them.
int shown_data_field(bool twenty_digit, int field) {
  return twenty_digit && field > 13 ? field - 1 : field;
}

// Where a note of a header or data field points, as its error would name it.
QString field_place(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                    int data_kind, int field, qint64 record_number) {
  switch (data_kind) {
    case 1:
      return QStringLiteral("ヘッダの[%1]%2")
          .arg(field)
          .arg(field_names.at(transfer, RecordKind::Header, field));
    case 2: {
      // Written out rather than through arg(): a data note is logged per row.
      const QString name = field_names.at(transfer, RecordKind::Data, field);
      QString place;
      place.reserve(16 + name.size());
      place += record_number_text(record_number);
      place += u"件目の[";
      place += QString::number(shown_data_field(twenty_digit, field));
      place += u']';
      place += name;
      return place;
    }
    default:
      return QString();
  }
}

}  // namespace

QString compose_field_correction(const FieldTable& field_names, TransferKind transfer,
                                 bool twenty_digit, int data_kind, int field, qint64 record_number,
                                 QStringView corrected, QStringView original) {
  const QString place =
      field_place(field_names, transfer, twenty_digit, data_kind, field, record_number);
  if (place.isEmpty()) return QString();
  QString message;
  message.reserve(8 + place.size() + corrected.size() + original.size());
  message += QStringView(kCorrectionPrefix);
  message += place;
  message += u'「';
  message += corrected;
  message += u"」←「";
  message += original;
  message += u'」';
  return message;
}

QString compose_name_difference(const FieldTable& field_names, TransferKind transfer,
                                bool twenty_digit, int data_kind, int field, qint64 record_number,
                                QStringView written, QStringView listed) {
  const QString place =
      field_place(field_names, transfer, twenty_digit, data_kind, field, record_number);
  if (place.isEmpty()) return QString();
  return QStringLiteral("%1%2「%3」は銀行一覧では「%4」です。")
      .arg(QString::fromUtf16(kWarningPrefix), place, written.toString(), listed.toString());
}

QString compose_name_cut(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                         int data_kind, int field, qint64 record_number, int width,
                         QStringView written) {
  const QString place =
      field_place(field_names, transfer, twenty_digit, data_kind, field, record_number);
  if (place.isEmpty()) return QString();
  return QStringLiteral("%1%2を%3桁に切り詰めました「%4」")
      .arg(QString::fromUtf16(kWarningPrefix), place)
      .arg(width)
      .arg(written.toString());
}

QString compose_name_not_filled(const FieldTable& field_names, TransferKind transfer,
                                bool twenty_digit, int data_kind, int field, qint64 record_number,
                                QStringView listed, QStringView reason) {
  const QString place =
      field_place(field_names, transfer, twenty_digit, data_kind, field, record_number);
  if (place.isEmpty()) return QString();
  return QStringLiteral("%1%2に銀行一覧の「%3」を入れませんでした（%4）。")
      .arg(QString::fromUtf16(kWarningPrefix), place, listed.toString(), reason.toString());
}

QString compose_payroll_name_warning(const FieldTable& field_names, TransferKind transfer,
                                     bool twenty_digit, int field, qint64 record_number) {
  return QStringLiteral(
             "%1%2に英字・記号があります。給与・賞与振込では受け付けない銀行があります。")
      .arg(QString::fromUtf16(kWarningPrefix),
           field_place(field_names, transfer, twenty_digit, 2, field, record_number));
}

QString compose_lock_taken_over(const QString& path, const QString& what) {
  return QStringLiteral(
             "%1変換中の印のファイル「%2」は変換を行っていないもの（%3）だったため、"
             "引き継ぎました。")
      .arg(QString::fromUtf16(kWarningPrefix), path, what);
}

QString compose_volatile_function_note(const QString& function) {
  return QStringLiteral(
             "%1ブックの数式に変換する日で値が変わる関数（%2）があります。"
             "変換した日の値で変換しました。")
      .arg(QString::fromUtf16(kWarningPrefix), function);
}

QString log_record_number(qint64 record_number) { return record_number_text(record_number); }

void append_log_record_number(qint64 record_number, QByteArray& out) {
  if (record_number < 0) {
    out.append(record_number_text(record_number).toLatin1());
    return;
  }
  char digits[6];
  write_six_digits(record_number, digits);
  out.append(digits, 6);
}

QString compose_column_count_error(qint64 record_number, qint64 columns, qint64 expected,
                                   bool expected_from_heading) {
  return QStringLiteral("ボディ：%1件目の列数（%2）が%3（%4）と違います。")
      .arg(log_record_number(record_number))
      .arg(columns)
      .arg(expected_from_heading ? QStringLiteral("見出し") : QStringLiteral("ほかの行"))
      .arg(expected);
}

QString compose_unclosed_quote_error(qint64 record_number) {
  return QStringLiteral("ボディ：%1件目の引用符が閉じていません。")
      .arg(log_record_number(record_number));
}

QString compose_long_row_error(qint64 record_number) {
  return QStringLiteral("ボディ：%1件目の行が長すぎます。").arg(record_number_text(record_number));
}

QString no_data_error() { return QStringLiteral("ボディ：変換するデータがありません。"); }

QString compose_skipped_payment_error(SkippedEnd end, QStringView payee, qint64 amount) {
  // The separators a user reads on the bank's statement, whatever the machine's locale.
  const QString yen = QLocale(QLocale::Japanese, QLocale::Japan).toString(amount);
  if (end == SkippedEnd::Heading) {
    return QStringLiteral(
               "ボディ：読み飛ばした先頭行が支払いの行です（%1 %2円）。"
               "見出しのない一覧では「読み飛し ﾍｯﾀﾞ」を外してください。")
        .arg(payee.toString(), yen);
  }
  return QStringLiteral(
             "ボディ：読み飛ばした最終行が支払いの行です（%1 %2円）。"
             "フッタのない一覧では「読み飛し ﾌｯﾀｰ」を外してください。")
      .arg(payee.toString(), yen);
}

QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number) {
  switch (data_kind) {
    case 1:
      return QStringLiteral("ヘッダ：[%1]%2が正しくありません。")
          .arg(field)
          .arg(field_names.at(transfer, RecordKind::Header, field));
    case 2: {
      // Put together piece by piece: a run with a wrong column logs this for every
      // row, and the name, coming last, is never taken for a place marker.
      const QString name = field_names.at(transfer, RecordKind::Data, field);
      QString message;
      message.reserve(32 + name.size());
      message += u"ボディ：";
      message += record_number_text(record_number);
      message += u"件目の[";
      message += QString::number(shown_data_field(twenty_digit, field));
      message += u']';
      message += name;
      message += u"が正しくありません。";
      return message;
    }
    case 8:
      return QStringLiteral("トレーラ：[%1]%2が正しくありません。")
          .arg(field)
          .arg(field_names.at(transfer, RecordKind::Trailer, field));
    default:
      return QString();
  }
}

std::optional<LoggedCorrection> parse_logged_correction(QStringView message) {
  if (!message.startsWith(QStringView(kCorrectionPrefix))) return std::nullopt;
  // The texts may hold any bracket: the arrow between them is where they meet.
  static const QRegularExpression kNote(
      QStringLiteral("^補正：(?:ヘッダの|(\\d{6})件目の)\\[(\\d+)\\][^「]*「(.*)」←「(.*)」$"),
      QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch match = kNote.match(message.toString());
  if (!match.hasMatch()) return std::nullopt;
  LoggedCorrection correction;
  correction.header = !match.hasCaptured(1);
  correction.record_number = match.capturedView(1).toLongLong();
  correction.field = match.capturedView(2).toInt();
  correction.corrected = match.captured(3);
  correction.original = match.captured(4);
  return correction;
}

}  // namespace tsubakuro
