#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include "conversion_fixture.h"
#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "core/settings/company_settings.h"
#include "core/text/cp932.h"

namespace tsubakuro::testing {
namespace {

const QString kInput = QStringLiteral("振込データ.csv");
const QString kOutput = QStringLiteral("FURIKOMI.DAT");
const QString kLog = QStringLiteral("サンプル商事.log");
const QString kCfg = QStringLiteral("サンプル商事.cfg");

const Notice kFinished{QStringLiteral("変換終了"), QStringLiteral("変換が終了しました。")};
const Notice kFinishedWithErrors{QStringLiteral("変換終了"),
                                 QStringLiteral("変換エラーがあります。")};
const Notice kCancelled{
    QStringLiteral("取消し"),
    QStringLiteral("変換をキャンセルされました。\n出力ファイルは変更されていません。")};
const Notice kInputMissing{QStringLiteral("エラー"),
                           QStringLiteral("入力ファイルが存在しません。")};

// The log's messages, without the quotes of the write notation.
QStringList log_lines(const QString& name = kLog) {
  QStringList lines = decode_cp932(read_file(name)).split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QString& line : lines) {
    if (line.startsWith(u'"') && line.endsWith(u'"')) line = line.mid(1, line.size() - 2);
  }
  return lines;
}

// The log without the date and time of its markers, which differ between two runs.
QStringList log_without_times(const QString& name) {
  QStringList lines = log_lines(name);
  for (QString& line : lines) {
    if (line.startsWith(QStringLiteral("★★"))) line = line.section(u' ', 0, 0);
  }
  return lines;
}

CompanySettings saved_company() {
  Result<LoadedCompanySettings> loaded = load_company_settings(QStringLiteral("サンプル商事"));
  return loaded ? std::move(loaded->settings) : CompanySettings();
}

void change_company(const std::function<void(CompanySettings&)>& change) {
  CompanySettings company = saved_company();
  change(company);
  ASSERT_TRUE(save_company_settings(QStringLiteral("サンプル商事"), company).ok());
}

// The sample's payment list up to its first deliberate error: 11 clean rows.
void keep_clean_rows() {
  QList<QByteArray> lines = read_file(kInput).split('\n');
  write_file(kInput, lines.mid(0, 12).join('\n') + '\n');
}

using ConversionWindows = ConversionWindowTest;

TEST_F(ConversionWindows, FinishedRunWritesWhatTheCommandLineConverterWrites) {
  keep_clean_rows();
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("5"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_EQ(answerer_.notices, QList<Notice>{kFinished});
  EXPECT_EQ(saved_company().credit.header_values[4], QStringLiteral("0405"));
  EXPECT_EQ(child(QStringLiteral("エラーログ")), nullptr);

  // The same company and date through tsubakuro-convert in a folder of its own.
  QTemporaryDir other;
  copy_sample_company(other.path());
  QFile::remove(QDir(other.path()).filePath(kInput));
  ASSERT_TRUE(QFile::copy(kInput, QDir(other.path()).filePath(kInput)));
  ASSERT_EQ(run_tsubakuro_convert(
                {QStringLiteral("--company"), kCompany, QStringLiteral("--kind"),
                 QStringLiteral("振込"), QStringLiteral("--date"), QStringLiteral("0405")},
                other.path()),
            0);
  const QByteArray output = read_file(kOutput);
  EXPECT_EQ(output.size(), 14 * 122) << "header, 11 data records, trailer, end";
  EXPECT_EQ(output, read_file(QDir(other.path()).filePath(kOutput)));
  EXPECT_EQ(read_file(kCfg), read_file(QDir(other.path()).filePath(kCfg)));
  EXPECT_EQ(log_without_times(kLog), log_without_times(QDir(other.path()).filePath(kLog)));
}

TEST_F(ConversionWindows, FieldErrorsEndWithTheMessageAndTheLogViewer) {
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("04"), QStringLiteral("25"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_EQ(answerer_.notices, QList<Notice>{kFinishedWithErrors});
  EXPECT_TRUE(wait_until([this] { return child(QStringLiteral("エラーログ")) != nullptr; }, 5000))
      << "the error log viewer opens after the message";
  const QStringList log = log_lines();
  ASSERT_GE(log.size(), 5);
  EXPECT_EQ(log.size(), 5) << "company line, start line, two field errors, end line";
  EXPECT_TRUE(log.last().startsWith(QStringLiteral("★★変換終了★★ ")));
}

// A list long enough that the run is still at work when the test steps in, on a
// busy machine too.
void lengthen_list() {
  QByteArray list = read_file(kInput);
  const QByteArray row = list.split('\n').at(1) + '\n';
  for (int i = 0; i < 200'000; ++i) list += row;
  write_file(kInput, list);
}

// Calls `act` once the run window has done a tenth of its work.
void when_a_tenth_is_done(QTimer& timer, const std::function<QWidget*()>& run_window,
                          const std::function<void(QWidget*)>& act) {
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, [&timer, run_window, act] {
    QWidget* run = run_window();
    if (run == nullptr) return;
    auto* bar = run->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    if (bar == nullptr || bar->value() < bar->maximum() / 10) return;
    timer.stop();
    act(run);
  });
  timer.start();
}

TEST_F(ConversionWindows, CancelKeepsLastMonthsBankFileAndLogsTheCancel) {
  lengthen_list();
  write_file(kOutput, "last month's file");
  QTimer presser;
  when_a_tenth_is_done(
      presser, [this] { return child(QStringLiteral("変換中")); },
      [this](QWidget* run) { click(run, QStringLiteral("Command1(0)")); });
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("25"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_EQ(answerer_.notices, QList<Notice>{kCancelled});
  EXPECT_EQ(child(QStringLiteral("エラーログ")), nullptr);
  EXPECT_EQ(read_file(kOutput), "last month's file");
  EXPECT_TRUE(log_lines().last().startsWith(QStringLiteral("★★キャンセル★★ ")));
}

// With every bank rule on, as a new folder has them, the window still works in
// slices: the bar shows the run moving on, value after value, and 中止 is heard
// before the end.
TEST_F(ConversionWindows, UnderTheBanksRulesTheBarMovesOnAndCancelIsHeard) {
  app_.system.bank_rules = BankRules::all_on();
  lengthen_list();
  write_file(kOutput, "last month's file");
  QSet<int> values;
  QTimer watcher;
  watcher.setInterval(1);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QWidget* run = child(QStringLiteral("変換中"));
    auto* bar = run ? run->findChild<QProgressBar*>(QStringLiteral("ProgressBar1")) : nullptr;
    if (bar == nullptr || bar->value() == 0) return;
    values.insert(bar->value());
    if (values.size() < 5) return;
    watcher.stop();
    click(run, QStringLiteral("Command1(0)"));
  });
  watcher.start();
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("25"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_GE(values.size(), 5);
  EXPECT_EQ(answerer_.notices, QList<Notice>{kCancelled});
  EXPECT_EQ(read_file(kOutput), "last month's file");
}

// 終了 while converting: the run stops as for 中止, and the program ends at once
// without a question or a message in between.
TEST_F(ConversionWindows, QuitDuringARunEndsTheProgramInOneGo) {
  lengthen_list();
  write_file(kOutput, "last month's file");
  bool closed = false;
  QTimer quitter;
  when_a_tenth_is_done(
      quitter, [this] { return child(QStringLiteral("変換中")); },
      [this, &closed](QWidget*) { closed = main_->close(); });
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("25"));
  ASSERT_TRUE(wait_until([&closed] { return closed; }));
  EXPECT_FALSE(main_->isVisible());
  EXPECT_TRUE(answerer_.notices.isEmpty());
  EXPECT_EQ(app_.open_windows.count(WindowSlot::Conversion), 0);
  EXPECT_EQ(read_file(kOutput), "last month's file");
  EXPECT_TRUE(log_lines().last().startsWith(QStringLiteral("★★キャンセル★★ ")));
  EXPECT_TRUE(wait_until([] { return !QFile::exists(kCompany + QStringLiteral(".lock")); }, 5000))
      << "the claim ends with the conversion";
}

// The About box is modal; the run must go on behind it, not wait for its OK.
TEST_F(ConversionWindows, TheAboutBoxOpenedDuringARunLeavesItGoing) {
  lengthen_list();
  bool finished_behind_about = false;
  QTimer about_closer;
  about_closer.setInterval(5);
  QObject::connect(&about_closer, &QTimer::timeout, [&] {
    QWidget* about = QApplication::activeModalWidget();
    if (about == nullptr || about->objectName() == QStringLiteral("確認メッセージ")) return;
    if (child(QStringLiteral("変換中")) != nullptr) return;
    finished_behind_about = true;
    about_closer.stop();
    about->close();
  });
  QTimer opener;
  when_a_tenth_is_done(
      opener, [this] { return child(QStringLiteral("変換中")); },
      [this, &about_closer](QWidget*) {
        about_closer.start();
        main_->show_about();
      });
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("25"));
  ASSERT_TRUE(wait_for_conversion_end());
  ASSERT_TRUE(wait_until([&] { return !about_closer.isActive(); }));
  EXPECT_TRUE(finished_behind_about);
  EXPECT_EQ(answerer_.notices, QList<Notice>{kFinishedWithErrors});
}

TEST_F(ConversionWindows, MissingInputIsToldOnceAndTouchesNothing) {
  QFile::remove(kInput);
  write_file(kOutput, "last month's file");
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("4"), QStringLiteral("25"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_EQ(answerer_.notices, QList<Notice>{kInputMissing});
  EXPECT_EQ(read_file(kOutput), "last month's file");
  EXPECT_FALSE(QFile::exists(kLog));
}

// Once its last window is gone the company is free: a second conversion started
// at once is not refused as one still running. Each window of the flow is watched
// as it goes (the flow hears of it first), whatever the event loop does next.
TEST_F(ConversionWindows, TheCompanyIsFreeTheMomentAConversionIsOver) {
  for (const bool input : {false, true}) {
    SCOPED_TRACE(input ? "a finished run" : "a refused input");
    if (!input) QFile::rename(kInput, QStringLiteral("elsewhere.csv"));
    QList<QPointer<QWidget>> watched;
    QMap<QString, bool> claimed_when_gone;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      for (const QString& name : {QStringLiteral("Excel変換"), QStringLiteral("変換中")}) {
        QWidget* window = child(name);
        if (window == nullptr || watched.contains(window)) continue;
        watched.append(window);
        QObject::connect(window, &QObject::destroyed, [&claimed_when_gone, name] {
          claimed_when_gone[name] = QFile::exists(kCompany + QStringLiteral(".lock"));
        });
      }
    });
    watcher.start();
    ASSERT_NE(open_date_prompt(), nullptr);
    start_conversion(QStringLiteral("4"), QStringLiteral("25"));
    ASSERT_TRUE(wait_for_conversion_end());
    watcher.stop();
    // The last window: the run's, or the preparation's that refused the input.
    const QString last = input ? QStringLiteral("変換中") : QStringLiteral("Excel変換");
    ASSERT_TRUE(claimed_when_gone.contains(last));
    EXPECT_FALSE(claimed_when_gone[last]);
    if (!input) QFile::rename(QStringLiteral("elsewhere.csv"), kInput);
  }
  EXPECT_EQ(answerer_.notices.size(), 2);
  EXPECT_EQ(answerer_.notices.first(), kInputMissing);
}

