#include "core/settings/settings_messages.h"

#include "core/zengin/record_layout.h"

namespace tsubakuro {

namespace {

QString section_caption(TransferKind kind, const QString& group, const QString& name) {
  return QStringLiteral("%1の%2「%3」").arg(transfer_kind_word(kind), group, name);
}

QString field_caption(TransferKind transfer, RecordKind record, int number, const QString& what) {
  return QStringLiteral("%1 %2の項目[%3]（%4）の%5")
      .arg(transfer_kind_word(transfer), record_kind_word(record), QString::number(number),
           QString::fromUtf16(record_layout(transfer, record)[number - 1].name), what);
}

}  // namespace

QString missing_company_name_message() { return QStringLiteral("会社名が入力されていません。"); }

QString reserved_company_name_message(const QString& trimmed_name) {
  return QStringLiteral("「%1」は会社名に使えません。").arg(trimmed_name);
}

QString forbidden_company_name_character_message() {
  return QStringLiteral(
      "会社名に使えない文字（/ \\ \" または制御文字）が含まれています。別の名前にしてください。");
}

QString missing_company_settings_message() {
  return QStringLiteral("会社別CFGファイルが存在しません");
}

QString unreadable_company_settings_message(const QString& file_name) {
  return QStringLiteral("会社別CFGファイル「%1」を読み込めません。").arg(file_name);
}

QString broken_company_settings_message(const QString& file_name) {
  return QStringLiteral("会社別CFGファイル「%1」が壊れています。環境設定で保存し直してください。")
      .arg(file_name);
}

QString unreadable_settings_file_message(const QString& file_name) {
  return QStringLiteral("設定ファイル「%1」を読み込めません。").arg(file_name);
}

QString unwritable_program_settings_message(const QString& file_name) {
  return QStringLiteral("設定ファイル「%1」に書き込めません。").arg(file_name);
}

namespace {

// What a user can do about "tsubakuro.ini", said after each thing wrong with it.
QString program_settings_remedy() {
  return QStringLiteral(
      "銀行提出チェックの設定が分からないため、変換しません。"
      "ファイルを直すか、システム設定で銀行提出チェックを選んでOKを押すと、"
      "ファイルを書き直します。");
}

}  // namespace

QString unreadable_program_settings_message(const QString& file_name, QStringView reason) {
  return QStringLiteral("設定ファイル「%1」を読めません（%2）。")
             .arg(file_name, reason.toString()) +
         program_settings_remedy();
}

QString program_settings_line_message(const QString& file_name, int line_number,
                                      const QString& line) {
  return QStringLiteral("設定ファイル「%1」の%2行目「%3」は「キー=値」の形ではありません。")
             .arg(file_name)
             .arg(line_number)
             .arg(line) +
         program_settings_remedy();
}

QString program_settings_value_message(const QString& file_name, const QString& group,
                                       const QString& key, const QString& value) {
  return QStringLiteral(
             "設定ファイル「%1」の[%2]の「%3」の値「%4」が読めません。"
             "true か false（on/off、yes/no、1/0 も可）を書いてください。")
             .arg(file_name, group, key, value) +
         program_settings_remedy();
}

QString quote_in_value_message(const QString& caption) {
  return QStringLiteral("%1にダブルクォーテーション（\"）が含まれているため保存できません。")
      .arg(caption);
}

QString line_break_in_value_message(const QString& caption) {
  return QStringLiteral("%1に改行が含まれているため保存できません。").arg(caption);
}

QString character_outside_cp932_message(const QString& caption, const QString& character) {
  return QStringLiteral("%1にShift-JISで保存できない文字「%2」が含まれているため保存できません。")
      .arg(caption, character);
}

QString company_name_caption(const QString& name) {
  return QStringLiteral("会社名「%1」").arg(name);
}

QString input_file_caption(TransferKind kind) {
  return section_caption(kind, u"ﾌｧｲﾙ設定"_qs, u"入力ﾌｧｲﾙ"_qs);
}

QString output_file_caption(TransferKind kind) {
  return section_caption(kind, u"ﾌｧｲﾙ設定"_qs, u"出力ﾌｧｲﾙ"_qs);
}

QString header_value_caption(TransferKind kind, const QString& field_name) {
  return section_caption(kind, u"ﾍｯﾀﾞｰ情報"_qs, field_name);
}

QString body_column_caption(TransferKind kind, const QString& field_name) {
  return section_caption(kind, u"ﾎﾞﾃﾞｨ情報"_qs, field_name);
}

QString skip_header_rows_caption(TransferKind kind) {
  return section_caption(kind, u"読み飛し"_qs, u"ﾍｯﾀﾞｰ行数"_qs);
}

QString company_kana_table_caption() { return QStringLiteral("共通の「半角ｶﾀｶﾅ変換対象文字列」"); }

QString system_kana_table_caption() { return QStringLiteral("「半角ｶﾀｶﾅ変換対象文字列」"); }

QString field_name_caption(TransferKind transfer, RecordKind record, int number) {
  return field_caption(transfer, record, number, u"名前"_qs);
}

QString field_kind_caption(TransferKind transfer, RecordKind record, int number) {
  return field_caption(transfer, record, number, u"文字種別"_qs);
}

}  // namespace tsubakuro
