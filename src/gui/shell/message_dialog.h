#pragma once

#include <QDialog>
#include <QString>

#include "gui/shell/app_state.h"
#include "gui/shell/message_dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tsubakuro {

// The one window behind show_notice, ask_confirm and ask_text. Sizes follow the
// message: 250 twips a character for the label, the dialog 100 twips wider but
// never narrower than 3500 twips; that is what keeps long messages on one line.
class MessageDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Kind { Notice, Confirm, Text };  // 確認メッセージ, 選択メッセージ, 入力メッセージ

  MessageDialog(AppState& app, Kind kind, const QString& title, const QString& message,
                QWidget* parent = nullptr);

  // The index of the button that closed the dialog: 1 "OK", 0 "ｷｬﾝｾﾙ".
  int answer() const { return answer_; }
  // For 入力メッセージ: the rule the text must pass before "OK" closes the prompt.
  void set_text_check(TextCheck check) { check_ = std::move(check); }
  // The text of the input box when the dialog closed.
  QString entered_text() const { return entered_text_; }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void press(int index);
  void lay_out(int label_width_twips);
  QPushButton* add_button(int index, const QString& caption);

  AppState& app_;
  Kind kind_;
  QLabel* label_ = nullptr;
  QLineEdit* text_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int answer_ = 0;
  QString entered_text_;
  TextCheck check_;
  bool placed_ = false;
};

}  // namespace tsubakuro
