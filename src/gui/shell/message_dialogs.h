#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/text/result.h"
#include "gui/shell/app_state.h"

namespace tsubakuro {

// The program's own message dialogs, used instead of the platform's message box.
// All three are modal, have no close box, and keep their top and left in slot 9.

// 確認メッセージ: one "OK" button.
void show_notice(AppState& app, const QString& title, const QString& message);
// 選択メッセージ: true for "OK", false for "ｷｬﾝｾﾙ".
bool ask_confirm(AppState& app, const QString& title, const QString& message);
// Whether a text entered into 入力メッセージ can be taken.
using TextCheck = std::function<Result<void>(const QString&)>;

// 入力メッセージ: the text entered when "OK" was pressed, empty text for "ｷｬﾝｾﾙ".
// With a `check`, "OK" on a text it finds fault with shows its message and
// leaves the prompt open with the text as typed.
QString ask_text(AppState& app, const QString& title, const QString& message,
                 const TextCheck& check = {});

// Shows why the core could not do something, as an "エラー" notice; a cancelled
// operation shows nothing.
void show_failure(AppState& app, const Failure& failure);

}  // namespace tsubakuro
