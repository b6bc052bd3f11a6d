#include "core/zengin/debit_result_messages.h"

#include <QLocale>

namespace tsubakuro::debit_result_messages {

namespace {

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

QString yen(qint64 amount) { return QStringLiteral("¥") + with_separators(amount); }

}  // namespace

QString figures(qint64 count, qint64 amount) {
  return QStringLiteral("%1件 %2").arg(with_separators(count), yen(amount));
}

QString summary(const QString& debited, const QString& not_debited, const QStringList& reasons) {
  QString text = QStringLiteral("振替済 %1、振替不能 %2").arg(debited, not_debited);
  if (!reasons.isEmpty()) text += u'（' + reasons.join(u'、') + u'）';
  return text;
}

QString reason(const QString& meaning, const QString& figures) { return meaning + u' ' + figures; }

QString trailer_count_differs(const QString& field, qint64 trailer, qint64 records) {
  return QStringLiteral("トレーラの%1は %2件ですが、データレコードでは %3件です。")
      .arg(field, with_separators(trailer), with_separators(records));
}

QString trailer_amount_differs(const QString& field, qint64 trailer, qint64 records) {
  return QStringLiteral("トレーラの%1は %2 ですが、データレコードでは %3 です。")
      .arg(field, yen(trailer), yen(records));
}

QString trailer_field_unreadable(const QString& field) {
  return QStringLiteral("トレーラの%1が数字ではありません。").arg(field);
}

QString bank_file_unopenable(const QString& path) {
  return QStringLiteral("銀行ファイル「%1」を開けません。").arg(path);
}

QString not_a_bank_file(const QString& path) {
  return QStringLiteral(
             "「%1」は全銀協規定フォーマットの銀行ファイルとして読めません"
             "（ヘッダ・データ・トレーラ・エンドの並びになっていません）。")
      .arg(path);
}

QString credit_file(const QString& path) {
  return QStringLiteral("「%1」は振込のファイルです。振替結果は振替のファイルにだけあります。")
      .arg(path);
}

QString no_results(const QString& path) {
  return QStringLiteral(
             "「%1」には振替結果が入っていません（銀行から返された振替ファイルでは"
             "ありません）。")
      .arg(path);
}

QString still_loading() { return QStringLiteral("振替結果を集計しています…"); }

QString failed_list_onto_bank_file(const QString& path) {
  return QStringLiteral("振替不能の一覧を銀行ファイル「%1」自身に書き出すことはできません。")
      .arg(path);
}

QString failed_list_written(qint64 count, const QString& path) {
  return QStringLiteral("振替不能 %1件を「%2」に書き出しました。")
      .arg(with_separators(count), path);
}

}  // namespace tsubakuro::debit_result_messages
