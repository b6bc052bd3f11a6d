#include "gui/app/status_panel.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/settings/system_settings.h"
#include "gui/app/main_window.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::copy_sample_company;
using testing::ScopedWorkingDir;
using testing::source_path;

bool wait_until(const std::function<bool()>& condition, int timeout_ms = 30'000) {
  QDeadlineTimer deadline(timeout_ms);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QTest::qWait(2);
  }
  return true;
}

// The main window in a fresh working folder, started as the program starts.
class StatusPanelTest : public ::testing::Test {
 protected:
  void start() {
    init_field_dictionary(app_.system);
    load_system_settings(app_.system);
    main_ = std::make_unique<MainWindow>(app_);
    main_->show();
    settle();
  }

  void TearDown() override {
    notices_.stop();
    if (main_) {
      main_->mdi_area()->closeAllSubWindows();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      main_.reset();
    }
  }

  // Copies the sample company as scripts/run.sh seeds a working folder, with
  // the program's settings that turn the banks' rules on.
  static void seed_sample_company() {
    copy_sample_company();
    ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("examples/tsubakuro.ini")),
                            QStringLiteral("tsubakuro.ini")));
  }

  void settle() {
    ASSERT_TRUE(wait_until([this] { return !main_->status_panel()->gathering(); }));
  }

  QLabel* part(const char* name) const {
    auto* label = main_->statusBar()->findChild<QLabel*>(QString::fromUtf8(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
  }
  QString text(const char* name) const { return part(name)->text(); }

  QWidget* child(const QString& name) const {
    QMdiSubWindow* frame = main_->child_frame(name);
    return frame != nullptr && frame->isVisible() ? frame->widget() : nullptr;
  }

  void click(QWidget* window, const QString& name) const {
    auto* button = window->findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    // A window just opened is laid out on the next turn of the event loop.
    ASSERT_TRUE(wait_until([button] { return button->isVisible() && button->width() > 1; }));
    QTest::qWait(1);
    // A radio button or check box answers on its mark, not on the blank beside it.
    QTest::mouseClick(
        button, Qt::LeftButton, {},
        button->isCheckable() ? QPoint(8, button->height() / 2) : button->rect().center());
  }

  // Answers every message dialog with its first button, from inside its loop.
  void answer_notices() {
    QObject::connect(&notices_, &QTimer::timeout, [] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog == nullptr || !dialog->isVisible() ||
            dialog->objectName() != QStringLiteral("確認メッセージ"))
          continue;
        if (auto* ok = dialog->findChild<QAbstractButton*>(QStringLiteral("Command1(0)")))
          ok->click();
      }
    });
    notices_.start(5);
  }

  // 変換処理 from the toolbar, on the transfer day 4/24, to the end.
  void convert() {
    answer_notices();
    main_->findChild<QAction*>(QStringLiteral("変換処理M2"))->trigger();
    ASSERT_TRUE(wait_until([this] { return child(QStringLiteral("変換日付入力")) != nullptr; }));
    QWidget* prompt = child(QStringLiteral("変換日付入力"));
    prompt->findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->setText(QStringLiteral("4"));
    prompt->findChild<QLineEdit*>(QStringLiteral("Text1(1)"))->setText(QStringLiteral("24"));
    click(prompt, QStringLiteral("Command1(1)"));
    ASSERT_TRUE(wait_until([this] {
      return app_.open_windows.count(WindowSlot::Conversion) == 0 &&
             app_.open_windows.count(WindowSlot::DatePrompt) == 0;
    }));
    settle();
  }

  ScopedWorkingDir dir_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
  QTimer notices_;
};

TEST_F(StatusPanelTest, FirstStartShowsTheSampleCompanyItsListItsRulesAndNoConversion) {
  seed_sample_company();
  start();
  EXPECT_EQ(text("StatusCompany").toStdString(), "サンプル商事（振込）");
  EXPECT_TRUE(text("StatusList").startsWith(QStringLiteral("支払一覧：振込データ.csv　30行　")))
      << text("StatusList").toStdString();
  EXPECT_TRUE(text("StatusList").endsWith(QStringLiteral("更新")));
  EXPECT_EQ(text("StatusRules").toStdString(), "銀行提出チェック：文字・補正・銀行一覧");
  EXPECT_EQ(text("StatusLastRun").toStdString(), "前回の変換：未変換");
  for (const char* name : {"StatusCompany", "StatusList", "StatusRules", "StatusLastRun"}) {
    EXPECT_TRUE(part(name)->isVisible()) << name;
    EXPECT_FALSE(part(name)->accessibleName().isEmpty()) << name;
  }
}

