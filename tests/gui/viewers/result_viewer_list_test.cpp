#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/viewers/result_viewer.h"
#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// The result viewer's 「一覧表(PDF)...」 and 「印刷...」, driven as a user would.
class ResultViewerListTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::set_up_company(app_); }
  void TearDown() override {
    if (!viewer_) return;
    viewer_->close();
    delete viewer_.data();
  }

  void open_viewer() {
    viewer_ = new ResultViewer(app_);
    viewer_->show();
    ASSERT_TRUE(testing::run_events_until([this] { return !viewer_->loading(); }, 10000));
  }
  QPushButton* button(const char* name) const {
    return viewer_->findChild<QPushButton*>(QString::fromUtf8(name));
  }

  // Answers the next modal dialog with `answer` once it shows, noting its title.
  void when_dialog_shows(std::function<void(QDialog*)> answer) {
    auto* poll = new QTimer(viewer_);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [this, poll, answer] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      poll->stop();
      poll->deleteLater();
      dialog_titles_.append(dialog->windowTitle());
      answer(dialog);
    });
    poll->start();
  }

  testing::ScopedWorkingDir dir_;
  AppState app_;
  QPointer<ResultViewer> viewer_;
  QStringList dialog_titles_;
  QString notice_;
  QString selected_;
};

TEST_F(ResultViewerListTest, SavesTheListOfTheOutputFileWhereTheFileDialogSays) {
  testing::write_file("zengin.dat", testing::credit_bank_file(3));
  open_viewer();
  QPushButton* pdf = button("一覧表PDF");
  ASSERT_NE(pdf, nullptr);
  EXPECT_EQ(pdf->text(), QStringLiteral("一覧表(PDF)..."));
  EXPECT_FALSE(pdf->accessibleName().isEmpty());
  EXPECT_TRUE(pdf->isEnabled());
  EXPECT_TRUE(pdf->isVisible());

  const QString chosen = QDir::current().filePath(QStringLiteral("承認用.pdf"));
  when_dialog_shows([&](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    // The dialog proposes a name beside the output file, once it has read the folder
    // (which it does in the background); then the user types another.
    auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(testing::run_events_until(
        [name] { return name->text() == QStringLiteral("zengin_一覧表.pdf"); }, 5000))
        << name->text().toStdString();
    QTest::qWait(50);
    name->setText(chosen);
    // The fixture's trailer claims no amount: the user is told.
    when_dialog_shows([this](QDialog* notice) {
      const auto* label = notice->findChild<QLabel*>(QStringLiteral("Label1"));
      notice_ = label ? label->text() : QString();
      notice->findChild<QPushButton*>(QStringLiteral("Command1(0)"))->click();
    });
    dialog->accept();
    selected_ = files->selectedFiles().join(u',');
  });
  pdf->click();
  EXPECT_EQ(dialog_titles_,
            (QStringList{QStringLiteral("一覧表の保存"), QStringLiteral("エラー")}));
  EXPECT_TRUE(notice_.contains(QStringLiteral("一致しません"))) << notice_.toStdString();
  ASSERT_TRUE(QFile::exists(chosen)) << selected_.toStdString();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), chosen, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(60000));
  const QString shown = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(shown.contains(QStringLiteral("総合振込一覧表")));
  for (const char* name : {"ｽｽﾞｷ ﾊﾅｺ", "ﾀﾅｶ ｲﾁﾛｳ", "ｻﾄｳ ｹﾝｼﾞ"})
    EXPECT_TRUE(shown.contains(QString::fromUtf8(name))) << name;
  EXPECT_TRUE(shown.contains(QStringLiteral("一致しません")));
}

TEST_F(ResultViewerListTest, CancellingTheDialogsWritesAndPrintsNothing) {
  testing::write_file("zengin.dat", testing::credit_bank_file(2));
  open_viewer();
  when_dialog_shows([](QDialog* dialog) { dialog->reject(); });
  button("一覧表PDF")->click();
  when_dialog_shows([](QDialog* dialog) { dialog->reject(); });
  button("一覧表印刷")->click();
  EXPECT_EQ(dialog_titles_,
            (QStringList{QStringLiteral("一覧表の保存"), QStringLiteral("一覧表の印刷")}));
  EXPECT_EQ(button("一覧表印刷")->text(), QStringLiteral("印刷..."));
  EXPECT_TRUE(QDir::current().entryList({QStringLiteral("*.pdf")}).isEmpty());
}

TEST_F(ResultViewerListTest, WithoutAnOutputFileThereIsNoListToMake) {
  testing::NoticeCatcher notices;
  open_viewer();
  EXPECT_FALSE(button("一覧表PDF")->isEnabled());
  EXPECT_FALSE(button("一覧表印刷")->isEnabled());
}

TEST_F(ResultViewerListTest, AFileThatIsNoBankFileIsRefusedBeforeAnyDialog) {
  testing::write_file("zengin.dat", QByteArray(240, 'x'));
  testing::NoticeCatcher notices;
  open_viewer();
  ASSERT_TRUE(button("一覧表PDF")->isEnabled());
  button("一覧表PDF")->click();
  EXPECT_TRUE(dialog_titles_.isEmpty());
  ASSERT_FALSE(notices.notices().isEmpty());
  EXPECT_TRUE(notices.notices().last().contains(QStringLiteral("銀行ファイルではありません")));
}

}  // namespace
}  // namespace tsubakuro