TEST_F(ConversionWindows, KindNotEnabledCannotStart) {
  change_company([](CompanySettings& company) { company.credit.enabled = false; });
  const QByteArray cfg = read_file(kCfg);
  QWidget* prompt = open_date_prompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(wait_until([this] { return !answerer_.notices.isEmpty(); }, 5000));
  const Notice not_enabled{QStringLiteral("エラー"),
                           QStringLiteral("環境設定にて、使用するにチェックが入っていません。")};
  EXPECT_EQ(answerer_.notices, QList<Notice>{not_enabled});
  EXPECT_FALSE(button(prompt, QStringLiteral("Command1(1)"))->isEnabled());
  EXPECT_EQ(prompt->findChild<QLabel*>(QStringLiteral("Label1(2)"))->text(),
            QStringLiteral("振込"));
  click(prompt, QStringLiteral("Command1(0)"));
  EXPECT_TRUE(
      wait_until([this] { return child(QStringLiteral("変換日付入力")) == nullptr; }, 5000));
  EXPECT_EQ(app_.open_windows.count(WindowSlot::DatePrompt), 0);
  EXPECT_EQ(read_file(kCfg), cfg);
  EXPECT_FALSE(QFile::exists(kOutput));
}

TEST_F(ConversionWindows, MissingCompanyFileCannotStartWithAnotherCompanysSettings) {
  // What another company left in memory must not be converted under this name.
  app_.company.credit.enabled = true;
  app_.company.credit.input_file = kInput;
  QFile::remove(kCfg);
  QWidget* prompt = open_date_prompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(wait_until([this] { return !answerer_.notices.isEmpty(); }, 5000));
  EXPECT_EQ(answerer_.notices.size(), 1);
  EXPECT_EQ(answerer_.notices[0].message, QStringLiteral("会社別CFGファイルが存在しません"));
  EXPECT_FALSE(button(prompt, QStringLiteral("Command1(1)"))->isEnabled());
}

