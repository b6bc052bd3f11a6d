#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "core/settings/company_settings.h"
#include "core/text/cp932.h"
#include "debit_records.h"
#include "gui/viewers/result_data_model.h"
#include "gui/viewers/result_viewer.h"
#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::DebitLine;
using testing::grid_cell;
using testing::grid_columns;

// Takes the name the save dialog proposes, and answers every notice after it,
// noting each notice. (A name typed in by selectFile can lose a race with the
// dialog's own loading of its folder, which puts the proposed name back.)
class DialogAnswers {
 public:
  DialogAnswers() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (qobject_cast<QFileDialog*>(dialog)) {
        ++save_dialogs_;
        dialog->accept();  // QFileDialog::accept, through the public QDialog one
        return;
      }
      const auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
      notices_.append(label ? label->text() : dialog->windowTitle());
      dialog->done(0);
    });
    timer_.start();
  }
  int save_dialogs() const { return save_dialogs_; }
  const QStringList& notices() const { return notices_; }

 private:
  QTimer timer_;
  int save_dialogs_ = 0;
  QStringList notices_;
};

class ResultViewerDebitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::set_up_company(app_, TransferKind::Debit);
    // 預金者名 and 引落金額 in columns 1 and 2, under a heading.
    app_.company.debit.body_columns[7] = QStringLiteral("1");
    app_.company.debit.body_columns[8] = QStringLiteral("2");
    app_.company.debit.skip_header_rows = QStringLiteral("1");
    ASSERT_TRUE(save_company_settings(app_.system.current_company, app_.company).ok());
  }
  void TearDown() override {
    if (!viewer_) return;
    viewer_->close();
    delete viewer_.data();
  }

  void open_viewer(const QByteArray& file) {
    testing::write_file(QStringLiteral("zengin.dat"), file);
    viewer_ = new ResultViewer(app_);
    viewer_->show();
    ASSERT_TRUE(testing::run_events_until([this] { return !viewer_->loading(); }, 10000));
  }
  QTableView* data_grid() const {
    return viewer_->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(1)"));
  }
  QVariant tint(int row, int column) const {
    return data_grid()->model()->index(row, column).data(Qt::BackgroundRole);
  }
  QString label(const char* name) const {
    return viewer_->findChild<QLabel*>(QString::fromUtf8(name))->text();
  }
  QPushButton* export_button() const {
    return viewer_->findChild<QPushButton*>(QStringLiteral("振替不能を書き出す"));
  }

  testing::ScopedWorkingDir dir_;
  AppState app_;
  QPointer<ResultViewer> viewer_;
};

TEST_F(ResultViewerDebitTest, ReturnedFileShowsEachResultAndExportsTheFailures) {
  open_viewer(testing::debit_bank_file({{QStringLiteral("ｱｵｷ ﾅﾂﾐ"), 1000, '0'},
                                        {QStringLiteral("ｲｼｶﾜ ﾄｵﾙ"), 2000, '1'},
                                        {QStringLiteral("ｳｴﾀﾞ ｹﾝ"), 3000, '0'},
                                        {QStringLiteral("ｴﾝﾄﾞｳ ﾀｹｼ"), 4000, '4'}}));
  QTableView* data = data_grid();
  ASSERT_EQ(grid_columns(data), 17);
  EXPECT_EQ(grid_cell(data, 0, 16), QStringLiteral("振替結果"));
  EXPECT_EQ(grid_cell(data, 1, 16), QStringLiteral("振替済"));
  EXPECT_EQ(grid_cell(data, 2, 16), QStringLiteral("資金不足"));
  EXPECT_EQ(grid_cell(data, 4, 16), QStringLiteral("預金口座振替依頼書なし"));
  EXPECT_EQ(grid_cell(data, 2, 14), QStringLiteral("1"))
      << "the code itself stays as the file has it";
  for (int column : {0, 8, 15}) {
    EXPECT_FALSE(tint(0, column).isValid()) << column;
    EXPECT_EQ(tint(1, column).value<QColor>(), not_debited_tint()) << column;
    EXPECT_EQ(tint(3, column).value<QColor>(), not_debited_tint()) << column;
  }
  EXPECT_GT(data->columnWidth(15), data->columnWidth(14)) << "room for the longest meaning";

  EXPECT_EQ(label("振替結果"),
            QStringLiteral("振替済 2件 ¥4,000、振替不能 2件 ¥6,000（資金不足 1件 ¥2,000、"
                           "預金口座振替依頼書なし 1件 ¥4,000）"));
  EXPECT_TRUE(label("トレーラとの違い").isEmpty());

  QPushButton* button = export_button();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("振替不能を書き出す..."));
  EXPECT_EQ(button->accessibleName(), QStringLiteral("振替不能を書き出す..."));
  EXPECT_TRUE(button->isVisible());
  ASSERT_TRUE(button->isEnabled());

  // Beside the bank file.
  const QString target = QDir::current().absoluteFilePath(QStringLiteral("振替不能.csv"));
  DialogAnswers answers;
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(answers.save_dialogs(), 1);
  EXPECT_EQ(answers.notices(),
            QStringList{QStringLiteral("振替不能 2件を「%1」に書き出しました。").arg(target)});
  EXPECT_EQ(decode_cp932(testing::read_file(target)),
            QStringLiteral("預金者名,引落金額\r\nｲｼｶﾜ ﾄｵﾙ,2000\r\nｴﾝﾄﾞｳ ﾀｹｼ,4000\r\n"));
}

