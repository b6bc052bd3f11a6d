#include "core/zengin/transfer_list_messages.h"

namespace tsubakuro::transfer_list_messages {

QString cannot_open(const QString& file) {
  return QStringLiteral("銀行ファイル「%1」を開けません。").arg(file);
}

QString not_a_bank_file(const QString& file) {
  return QStringLiteral(
             "「%1」は銀行ファイルではありません（先頭がヘッダレコードではありません）。")
      .arg(file);
}

QString unknown_kind_code(const QString& file, const QString& code) {
  return QStringLiteral(
             "「%1」の種別コード「%2」の一覧表は作れません（21・11・12・91 のファイルだけです）。")
      .arg(file, code);
}

QString unknown_record_length(const QString& file) {
  return QStringLiteral(
             "「%1」のレコードの長さがわかりません（120・122・128・130・256・258 バイトの"
             "どれでもないか、エンドレコードで終わっていません）。")
      .arg(file);
}

QString unexpected_record(const QString& file, qint64 number, QChar kind) {
  return QStringLiteral("「%1」の %2 番目のレコードのデータ区分「%3」が正しくありません。")
      .arg(file)
      .arg(number)
      .arg(kind);
}

QString no_end_record(const QString& file) {
  return QStringLiteral("「%1」がエンドレコードで終わっていません。").arg(file);
}

QString file_changed(const QString& file) {
  return QStringLiteral("一覧表を作っている間に「%1」が変わりました。もう一度やり直してください。")
      .arg(file);
}

QString pdf_not_written(const QString& pdf, const QString& reason) {
  return QStringLiteral("一覧表「%1」を書けません（%2）。前のファイルはそのままです。")
      .arg(pdf, reason);
}

QString not_printed() { return QStringLiteral("一覧表を印刷できません（プリンタを使えません）。"); }

QString totals_disagree() {
  return QStringLiteral(
      "一覧表の合計件数・合計金額がトレーラレコードと一致しません。一覧表に赤字で示しています。");
}

}  // namespace tsubakuro::transfer_list_messages