TEST_F(ConversionWindows, PromptShowsTheCompanyAndTheStoredDate) {
  change_company([](CompanySettings& company) {
    company.debit.header_values[4] = QStringLiteral("0415");
    company.debit.header_values[3] = QStringLiteral("ｻﾝﾌﾟﾙ   ");
  });
  app_.system.transfer_kind = TransferKind::Debit;
  QWidget* prompt = open_date_prompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(prompt->windowTitle(), QStringLiteral("変換処理"));
  EXPECT_EQ(prompt->findChild<QLabel*>(QStringLiteral("Label1(0)"))->text(), kCompany);
  EXPECT_EQ(prompt->findChild<QLabel*>(QStringLiteral("Label1(1)"))->text(),
            QStringLiteral("ｻﾝﾌﾟﾙ"));
  EXPECT_EQ(prompt->findChild<QLabel*>(QStringLiteral("Label1(2)"))->text(),
            QStringLiteral("振替"));
  EXPECT_EQ(prompt->findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->text(),
            QStringLiteral("04"));
  EXPECT_EQ(prompt->findChild<QLineEdit*>(QStringLiteral("Text1(1)"))->text(),
            QStringLiteral("15"));
  EXPECT_EQ(prompt->findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->maxLength(), 2);
  EXPECT_TRUE(button(prompt, QStringLiteral("Command1(1)"))->isEnabled());
  EXPECT_EQ(app_.open_windows.count(WindowSlot::DatePrompt), 1);
  EXPECT_TRUE(answerer_.notices.isEmpty());
}

