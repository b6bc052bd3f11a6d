#include "conversion_fixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTest>
#include <QToolBar>
#include <stdexcept>

#include "core/settings/system_settings.h"

namespace tsubakuro::testing {

void PrintTo(const Notice& notice, std::ostream* out) {
  *out << "[" << notice.title.toStdString() << "] " << notice.message.toStdString();
}

NoticeAnswerer::NoticeAnswerer() {
  poll_.setInterval(5);
  QObject::connect(&poll_, &QTimer::timeout, [this] { answer(); });
  poll_.start();
}

void NoticeAnswerer::answer() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog == nullptr || !dialog->isVisible() ||
        dialog->objectName() != QStringLiteral("確認メッセージ"))
      continue;
    if (!dialog->property("answered").toBool()) {
      dialog->setProperty("answered", true);
      auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
      const Notice notice{dialog->windowTitle(), label ? label->text() : QString()};
      notices.append(notice);
      if (on_notice) on_notice(notice);
    }
    // On a busy machine the first click can come before the dialog is laid out
    // and miss its button: click again on every turn until it is gone.
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("Command1(0)"));
    if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
  }
}

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  QDeadlineTimer deadline(timeout_ms);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QTest::qWait(2);
  }
  return true;
}

int run_tsubakuro_convert(const QStringList& arguments, const QString& folder) {
  QProcess process;
  process.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
  process.setArguments(arguments);
  process.setWorkingDirectory(folder);
  process.start();
  if (!process.waitForFinished(120'000)) throw std::runtime_error("tsubakuro-convert hangs");
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

const QString ConversionWindowTest::kCompany = QStringLiteral("サンプル商事");

void ConversionWindowTest::SetUp() {
  dir_ = std::make_unique<ScopedWorkingDir>();
  copy_sample_company();
  init_field_dictionary(app_.system);
  load_system_settings(app_.system);
  app_.system.current_company = kCompany;
  app_.system.transfer_kind = TransferKind::Credit;
  main_ = std::make_unique<MainWindow>(app_);
  main_->show();
}

void ConversionWindowTest::TearDown() {
  if (main_) {
    main_->mdi_area()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main_.reset();
  }
  dir_.reset();
}

QWidget* ConversionWindowTest::child(const QString& name) const {
  for (QMdiSubWindow* frame : main_->mdi_area()->subWindowList()) {
    QWidget* widget = frame->widget();
    if (widget != nullptr && widget->objectName() == name && frame->isVisible()) return widget;
  }
  return nullptr;
}

QPushButton* ConversionWindowTest::button(QWidget* window, const QString& name) const {
  return window == nullptr ? nullptr : window->findChild<QPushButton*>(name);
}

void ConversionWindowTest::click(QWidget* window, const QString& name) const {
  QPushButton* target = button(window, name);
  ASSERT_NE(target, nullptr) << name.toStdString();
  QTest::mouseClick(target, Qt::LeftButton);
}

QWidget* ConversionWindowTest::open_date_prompt() {
  auto* toolbar = main_->findChild<QToolBar*>(QStringLiteral("Picture1"));
  EXPECT_NE(toolbar, nullptr);
  if (toolbar == nullptr) return nullptr;
  click(toolbar, QStringLiteral("Command1(2)"));
  wait_until([this] { return child(QStringLiteral("変換日付入力")) != nullptr; }, 5000);
  return child(QStringLiteral("変換日付入力"));
}

void ConversionWindowTest::start_conversion(const QString& month, const QString& day) {
  QWidget* prompt = child(QStringLiteral("変換日付入力"));
  ASSERT_NE(prompt, nullptr);
  for (const auto& [name, text] :
       {std::pair{QStringLiteral("Text1(0)"), month}, std::pair{QStringLiteral("Text1(1)"), day}}) {
    auto* box = prompt->findChild<QLineEdit*>(name);
    ASSERT_NE(box, nullptr) << name.toStdString();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
  }
  click(prompt, QStringLiteral("Command1(1)"));
}

bool ConversionWindowTest::wait_for_conversion_end(int timeout_ms) {
  return wait_until(
      [this] {
        return child(QStringLiteral("変換日付入力")) == nullptr &&
               child(QStringLiteral("Excel変換")) == nullptr &&
               child(QStringLiteral("変換中")) == nullptr &&
               app_.open_windows.count(WindowSlot::Conversion) == 0;
      },
      timeout_ms);
}

}  // namespace tsubakuro::testing