TEST_F(ResultViewerDebitTest, FileAsConvertedHasNoResultsToShowOrExport) {
  open_viewer(testing::debit_bank_file(
      {{QStringLiteral("ｱｵｷ ﾅﾂﾐ"), 1000, ' '}, {QStringLiteral("ｲｼｶﾜ ﾄｵﾙ"), 2000, ' '}}, 120,
      QByteArray()));
  EXPECT_EQ(grid_cell(data_grid(), 0, 16), QStringLiteral("振替結果"));
  EXPECT_EQ(grid_cell(data_grid(), 1, 16), QString());
  EXPECT_FALSE(tint(1, 8).isValid());
  EXPECT_TRUE(label("振替結果").contains(QStringLiteral("振替結果が入っていません")));
  EXPECT_FALSE(export_button()->isEnabled());
}

TEST_F(ResultViewerDebitTest, TrailerThatDisagreesIsSaid) {
  open_viewer(testing::debit_bank_file(
      {{QStringLiteral("ｱｵｷ ﾅﾂﾐ"), 1000, '0'}, {QStringLiteral("ｲｼｶﾜ ﾄｵﾙ"), 2000, '2'}}, 120,
      testing::debit_results_figures(2, 3000, 0, 0)));
  EXPECT_TRUE(label("トレーラとの違い")
                  .contains(QStringLiteral(
                      "トレーラの振替不能件数は 0件ですが、データレコードでは 1件です。")))
      << label("トレーラとの違い").toStdString();
  EXPECT_TRUE(export_button()->isEnabled());
}

TEST_F(ResultViewerDebitTest, ReturnedFileIsReadAtItsOwnRecordLengthWhateverTheSetting) {
  // Banks return files with their own line ends: read at the setting's length,
  // every record after the first would be shifted and none would show a result.
  const QList<DebitLine> lines = {{QStringLiteral("ｱｵｷ ﾅﾂﾐ"), 1000, '0'},
                                  {QStringLiteral("ｲｼｶﾜ ﾄｵﾙ"), 2000, '1'}};
  const struct {
    int file_length;
    int setting;
  } cases[] = {{122, 120}, {120, 122}, {256, 130}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.file_length << " bytes, setting " << c.setting);
    if (viewer_) {
      viewer_->close();
      delete viewer_.data();
    }
    app_.system.options.record_length = c.setting;
    open_viewer(testing::debit_bank_file(lines, c.file_length));
    ASSERT_EQ(testing::grid_rows(data_grid()), 3);
    EXPECT_EQ(grid_cell(data_grid(), 2, 9), QStringLiteral("ｲｼｶﾜ ﾄｵﾙ").leftJustified(30));
    EXPECT_EQ(grid_cell(data_grid(), 2, 16), QStringLiteral("資金不足"));
    EXPECT_EQ(label("振替結果"),
              QStringLiteral("振替済 1件 ¥1,000、振替不能 1件 ¥2,000（資金不足 1件 ¥2,000）"));
    EXPECT_TRUE(label("トレーラとの違い").isEmpty()) << label("トレーラとの違い").toStdString();
    EXPECT_TRUE(export_button()->isEnabled());
  }
}

TEST_F(ResultViewerDebitTest, FileThatFitsNoRecordLengthIsReadAtTheSetting) {
  // Without an end record the file's bytes tell nothing, and the setting's 122
  // still finds the data records of a file written at 122.
  QByteArray file = testing::debit_bank_file(
      {{QStringLiteral("ｱｵｷ ﾅﾂﾐ"), 1000, '0'}, {QStringLiteral("ｲｼｶﾜ ﾄｵﾙ"), 2000, '1'}}, 122);
  file[4 * 122] = ' ';
  app_.system.options.record_length = 122;
  open_viewer(file);
  EXPECT_EQ(grid_cell(data_grid(), 2, 16), QStringLiteral("資金不足"));
  EXPECT_TRUE(label("振替結果").startsWith(QStringLiteral("振替済 1件 ¥1,000")))
      << label("振替結果").toStdString();
}

TEST_F(ResultViewerDebitTest, CreditFileHasNoResultsRow) {
  app_.system.transfer_kind = TransferKind::Credit;
  open_viewer(testing::credit_bank_file(2));
  EXPECT_EQ(grid_columns(data_grid()), 16);
  EXPECT_FALSE(export_button()->isVisible());
}

}  // namespace
}  // namespace tsubakuro
