#include "gui/app/manual_pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/settings/system_settings.h"
#include "core/zengin/bank_list.h"
#include "gui/app/main_window.h"
#include "gui/app/status_panel.h"
#include "gui/conversion/date_prompt.h"
#include "gui/editors/bank_search_window.h"
#include "gui/shell/app_state.h"
#include "gui/viewers/result_viewer.h"

namespace tsubakuro {
namespace {

constexpr int kWaitMs = 30'000;
// A day the date prompt counts from, so the weekday it shows is the same in
// every picture; the transfer day typed is a holiday, the one converted a
// working day.
const QDate kToday(2026, 4, 20);
const QString kHolidayMonth = QStringLiteral("5");
const QString kHolidayDay = QStringLiteral("4");
const QString kWorkingMonth = QStringLiteral("4");
const QString kWorkingDay = QStringLiteral("24");
// The settings windows and the viewers are taken in a main window of an office
// screen's size, where they open whole; the main window itself at the size the
// sample's settings give it.
const QSize kRoomyMain(1100, 900);

// A window's picture holds few colours; stored with a palette of exactly those
// it is a third of the size, with nothing lost. More than 256 stay as they are.
QImage with_own_palette(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, int> index;
  QList<QRgb> colours;
  QImage indexed(rgb.size(), QImage::Format_Indexed8);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = indexed.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      auto found = index.constFind(line[x]);
      if (found == index.constEnd()) {
        if (colours.size() == 256) return rgb;
        found = index.insert(line[x], static_cast<int>(colours.size()));
        colours.append(line[x]);
      }
      out[x] = static_cast<uchar>(*found);
    }
  }
  indexed.setColorTable(colours);
  return indexed;
}

class PictureSession {
 public:
  explicit PictureSession(QString folder) : folder_(std::move(folder)) {}
  ~PictureSession();

  Result<QStringList> run();

 private:
  Result<void> picture_settings_windows();
  Result<void> picture_conversion();
  Result<void> picture_result();

  bool wait_until(const std::function<bool()>& condition);
  QMdiSubWindow* frame(const QString& name) const;
  Result<QMdiSubWindow*> wait_for_frame(const QString& name);
  Result<void> click(QWidget* window, const QString& button);
  // `settle` lets the event loop run first; a window that goes away as soon as
  // it does is taken with its layout done and nothing else.
  Result<void> save(const char* file, QWidget* widget, bool settle = true);
  void resize_main(const QSize& size);
  void answer_notices();

  QString folder_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
  QStringList written_;
  QTimer notices_;
  bool run_pictured_ = false;
  Result<void> notice_result_;
};

