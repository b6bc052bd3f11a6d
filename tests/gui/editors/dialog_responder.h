#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace tsubakuro::testing {

// One expected modal dialog and how to answer it: the dialog's object name
// (確認メッセージ, 選択メッセージ, 入力メッセージ, ファイル選択), the index of the
// button to click (Command1(n); kCloseBox closes the window instead), the text to
// type into its box, and anything else to do first.
struct DialogAnswer {
  static constexpr int kCloseBox = -1;
  DialogAnswer(QString dialog, int button, QString text = {},
               std::function<void(QWidget*)> prepare = {})
      : dialog(std::move(dialog)),
        button(button),
        text(std::move(text)),
        prepare(std::move(prepare)) {}

  QString dialog;
  int button;
  QString text;
  std::function<void(QWidget*)> prepare;
};

// Answers the program's modal message dialogs as they appear, in order, and keeps
// what each one said as "<title>|<message>". A dialog that was not expected is
// noted with a leading "!" and dismissed with its first button, so a fault
// fails the test instead of hanging it.
class DialogResponder : public QObject {
 public:
  explicit DialogResponder(std::deque<DialogAnswer> answers) : answers_(std::move(answers)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
  }

  const QStringList& seen() const { return seen_; }
  bool all_answered() const { return answers_.empty(); }

 private:
  void poll() {
    if (clicking_) return;
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    const auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    const QString said =
        dialog->windowTitle() + u'|' + (label != nullptr ? label->text() : QString());
    int button = 0;
    if (!answers_.empty() && answers_.front().dialog == dialog->objectName()) {
      const DialogAnswer answer = answers_.front();
      answers_.pop_front();
      seen_.append(said);
      if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))) {
        box->setText(answer.text);
      }
      if (answer.prepare) answer.prepare(dialog);
      button = answer.button;
    } else {
      seen_.append(u'!' + dialog->objectName() + u'|' + said);
    }
    if (button == DialogAnswer::kCloseBox) {
      dialog->close();
      return;
    }
    auto* target = dialog->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(button));
    if (target == nullptr) return;
    // Clicked from a turn of its own: a click may open a dialog of its own (a
    // prompt that refuses a name tells why), and this timer could not fire
    // again to answer it while its own tick were still running.
    clicking_ = true;
    QTimer::singleShot(0, this, [this, target = QPointer<QPushButton>(target)] {
      clicking_ = false;
      if (target) QTest::mouseClick(target, Qt::LeftButton);
    });
  }

  std::deque<DialogAnswer> answers_;
  QStringList seen_;
  QTimer timer_;
  bool clicking_ = false;
};

}  // namespace tsubakuro::testing
