#include "core/files/file_messages.h"

namespace tsubakuro {

QString unsaved_file_message(const QString& file_name) {
  return QStringLiteral(
             "「%1」を保存できませんでした。フォルダーに書き込めないか、"
             "ディスクの空きが足りない可能性があります。既存のファイルは変更されていません。")
      .arg(file_name);
}

}  // namespace tsubakuro
