#include "gui/shell/message_dialogs.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "gui/shell/message_dialog.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"

namespace tsubakuro {

namespace {

constexpr int kTwipsPerCharacter = 250;
constexpr int kDialogMargin = 100;
constexpr int kMinimumDialogWidth = 3500;
constexpr int kButtonGap = 100;
constexpr int kTextBoxMargin = 400;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 400;
constexpr int kTextBoxHeight = 360;
constexpr int kSpacing = 200;

const int kMessageSlot = static_cast<int>(WindowSlot::Message);

QString object_name_of(MessageDialog::Kind kind) {
  switch (kind) {
    case MessageDialog::Kind::Notice:
      return QStringLiteral("確認メッセージ");
    case MessageDialog::Kind::Confirm:
      return QStringLiteral("選択メッセージ");
    case MessageDialog::Kind::Text:
      return QStringLiteral("入力メッセージ");
  }
  return {};
}

QWidget* dialog_parent(AppState& app) { return app.host ? app.host->host_widget() : nullptr; }

}  // namespace

MessageDialog::MessageDialog(AppState& app, Kind kind, const QString& title, const QString& message,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      app_(app),
      kind_(kind) {
  setObjectName(object_name_of(kind));
  setWindowTitle(title);
  setModal(true);

  QString shown = message;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  label_ = new QLabel(shown, this);
  label_->setObjectName(QStringLiteral("Label1"));
  label_->setWordWrap(true);
  label_->setAccessibleName(shown);

  if (kind == Kind::Notice) {
    ok_ = add_button(0, QStringLiteral("OK"));
  } else {
    ok_ = add_button(1, QStringLiteral("OK"));
    cancel_ = add_button(0, QStringLiteral("ｷｬﾝｾﾙ"));
  }
  ok_->setDefault(true);
  if (kind == Kind::Text) {
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setAccessibleName(shown);
    setFocusProxy(text_);
    // Tab order: the box, then OK, then ｷｬﾝｾﾙ.
    setTabOrder(text_, ok_);
    setTabOrder(ok_, cancel_);
  }
  lay_out(kTwipsPerCharacter * static_cast<int>(message.size()));
}

QPushButton* MessageDialog::add_button(int index, const QString& caption) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QStringLiteral("Command1(%1)").arg(index));
  button->setAccessibleName(caption);
  connect(button, &QPushButton::clicked, this, [this, index] { press(index); });
  return button;
}

void MessageDialog::lay_out(int label_width_twips) {
  const double dpi = logical_dpi(this);
  auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
  int dialog_width = std::max(label_width_twips + kDialogMargin, kMinimumDialogWidth);
  // A long message (a file path, an explanation) would make the dialog wider
  // than the screen and cut its buttons off; it wraps instead.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const int screen_width = pixels_to_twips(screen->availableGeometry().width(), dpi);
    if (dialog_width > screen_width) {
      dialog_width = screen_width;
      label_width_twips = dialog_width - kDialogMargin;
    }
  }
  const int width_px = px(dialog_width);

  const int label_width_px = px(label_width_twips);
  // The label is wider than its text (250 twips a character is generous), so a
  // message that fits stands centred; one that wraps reads better from the left.
  const QFontMetrics metrics(label_->font());
  int widest_line = 0;
  for (const QString& line : label_->text().split(u'\n')) {
    widest_line = std::max(widest_line, metrics.horizontalAdvance(line));
  }
  label_->setAlignment(widest_line <= label_width_px ? Qt::AlignHCenter | Qt::AlignTop
                                                     : Qt::AlignLeft | Qt::AlignTop);
  const int label_height_px =
      std::max(label_->heightForWidth(std::max(label_width_px, 1)), label_->sizeHint().height());
  int y = px(kSpacing);
  label_->setGeometry((width_px - label_width_px) / 2, y, label_width_px, label_height_px);
  y += label_height_px + px(kSpacing);

  if (text_) {
    const int height = std::max(px(kTextBoxHeight), text_->sizeHint().height());
    text_->setGeometry(px(kTextBoxMargin / 2), y, px(dialog_width - kTextBoxMargin), height);
    y += height + px(kSpacing);
  }

  const int button_width = std::max(px(kButtonWidth), ok_->sizeHint().width());
  const int button_height = std::max(px(kButtonHeight), ok_->sizeHint().height());
  if (kind_ == Kind::Notice) {
    ok_->setGeometry((width_px - button_width) / 2, y, button_width, button_height);
  } else {
    ok_->setGeometry(width_px / 2 - button_width - px(kButtonGap), y, button_width, button_height);
    cancel_->setGeometry(width_px / 2 + px(kButtonGap), y, button_width, button_height);
  }
  y += button_height + px(kSpacing);
  setFixedSize(width_px, y);
}

void MessageDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    const int left = app_.system.window_left[kMessageSlot];
    const int top = app_.system.window_top[kMessageSlot];
    if (left == 0 && top == 0) {
      // No place of its own yet: over the window the user is looking at, not
      // over the menus in the screen's corner.
      const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
      const QRect target = over ? over->frameGeometry() : reachable_area(this);
      move(target.x() + (target.width() - width()) / 2,
           target.y() + (target.height() - height()) / 2);
    } else {
      const double dpi = logical_dpi(this);
      move(twips_to_pixels(left, dpi), twips_to_pixels(top, dpi));
    }
    keep_on_screen(this);
    if (text_) text_->setFocus();
  }
  QDialog::showEvent(event);
}

void MessageDialog::press(int index) {
  // An empty answer is no answer: the prompt stays until a name is typed or
  // the user cancels.
  if (kind_ == Kind::Text && index == 1 && text_->text().isEmpty()) return;
  if (kind_ == Kind::Text && index == 1 && check_) {
    const Result<void> checked = check_(text_->text());
    if (!checked) {
      show_failure(app_, checked.failure());
      text_->setFocus();
      text_->selectAll();
      return;
    }
  }
  answer_ = index;
  if (text_) entered_text_ = text_->text();
  done(index == 1 ? Accepted : Rejected);
}

void MessageDialog::done(int result) {
  const double dpi = logical_dpi(this);
  app_.system.window_top[kMessageSlot] = pixels_to_twips(y(), dpi);
  app_.system.window_left[kMessageSlot] = pixels_to_twips(x(), dpi);
  QDialog::done(result);
}

// Only the buttons close these dialogs: not Escape, not the window manager.
void MessageDialog::reject() {}

void MessageDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void show_notice(AppState& app, const QString& title, const QString& message) {
  MessageDialog dialog(app, MessageDialog::Kind::Notice, title, message, dialog_parent(app));
  dialog.exec();
}

bool ask_confirm(AppState& app, const QString& title, const QString& message) {
  MessageDialog dialog(app, MessageDialog::Kind::Confirm, title, message, dialog_parent(app));
  dialog.exec();
  return dialog.answer() == 1;
}

QString ask_text(AppState& app, const QString& title, const QString& message,
                 const TextCheck& check) {
  MessageDialog dialog(app, MessageDialog::Kind::Text, title, message, dialog_parent(app));
  dialog.set_text_check(check);
  dialog.exec();
  return dialog.answer() == 1 ? dialog.entered_text() : QString();
}

void show_failure(AppState& app, const Failure& failure) {
  if (failure.kind == Failure::Kind::Cancelled) return;
  show_notice(app, QStringLiteral("エラー"), failure.message);
}

}  // namespace tsubakuro
