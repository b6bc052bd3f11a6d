#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/settings/notifier.h"
#include "gui/shell/app_state.h"

namespace tsubakuro {

// The program's own message dialogs, used instead of the platform's message box.
// All three are modal, have no close box, and keep their top and left in slot 9.

// 確認メッセージ: one "OK" button.
void show_notice(AppState& app, const QString& title, const QString& message);
// 選択メッセージ: true for "OK", false for "ｷｬﾝｾﾙ".
bool ask_confirm(AppState& app, const QString& title, const QString& message);
// What is wrong with a text entered into 入力メッセージ, or empty text when nothing is.
using TextCheck = std::function<QString(const QString&)>;

// 入力メッセージ: the text entered when "OK" was pressed, empty text for "ｷｬﾝｾﾙ".
// With a `check`, "OK" on a text it finds fault with shows its message and
// leaves the prompt open with the text as typed.
QString ask_text(AppState& app, const QString& title, const QString& message,
                 const TextCheck& check = {});

// Hands the core's messages to show_notice.
class DialogNotifier : public Notifier {
 public:
  explicit DialogNotifier(AppState& app) : app_(app) {}
  void show_notice(const QString& title, const QString& message) override;

 private:
  AppState& app_;
};

}  // namespace tsubakuro