TEST_F(StatusPanelTest, AfterAConversionItShowsWhatTheLogAndTheBankFileRecord) {
  seed_sample_company();
  start();
  convert();
  const QString shown = text("StatusLastRun");
  EXPECT_TRUE(shown.startsWith(QStringLiteral("前回の変換：") +
                               QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))))
      << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("　30件　8,261,080円　エラー2件　補正6件")))
      << shown.toStdString();

  // A bank file written after the log is another's: its totals are not this run's.
  QFile bank(QStringLiteral("FURIKOMI.DAT"));
  ASSERT_TRUE(bank.open(QIODevice::ReadWrite));
  ASSERT_TRUE(bank.setFileTime(QDateTime::currentDateTime().addSecs(3600),
                               QFileDevice::FileModificationTime));
  bank.close();
  main_->menus_changed();
  settle();
  EXPECT_TRUE(text("StatusLastRun").endsWith(QStringLiteral("　エラー2件　補正6件")))
      << text("StatusLastRun").toStdString();
  EXPECT_FALSE(text("StatusLastRun").contains(QStringLiteral("8,261,080円")));
}

TEST_F(StatusPanelTest, WithoutACompanyItSaysHowToRegisterOne) {
  start();
  EXPECT_EQ(text("StatusCompany").toStdString(),
            "会社が登録されていません。ﾌｧｲﾙ → 環境設定 で登録してください。");
  for (const char* name : {"StatusList", "StatusRules", "StatusLastRun"})
    EXPECT_FALSE(part(name)->isVisible()) << name;

  // Registered in 環境設定 but not yet chosen: the next step is 切替.
  testing::write_file(QStringLiteral("東京.cfg"), QByteArray());
  main_->menus_changed();
  EXPECT_EQ(text("StatusCompany").toStdString(),
            "会社が選ばれていません。処理 → 切替 で選んでください。");
}

// Each part follows what changes it: 切替 the company and kind (and with them the
// list and the run the log holds), システム設定 the rules.
TEST_F(StatusPanelTest, SwitchingTheKindAndChangingTheRulesUpdateTheirParts) {
  seed_sample_company();
  start();
  convert();

  main_->open_company_switch();
  QWidget* switcher = child(QStringLiteral("切替"));
  ASSERT_NE(switcher, nullptr);
  click(switcher, QStringLiteral("Option1(1)"));
  click(switcher, QStringLiteral("Command1(1)"));
  settle();
  EXPECT_EQ(text("StatusCompany").toStdString(), "サンプル商事（振替）");
  EXPECT_TRUE(text("StatusList").startsWith(QStringLiteral("支払一覧：振替データ.csv　24行　")))
      << text("StatusList").toStdString();
  EXPECT_EQ(text("StatusLastRun").toStdString(),
            "前回の変換：記録なし（ログは振込の変換のものです）");

  main_->open_system_settings();
  QWidget* settings = child(QStringLiteral("システム設定"));
  ASSERT_NE(settings, nullptr);
  for (const char* check : {"CheckBankCharacters", "CheckNormalizeNames", "CheckBankCodes"})
    settings->findChild<QCheckBox*>(QString::fromUtf8(check))->setChecked(false);
  click(settings, QStringLiteral("Command1(1)"));
  settle();
  EXPECT_EQ(text("StatusRules").toStdString(), "銀行提出チェック：なし");

  QFile::remove(QStringLiteral("振替データ.csv"));
  main_->menus_changed();
  settle();
  EXPECT_EQ(text("StatusList").toStdString(), "支払一覧：振替データ.csv（見つかりません）");
}

// A "tsubakuro.ini" that cannot be read stops every conversion: the bar must not
// claim that any rule, or none, is in force.
TEST_F(StatusPanelTest, UnreadableBankRulesAreNotShownAsRulesInForce) {
  seed_sample_company();
  testing::write_file(QStringLiteral("tsubakuro.ini"),
                      QByteArrayLiteral("[bank_rules]\ncheck_codes=maybe\n"));
  answer_notices();
  start();
  EXPECT_EQ(text("StatusRules").toStdString(), "銀行提出チェック：読めません");
}

}  // namespace
}  // namespace tsubakuro
