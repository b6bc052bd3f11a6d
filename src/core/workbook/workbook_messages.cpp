#include "core/workbook/workbook_messages.h"

#include <QFileInfo>

#include "core/workbook/workbook_kind.h"

namespace tsubakuro {
namespace {

QString file_label(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

QString workbook_kind_label(const WorkbookKind* kind) {
  return kind ? QString::fromUtf8(kind->label) : QStringLiteral("表計算のブック");
}

QString workbook_read_by_notice(WorkbookReader reader) {
  return reader == WorkbookReader::Program ? QStringLiteral("ブックを読みました（ツバクロ）")
                                           : QStringLiteral("ブックを読みました（LibreOffice）");
}

QString reading_workbook_notice(const QString& workbook) {
  return QStringLiteral("「%1」を読み込んでいます。").arg(QFileInfo(workbook).fileName());
}

QString exported_by_hand_notice(const QString& workbook) {
  return QStringLiteral(
             "表計算ソフトがないため「%1」は読まず、作業フォルダの「%2」を読み込みます。")
      .arg(file_label(workbook), QString::fromLatin1(kWorkbookTextFile));
}

QString exported_by_hand_missing_message(const QString& workbook) {
  return QStringLiteral(
             "表計算ソフトがないため「%1」は読めません。"
             "シートをカンマ区切りで作業フォルダの「%2」に保存してください。")
      .arg(file_label(workbook), QString::fromLatin1(kWorkbookTextFile));
}

QString formula_results_missing_message(const QString& workbook) {
  return QStringLiteral(
             "「%1」には数式の計算結果が保存されていません。"
             "表計算ソフトで開いて保存し直してから変換してください。")
      .arg(file_label(workbook));
}

QString refused_workbook_message(const QString& workbook) {
  return QStringLiteral(
             "「%1」を読むには表計算ソフト(LibreOffice)が必要です。"
             "カンマ区切りのテキストで保存したファイルを入力ファイルに指定してください。")
      .arg(file_label(workbook));
}

QString not_a_workbook_message(const QString& workbook, const WorkbookKind* kind) {
  return QStringLiteral("「%1」は%2として読み込めません。壊れているか、別の形式のファイルです。")
      .arg(file_label(workbook), workbook_kind_label(kind));
}

QString no_temporary_file_message(const QString& workbook) {
  return QStringLiteral("一時ファイルを作れないため「%1」を変換できません。")
      .arg(file_label(workbook));
}

QString no_temporary_folder_message(const QString& workbook) {
  return QStringLiteral("一時フォルダを作れないため「%1」を変換できません。")
      .arg(file_label(workbook));
}

QString unwritable_target_message(const QString& target, const QString& workbook) {
  return QStringLiteral("「%1」に書き込めないため「%2」を変換できません。")
      .arg(target, file_label(workbook));
}

QString suite_not_started_message(const QString& workbook) {
  return QStringLiteral("表計算ソフトを起動できませんでした。「%1」は変換できません。")
      .arg(file_label(workbook));
}

QString suite_time_limit_message(const QString& workbook, int seconds) {
  return QStringLiteral("「%1」の変換が制限時間(%2秒)内に終わりませんでした。")
      .arg(file_label(workbook))
      .arg(seconds);
}

QString suite_failed_message(const QString& workbook, const WorkbookKind* kind) {
  return not_a_workbook_message(workbook, kind) +
         QStringLiteral("パスワードが掛かったブックも読み込めません。");
}

QString refused_read_message(const QString& workbook, const QString& reason) {
  return QStringLiteral("「%1」を読み込めません(%2)。").arg(file_label(workbook), reason);
}

QString refused_read_without_suite_message(const QString& refused_read_message) {
  return refused_read_message +
         QStringLiteral("表計算ソフト(LibreOffice)があれば読めることがあります。");
}

QString damaged_workbook_message(const QString& workbook, const QString& reason) {
  return QStringLiteral("「%1」は壊れているため読み込めません(%2)。")
      .arg(file_label(workbook), reason);
}

QString volatile_function_without_suite_message(const QString& workbook, const QString& function) {
  return QStringLiteral(
             "「%1」には変換する日で値が変わる関数（%2）を使った数式があります。"
             "その値を計算するには表計算ソフト(LibreOffice)が必要です。")
      .arg(file_label(workbook), function);
}

QString read_refusal_reason(ReadRefusal refusal) {
  switch (refusal) {
    case ReadRefusal::NotAnArchive:
      return QStringLiteral("ブックの形式ではないか、壊れています");
    case ReadRefusal::ArchiveCutShort:
      return QStringLiteral("ファイルが途中で切れています");
    case ReadRefusal::TooManyStyles:
      return QStringLiteral("セルのスタイルが多すぎます");
    case ReadRefusal::NotASpreadsheet:
      return QStringLiteral("表計算のブックではありません");
    case ReadRefusal::NoWorkbookPart:
      return QStringLiteral("ブックの本体がありません");
    case ReadRefusal::NoWorksheet:
      return QStringLiteral("ワークシートがありません");
    case ReadRefusal::CellsOutOfOrder:
      return QStringLiteral("セルの並びが正しくありません");
    case ReadRefusal::TooManyRows:
      return QStringLiteral("行が多すぎます");
    case ReadRefusal::TooManyColumns:
      return QStringLiteral("列が多すぎます");
    case ReadRefusal::TooManyStrings:
      return QStringLiteral("文字列が多すぎます");
    case ReadRefusal::BadSharedString:
      return QStringLiteral("共有文字列の番号が正しくありません");
    case ReadRefusal::NotANumber:
      return QStringLiteral("数値でない値があります");
    case ReadRefusal::BadDate:
      return QStringLiteral("日付が正しくありません");
    case ReadRefusal::BadTime:
      return QStringLiteral("時刻が正しくありません");
    case ReadRefusal::DateOutOfRange:
      return QStringLiteral("範囲外の日付があります");
    case ReadRefusal::TimeOfTwentyFourHours:
      return QStringLiteral("24時間以上の時刻があります");
    case ReadRefusal::UnknownNumberFormat:
      return QStringLiteral("対応していない表示形式があります");
    case ReadRefusal::FormulaError:
      return QStringLiteral("結果がエラーの数式があります");
    case ReadRefusal::UnknownDateOrder:
      return QStringLiteral("この環境の日付の書き方に対応していません");
    case ReadRefusal::UnwritableTemporaryFile:
      return QStringLiteral("一時ファイルに書けません");
    case ReadRefusal::DuplicateMembers:
      return QStringLiteral("同じ名前の部品が二つあります");
    case ReadRefusal::DuplicateRelationships:
      return QStringLiteral("同じ番号の関連付けが二つあります");
    case ReadRefusal::SheetWithoutRelationship:
      return QStringLiteral("最初のシートの関連付けがありません");
    case ReadRefusal::RowsOutOfOrder:
      return QStringLiteral("行が番号の順に並んでいません");
    case ReadRefusal::ArrayFormula:
      return QStringLiteral("配列数式があります");
    case ReadRefusal::UnknownBoolean:
      return QStringLiteral("対応していない論理値があります");
    case ReadRefusal::UnknownCellStyle:
      return QStringLiteral("対応していないセルのスタイルがあります");
    case ReadRefusal::TextTooLong:
      return QStringLiteral("シートの内容が大きすぎます");
    case ReadRefusal::ElementInValue:
      return QStringLiteral("セルの値の中に要素があります");
  }
  return {};
}

QString missing_member_reason(const QString& member) {
  return QStringLiteral("%1 がありません").arg(member);
}

QString broken_member_reason(const QString& member) {
  return QStringLiteral("%1 が壊れています").arg(member);
}

QString cell_too_long_reason(const QString& member) {
  return QStringLiteral("%1 に長すぎる文字列があります").arg(member);
}

QString doctype_reason(const QString& member) {
  return QStringLiteral("%1 に文書型宣言があります").arg(member);
}

QString too_large_member_reason(const QString& member) {
  return QStringLiteral("%1 の要素が大きすぎます").arg(member);
}

QString volatile_function_reason(const QString& function) {
  return QStringLiteral("変換する日で値が変わる関数（%1）があります").arg(function);
}

QString unknown_cell_type_reason(const QString& type) {
  return QStringLiteral("対応していないセルの種類 %1 があります").arg(type);
}

}  // namespace tsubakuro
