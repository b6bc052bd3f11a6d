#include "core/conversion/conversion_messages.h"

namespace tsubakuro::conversion_messages {

QString input_missing() { return QStringLiteral("入力ファイルが存在しません。"); }

QString input_is_special(const QString& path, const QString& kind) {
  return QStringLiteral("入力ファイル「%1」は%2です。支払データのファイルを指定してください。")
      .arg(path, kind);
}

QString input_unopenable(const QString& path) {
  return QStringLiteral("入力ファイル「%1」を開けません。").arg(path);
}

QString input_unreadable(const QString& path) {
  return QStringLiteral("入力ファイル「%1」を読み込めません。").arg(path);
}

QString workbook_text_missing(const QString& text_file) {
  return QStringLiteral(
             "Excelブックの行を読むためのファイル「%1」が作業フォルダにありません。"
             "ブックの行をカンマ区切りで「%1」に書き出してから変換してください。")
      .arg(text_file);
}

QString output_not_set() { return QStringLiteral("出力ファイルが設定されていません。"); }

QString output_is_special(const QString& path, const QString& kind) {
  return QStringLiteral("出力ファイル「%1」は%2です。書き込む先のファイル名を設定してください。")
      .arg(path, kind);
}

QString output_is_kept_file(const QString& output, const QString& what, const QString& name) {
  return QStringLiteral(
             "出力ファイル「%1」は%2「%3」と同じファイルです。上書きしないよう変換を"
             "取りやめました。環境設定で出力ファイルを変えてください。")
      .arg(output, what, name);
}

QString company_input_file(const QString& company, const QString& kind) {
  return QStringLiteral("会社「%1」の%2の入力ファイル").arg(company, kind);
}

QString output_uncreatable(const QString& path) {
  return QStringLiteral("出力ファイル「%1」を作成できません。").arg(path);
}

QString output_unwritable(const QString& path) {
  return QStringLiteral("出力ファイル「%1」に書き込めません。").arg(path);
}

QString log_is_special(const QString& path, const QString& kind) {
  return QStringLiteral("ログファイル「%1」は%2です。").arg(path, kind);
}

QString bank_list_needed() {
  return QStringLiteral(
      "銀行・支店コードを銀行一覧で確認する設定（check_codes）が働かないため、変換しません。"
      "銀行一覧を置き直すか、システム設定でこの確認を外してください。");
}

QString lock_file_unusable(const QString& path, const QString& what) {
  return QStringLiteral(
             "変換中の印にするファイル「%1」が%2ため、変換できません。"
             "「%1」を消すか名前を変えてから、もう一度変換してください。")
      .arg(path, what);
}

QString conversion_elsewhere(const QString& company) {
  return QStringLiteral(
             "会社「%1」の変換がほかで行われています。"
             "その変換が終わってから、もう一度変換してください。")
      .arg(company);
}

QString finished() { return QStringLiteral("変換が終了しました。"); }

QString finished_with_errors() { return QStringLiteral("変換エラーがあります。"); }

QString cancelled() { return QStringLiteral("変換をキャンセルされました。"); }

QString output_unchanged() { return QStringLiteral("出力ファイルは変更されていません。"); }

}  // namespace tsubakuro::conversion_messages
