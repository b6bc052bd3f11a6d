#pragma once

#include <QString>
#include <QStringList>

#include "core/text/result.h"

namespace tsubakuro {

// A picture of the manual: a window as a user meets it, saved as "<file>.png".
struct ManualPicture {
  const char* file;
  const char* window;
};

// Every window the manual shows, in the order they are taken. The transfer
// list's page is no window and is drawn by the converter, so the script that
// runs this adds it when the converter prints one.
inline constexpr ManualPicture kManualPictures[] = {
    {"main-window", "メイン画面"},
    {"company-picker", "環境設定（会社の選択）"},
    {"company-editor-credit", "環境設定［振込］"},
    {"company-editor-debit", "環境設定［振替］"},
    {"company-editor-common", "環境設定［共通］"},
    {"bank-search", "銀行検索"},
    {"company-switch", "切替"},
    {"system-settings", "システム設定"},
    {"field-options", "オプション"},
    {"date-prompt", "変換日付入力（銀行休業日の警告）"},
    {"preparation", "作業準備"},
    {"run", "変換中"},
    {"log-viewer", "エラーログ"},
    {"main-window-converted", "変換後のメイン画面"},
    {"result-viewer", "変換結果（補正した名前）"},
};

// Opens every window of kManualPictures on the company of the working folder
// (the sample company: a list with a full-width name and a wrong 預金種目, so
// that the result shows a mended name and the log shows errors), converts once,
// and saves each window as it stands, at its own size, into `folder`. The
// names of the files written, or what stood in the way.
Result<QStringList> make_manual_pictures(const QString& folder);

}  // namespace tsubakuro