TEST_F(ConversionWindows, ImpossibleDateIsStoredAndLoggedByTheHeaderCheck) {
  keep_clean_rows();
  ASSERT_NE(open_date_prompt(), nullptr);
  start_conversion(QStringLiteral("13"), QStringLiteral("40"));
  ASSERT_TRUE(wait_for_conversion_end());
  EXPECT_EQ(saved_company().credit.header_values[4], QStringLiteral("1340"));
  EXPECT_EQ(answerer_.notices, QList<Notice>{kFinishedWithErrors});
  const QString date_error =
      compose_field_error(app_.system.field_names, TransferKind::Credit, false, 1, 6, 0);
  EXPECT_EQ(log_lines().mid(2, 1), QStringList{date_error});
  EXPECT_EQ(read_file(kOutput).mid(54, 4), "1340");
}

// Runs the command-line converter ends with status 1 end here with the error
// message, never with 「変換が終了しました。」.
class WrongMoneyInTheWindows : public ConversionWindowTest {
 protected:
  void SetUp() override {
    ConversionWindowTest::SetUp();
    const QByteArray list = read_file(kInput);
    heading_ = list.left(list.indexOf('\n') + 1);
    first_row_ =
        list.mid(heading_.size(), list.indexOf('\n', heading_.size()) + 1 - heading_.size());
  }

  void expect_error_ending(const QByteArray& list, const char* month, const char* day,
                           const QString& logged) {
    write_file(kInput, list);
    ASSERT_NE(open_date_prompt(), nullptr);
    start_conversion(QString::fromLatin1(month), QString::fromLatin1(day));
    ASSERT_TRUE(wait_for_conversion_end());
    EXPECT_EQ(answerer_.notices, QList<Notice>{kFinishedWithErrors});
    EXPECT_TRUE(log_lines().contains(logged)) << log_lines().join(u'\n').toStdString();
  }

  QByteArray heading_;
  QByteArray first_row_;
};

TEST_F(WrongMoneyInTheWindows, NoDataRow) {
  expect_error_ending(heading_.trimmed(), "4", "25",
                      QStringLiteral("ボディ：変換するデータがありません。"));
}

TEST_F(WrongMoneyInTheWindows, DayTheMonthLacks) {
  expect_error_ending(
      heading_ + first_row_, "2", "30",
      compose_field_error(app_.system.field_names, TransferKind::Credit, false, 1, 6, 0));
}

TEST_F(WrongMoneyInTheWindows, SeparatorInTheAmount) {
  expect_error_ending(heading_ + first_row_ + QByteArray(first_row_).replace("285000", "285,000"),
                      "4", "25",
                      QStringLiteral("ボディ：000002件目の列数（11）が見出し（10）と違います。"));
}

TEST_F(ConversionWindows, FailedSaveIsToldAndStartsNoConversion) {
  keep_clean_rows();
  ASSERT_NE(open_date_prompt(), nullptr);
  // The settings file cannot hold a double quote, so this date cannot be saved.
  start_conversion(QStringLiteral("\""), QStringLiteral("1"));
  ASSERT_TRUE(wait_until([this] { return !answerer_.notices.isEmpty(); }, 5000));
  EXPECT_EQ(answerer_.notices.size(), 1);
  EXPECT_EQ(answerer_.notices[0].title, QStringLiteral("エラー"));
  EXPECT_NE(child(QStringLiteral("変換日付入力")), nullptr) << "the prompt stays open";
  EXPECT_EQ(child(QStringLiteral("Excel変換")), nullptr);
  EXPECT_EQ(child(QStringLiteral("変換中")), nullptr);
  EXPECT_EQ(saved_company().credit.header_values[4], QStringLiteral("0425"));
  EXPECT_FALSE(QFile::exists(kOutput));
}

}  // namespace
}  // namespace tsubakuro::testing