PictureSession::~PictureSession() {
  notices_.stop();
  if (main_) {
    main_->mdi_area()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

bool PictureSession::wait_until(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(kWaitMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

QMdiSubWindow* PictureSession::frame(const QString& name) const {
  QMdiSubWindow* found = main_->child_frame(name);
  return found != nullptr && found->isVisible() ? found : nullptr;
}

Result<QMdiSubWindow*> PictureSession::wait_for_frame(const QString& name) {
  if (!wait_until([&] { return frame(name) != nullptr; }))
    return failure(QStringLiteral("画面「%1」が開きません。").arg(name));
  return frame(name);
}

Result<void> PictureSession::click(QWidget* window, const QString& button) {
  auto* found = window->findChild<QAbstractButton*>(button);
  if (found == nullptr)
    return failure(
        QStringLiteral("画面「%1」にボタン %2 がありません。").arg(window->objectName(), button));
  found->click();
  return {};
}

void PictureSession::resize_main(const QSize& size) {
  const QSize room = main_->screen()->availableSize();
  main_->resize(size.boundedTo(room));
  QCoreApplication::processEvents();
}

Result<void> PictureSession::save(const char* file, QWidget* widget, bool settle) {
  // Let the window lay itself out and paint what it has just been given.
  QCoreApplication::sendPostedEvents();
  if (settle) {
    QCoreApplication::processEvents();
  } else {
    QWidget* inner = widget;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(widget); frame && frame->widget())
      inner = frame->widget();
    for (QWidget* part : {inner, widget}) {
      if (part->layout() != nullptr) part->layout()->activate();
    }
    QCoreApplication::sendPostedEvents();
  }
  const QPixmap picture = widget->grab();
  const QString path = QDir(folder_).filePath(QString::fromUtf8(file) + QStringLiteral(".png"));
  // For PNG the lowest quality is the strongest compression; nothing is lost.
  if (picture.isNull() || !with_own_palette(picture.toImage()).save(path, "PNG", 0))
    return failure(QStringLiteral("画像「%1」を保存できません。").arg(path));
  written_ << QString::fromUtf8(file);
  return {};
}

// The message dialogs run their own event loop: this answers them from inside
// it with OK, and takes the run window's picture while 変換終了 is up, when its
// progress stands at the end.
void PictureSession::answer_notices() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog == nullptr || !dialog->isVisible() ||
        dialog->objectName() != QStringLiteral("確認メッセージ"))
      continue;
    if (!run_pictured_) {
      if (QMdiSubWindow* run = frame(QStringLiteral("変換中"))) {
        run_pictured_ = true;
        notice_result_ = save("run", run);
      }
    }
    if (auto* ok = dialog->findChild<QAbstractButton*>(QStringLiteral("Command1(0)"))) ok->click();
  }
}

Result<void> PictureSession::picture_settings_windows() {
  main_->open_company_picker();
  Result<QMdiSubWindow*> picker = wait_for_frame(QStringLiteral("環境設定切替"));
  if (!picker) return picker.failure();
  if (Result<void> saved = save("company-picker", *picker); !saved) return saved;
  if (Result<void> clicked = click((*picker)->widget(), QStringLiteral("Command1(2)")); !clicked)
    return clicked;

  Result<QMdiSubWindow*> editor = wait_for_frame(QStringLiteral("環境設定"));
  if (!editor) return editor.failure();
  auto* tabs = (*editor)->widget()->findChild<QTabBar*>(QStringLiteral("TabStrip1"));
  if (tabs == nullptr) return failure(QStringLiteral("環境設定にタブがありません。"));
  const char* const pages[] = {"company-editor-credit", "company-editor-debit",
                               "company-editor-common"};
  for (int page = 0; page < 3; ++page) {
    tabs->setCurrentIndex(page);
    if (Result<void> saved = save(pages[page], *editor); !saved) return saved;
  }
  {
    // The window the page's 銀行検索 opens, on the codes of the sample's bank.
    BankSearchWindow search(shipped_bank_list(), QStringLiteral("0001"), QStringLiteral("001"),
                            main_.get());
    search.show();
    if (Result<void> saved = save("bank-search", &search); !saved) return saved;
    search.close();
  }
  if (Result<void> clicked = click((*editor)->widget(), QStringLiteral("Command2(0)")); !clicked)
    return clicked;
  if (!wait_until([&] { return frame(QStringLiteral("環境設定")) == nullptr; }))
    return failure(QStringLiteral("環境設定が閉じません。"));

  const std::function<void()> openers[] = {[this] { main_->open_company_switch(); },
                                           [this] { main_->open_system_settings(); },
                                           [this] { main_->open_field_options(); }};
  const QString windows[] = {QStringLiteral("切替"), QStringLiteral("システム設定"),
                             QStringLiteral("オプション")};
  const char* const files[] = {"company-switch", "system-settings", "field-options"};
  for (int i = 0; i < 3; ++i) {
    openers[i]();
    Result<QMdiSubWindow*> window = wait_for_frame(windows[i]);
    if (!window) return window.failure();
    if (Result<void> saved = save(files[i], *window); !saved) return saved;
    if (Result<void> clicked = click((*window)->widget(), QStringLiteral("Command1(0)")); !clicked)
      return clicked;
    if (!wait_until([&] { return frame(windows[i]) == nullptr; }))
      return failure(QStringLiteral("画面「%1」が閉じません。").arg(windows[i]));
  }
  return {};
}

Result<void> PictureSession::picture_conversion() {
  main_->open_conversion();
  Result<QMdiSubWindow*> prompt_frame = wait_for_frame(QStringLiteral("変換日付入力"));
  if (!prompt_frame) return prompt_frame.failure();
  auto* prompt = qobject_cast<DatePrompt*>((*prompt_frame)->widget());
  auto* month = prompt->findChild<QLineEdit*>(QStringLiteral("Text1(0)"));
  auto* day = prompt->findChild<QLineEdit*>(QStringLiteral("Text1(1)"));
  if (month == nullptr || day == nullptr) return failure(QStringLiteral("日付の欄がありません。"));
  prompt->set_today([] { return kToday; });
  month->setText(kHolidayMonth);
  day->setText(kHolidayDay);
  if (Result<void> saved = save("date-prompt", *prompt_frame); !saved) return saved;
  month->setText(kWorkingMonth);
  day->setText(kWorkingDay);

  // 変換開始 opens the preparation window at once; it hands over to the run as
  // soon as the event loop turns, so it is taken before.
  if (Result<void> clicked = click(prompt, QStringLiteral("Command1(1)")); !clicked) return clicked;
  QMdiSubWindow* preparation = frame(QStringLiteral("Excel変換"));
  if (preparation == nullptr) return failure(QStringLiteral("作業準備の画面が開きません。"));
  if (Result<void> saved = save("preparation", preparation, false); !saved) return saved;

  Result<QMdiSubWindow*> log = wait_for_frame(QStringLiteral("エラーログ"));
  if (!log) return log.failure();
  if (!run_pictured_) return failure(QStringLiteral("変換終了のメッセージが出ません。"));
  if (!notice_result_) return notice_result_;
  if (Result<void> saved = save("log-viewer", *log); !saved) return saved;

  StatusPanel* status = main_->status_panel();
  if (!wait_until([&] { return !status->gathering(); }))
    return failure(QStringLiteral("状態表示が終わりません。"));
  return save("main-window-converted", main_.get());
}

Result<void> PictureSession::picture_result() {
  main_->open_result_viewer();
  Result<QMdiSubWindow*> window = wait_for_frame(QStringLiteral("変換結果"));
  if (!window) return window.failure();
  auto* viewer = qobject_cast<ResultViewer*>((*window)->widget());
  if (!wait_until([&] { return !viewer->loading(); }))
    return failure(QStringLiteral("変換結果を読み終わりません。"));
  return save("result-viewer", *window);
}

Result<QStringList> PictureSession::run() {
  if (!QDir().mkpath(folder_))
    return failure(QStringLiteral("フォルダ「%1」を作れません。").arg(folder_));
  app_.open_windows.reset();
  init_field_dictionary(app_.system);
  load_system_settings(app_.system);
  if (app_.system.current_company.isEmpty())
    return failure(QStringLiteral("作業フォルダに会社が選ばれていません。"));

  main_ = std::make_unique<MainWindow>(app_);
  main_->show();
  QObject::connect(&notices_, &QTimer::timeout, [this] { answer_notices(); });
  notices_.start(5);
  StatusPanel* status = main_->status_panel();
  if (!wait_until([&] { return main_->isVisible() && !status->gathering(); }))
    return failure(QStringLiteral("状態表示が終わりません。"));
  if (Result<void> saved = save("main-window", main_.get()); !saved) return saved.failure();
  const QSize own_size = main_->size();
  resize_main(kRoomyMain);
  if (Result<void> done = picture_settings_windows(); !done) return done.failure();
  resize_main(own_size);
  if (Result<void> done = picture_conversion(); !done) return done.failure();
  resize_main(kRoomyMain);
  if (Result<void> done = picture_result(); !done) return done.failure();
  return written_;
}

}  // namespace

Result<QStringList> make_manual_pictures(const QString& folder) {
  PictureSession session(folder);
  return session.run();
}

}  // namespace tsubakuro
