#include "gui/viewers/result_viewer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include "core/settings/company_settings.h"
#include "gui/shell/twips.h"
#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::grid_cell;
using testing::grid_columns;
using testing::grid_rows;

class ResultViewerTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::set_up_company(app_); }

  // Opens the viewer as the user does and waits for the data records to load.
  ResultViewer* open_viewer() {
    viewer_ = new ResultViewer(app_);
    viewer_->show();
    EXPECT_TRUE(testing::run_events_until([this] { return !viewer_->loading(); }, 10000));
    return viewer_;
  }
  void TearDown() override { close_viewer(); }
  void close_viewer() {
    if (!viewer_) return;
    viewer_->close();
    delete viewer_.data();
  }

  QTableView* grid(int index) const {
    return viewer_->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(%1)").arg(index));
  }
  QStringList data_row(int row) const {
    QStringList cells;
    for (int c = 0; c < grid_columns(grid(1)); ++c) cells.append(grid_cell(grid(1), row, c));
    return cells;
  }

  testing::ScopedWorkingDir dir_;
  AppState app_;
  testing::NoticeCatcher notices_;
  QPointer<ResultViewer> viewer_;
};

TEST_F(ResultViewerTest, ShowsEveryRecordOfAWellFormedFile) {
  testing::write_file("zengin.dat", testing::credit_bank_file(3));
  open_viewer();
  EXPECT_EQ(viewer_->windowTitle(), QStringLiteral("変換結果　東京(振込)"));
  EXPECT_EQ(viewer_->record_count(), 6);
  EXPECT_TRUE(notices_.notices().isEmpty());

  QTableView* header = grid(0);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(grid_rows(header), 2);
  EXPECT_EQ(grid_columns(header), 14);
  EXPECT_EQ(grid_cell(header, 0, 0), QStringLiteral("ヘッダ"));
  EXPECT_EQ(grid_cell(header, 0, 1), QStringLiteral("1:データ区分"));
  EXPECT_EQ(grid_cell(header, 0, 5), QStringLiteral("5:会社名"));
  EXPECT_EQ(grid_cell(header, 0, 6), QStringLiteral("6:振込指定日"));
  EXPECT_EQ(grid_cell(header, 1, 1), QStringLiteral("1"));
  EXPECT_EQ(grid_cell(header, 1, 5), QStringLiteral("ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ").leftJustified(40));
  EXPECT_EQ(grid_cell(header, 1, 13), QString(17, u' '));

  QTableView* data = grid(1);
  EXPECT_EQ(grid_cell(data, 0, 0), QStringLiteral("ボディ"));
  EXPECT_EQ(grid_rows(data), 4);
  EXPECT_EQ(grid_columns(data), 16);
  EXPECT_EQ(grid_cell(data, 0, 9), QStringLiteral("9:預金者名"));
  EXPECT_EQ(grid_cell(data, 0, 15), QStringLiteral("15:未使用"));
  EXPECT_EQ(data_row(1).mid(0, 3), QStringList({"1", "2", "0009"}));
  EXPECT_EQ(grid_cell(data, 2, 9), QStringLiteral("ﾀﾅｶ ｲﾁﾛｳ").leftJustified(30));
  EXPECT_EQ(grid_cell(data, 3, 0), QStringLiteral("3"));
  EXPECT_EQ(grid_cell(data, 3, 10), QStringLiteral("2500000003"));
  EXPECT_EQ(grid_cell(data, 3, 12), QStringLiteral("9000000003"));
  EXPECT_EQ(grid_cell(data, 3, 13), QStringLiteral("1100000003"));

  QTableView* trailer = grid(2);
  EXPECT_EQ(grid_cell(trailer, 0, 0), QStringLiteral("トレーラ"));
  EXPECT_EQ(grid_columns(trailer), 5);
  EXPECT_EQ(grid_cell(trailer, 0, 2), QStringLiteral("2:合計件数"));
  EXPECT_EQ(grid_cell(trailer, 1, 2), QStringLiteral("000003"));
  EXPECT_EQ(grid_cell(trailer, 1, 4), QString(101, u' '));

  QTableView* end = grid(3);
  EXPECT_EQ(grid_cell(end, 0, 0), QStringLiteral("エンド"));
  EXPECT_EQ(grid_columns(end), 2);
  EXPECT_EQ(grid_cell(end, 0, 1), QStringLiteral("1:データ区分"));
  EXPECT_EQ(grid_cell(end, 1, 1), QStringLiteral("9"));
}

// A column takes 90 twips a character and one more, but never less than its
// heading needs in the grid's font: 2:種別コード in 18 px was unreadable.
TEST_F(ResultViewerTest, GridsUseTheWorkingFieldNamesAndAreWideEnoughForThem) {
  app_.system.field_names.of(TransferKind::Credit, RecordKind::Data)[8] = QStringLiteral("受取人");
  app_.system.field_names.of(TransferKind::Credit, RecordKind::Data)[9] =
      QStringLiteral("振込金額（円）");
  testing::write_file("zengin.dat", testing::credit_bank_file(1));
  open_viewer();
  EXPECT_EQ(grid_cell(grid(1), 0, 9), QStringLiteral("9:受取人"));
  const double dpi = logical_dpi(viewer_);
  const auto heading_room = [](QTableView* view, int column) {
    const QString heading = view->model()->headerData(column, Qt::Horizontal).toString();
    return QFontMetrics(view->horizontalHeader()->font()).horizontalAdvance(heading);
  };
  EXPECT_GT(grid(1)->columnWidth(0), twips_to_pixels(180, dpi));  // データ区分, one character
  EXPECT_GT(grid(1)->columnWidth(0), heading_room(grid(1), 0));
  EXPECT_GT(grid(0)->columnWidth(1), heading_room(grid(0), 1));    // 2:種別コード
  EXPECT_GT(grid(1)->columnWidth(9), heading_room(grid(1), 9));    // 10:振込金額（円）
  EXPECT_EQ(grid(2)->columnWidth(3), twips_to_pixels(9180, dpi));  // 未使用, 101
  EXPECT_EQ(grid(1)->model()->headerData(9, Qt::Horizontal, Qt::ToolTipRole).toString(),
            QStringLiteral("10:振込金額（円）"));
  EXPECT_EQ(grid(0)->font().pointSize(), 9);
  EXPECT_TRUE(grid(0)->font().fixedPitch());
}

TEST_F(ResultViewerTest, FileWrittenAt122AndViewedAt120ShowsOnlyTheHeaderInPlace) {
  // A file whose own bytes name no record length (its end record damaged here)
  // is read at the setting's 120. Each later record is read 2, 4, 6 … bytes too
  // early, so none begins with its データ区分 and no data row is shown.
  QByteArray file = testing::credit_bank_file(3, 122, true);
  file[5 * 122] = ' ';
  testing::write_file("zengin.dat", file);
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 6);  // 732 bytes / 120 = 6.1
  EXPECT_EQ(grid_cell(grid(0), 1, 1), QStringLiteral("1"));
  EXPECT_EQ(grid_cell(grid(0), 1, 4), QStringLiteral("1234567890"));
  EXPECT_EQ(grid_rows(grid(1)), 1);
  EXPECT_EQ(grid_cell(grid(2), 1, 1), QString());
  EXPECT_EQ(grid_cell(grid(3), 1, 1), QString());
}

TEST_F(ResultViewerTest, ShiftedRecordThatBeginsWith2IsShownCutWhereItFalls) {
  // Written at 120 and viewed at 122: record n is read 2 × (n − 1) bytes late.
  // Record 2 starts at byte 3 of the first data record, made "2" here; record 3
  // at a "9"; record 4 at the trailer's count, "2". The rows between stay blank.
  // Some padding at the end keeps record 5 inside the file, since a last
  // record read past the end would stop the load before it starts.
  QByteArray data = testing::credit_data_record(1);
  data.replace(2, 1, "2");
  const QByteArray file = testing::credit_header_record() + data + testing::credit_data_record(2) +
                          testing::trailer_record(2, 0) + testing::end_record() +
                          QByteArray(60, ' ');
  testing::write_file("zengin.dat", file);
  app_.system.options.record_length = 122;
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 5);  // 660 / 122 = 5.4
  ASSERT_EQ(grid_rows(grid(1)), 4);
  EXPECT_EQ(data_row(1).mid(0, 3), QStringList({"1", "2", "09ﾐﾂ"}));
  EXPECT_EQ(data_row(2), QStringList(16));
  EXPECT_EQ(data_row(3).mid(0, 3), QStringList({"3", "2", "0000"}));
}

TEST_F(ResultViewerTest, CrLfAt120EndsTheLastColumnOfEveryGrid) {
  testing::write_file("zengin.dat", testing::credit_bank_file(2, 120, true));
  open_viewer();
  EXPECT_EQ(grid_cell(grid(0), 1, 13), QString(15, u' ') + "\r\n");
  EXPECT_EQ(grid_cell(grid(1), 2, 15), QString(6, u' ') + "\r\n");
  EXPECT_EQ(grid_cell(grid(2), 1, 4), QString(99, u' ') + "\r\n");
  EXPECT_EQ(grid_cell(grid(3), 1, 1), QStringLiteral("9"));
}

TEST_F(ResultViewerTest, LengthNotAMultipleOfTheRecordRoundsHalvesToEven) {
  // 2.5 records count as 2: the header and the trailer are shown, the end
  // record, cut in half, is not.
  const QByteArray three =
      testing::credit_header_record() + testing::trailer_record(0, 0) + testing::end_record();
  testing::write_file("zengin.dat", three.left(300));
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 2);
  EXPECT_EQ(grid_cell(grid(0), 1, 1), QStringLiteral("1"));
  EXPECT_EQ(grid_cell(grid(2), 1, 1), QStringLiteral("8"));
  EXPECT_EQ(grid_cell(grid(3), 1, 1), QString());
  close_viewer();

  // 3.5 records count as 4: records 3 (the end) and 4 (half there) are read.
  testing::write_file("zengin.dat", three + QByteArray(60, ' '));
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 4);
  EXPECT_EQ(grid_cell(grid(3), 1, 1), QStringLiteral("9"));
}

TEST_F(ResultViewerTest, IncompleteLastRecordStopsTheLoadBeforeItsFirstBatch) {
  // 1050 bytes at 120 round to 9 records; reading record 9 reaches past the end,
  // and no data record is shown although records 2 to 6 are data.
  testing::write_file("zengin.dat", testing::credit_bank_file(5) + QByteArray(90, ' '));
  ASSERT_EQ(testing::read_file("zengin.dat").size(), 1050);
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 9);
  EXPECT_EQ(grid_rows(grid(1)), 1);
  EXPECT_EQ(grid_cell(grid(0), 1, 1), QStringLiteral("1"));
}

TEST_F(ResultViewerTest, EmptyFileShowsNothingAndSaysNothing) {
  testing::write_file("zengin.dat", {});
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 0);
  EXPECT_TRUE(notices_.notices().isEmpty());
  EXPECT_EQ(grid_cell(grid(0), 1, 1), QString());
  EXPECT_EQ(grid_rows(grid(1)), 1);
  EXPECT_EQ(grid_cell(grid(0), 0, 1), QStringLiteral("1:データ区分"));
}

TEST_F(ResultViewerTest, MissingFileIsReported) {
  open_viewer();
  EXPECT_EQ(notices_.notices(), QStringList({"エラー/出力ファイルが存在しません"}));
  EXPECT_EQ(viewer_->record_count(), 0);
  EXPECT_EQ(grid_cell(grid(2), 0, 0), QStringLiteral("トレーラ"));
  EXPECT_EQ(grid_cell(grid(2), 1, 1), QString());
}

TEST_F(ResultViewerTest, OutputPathThatCannotBeReadIsASettingsProblem) {
  QDir().mkdir("zengin.dat");
  open_viewer();
  EXPECT_EQ(notices_.notices(), QStringList({"エラー/環境設定に問題があります。確認して下さい。"}));
  EXPECT_EQ(viewer_->record_count(), 0);
}

TEST_F(ResultViewerTest, TwentyDigitModeJoinsTheTwoNumbers) {
  app_.system.options.credit_20digit = true;
  testing::write_file("zengin.dat", testing::credit_bank_file(2));
  open_viewer();
  QTableView* data = grid(1);
  EXPECT_EQ(grid_columns(data), 15);
  EXPECT_EQ(grid_cell(data, 0, 12), QStringLiteral("12:振込取引先番号"));
  EXPECT_EQ(grid_cell(data, 0, 13), QStringLiteral("13:振込指定区分"));
  EXPECT_EQ(grid_cell(data, 0, 14), QStringLiteral("14:未使用"));
  EXPECT_EQ(grid_cell(data, 2, 12), QStringLiteral("90000000021100000002"));
  EXPECT_EQ(grid_cell(data, 2, 13), QStringLiteral("7"));
  EXPECT_EQ(data->columnWidth(11), twips_to_pixels(1890, logical_dpi(viewer_)));
}

TEST_F(ResultViewerTest, CompanyOptionsDecideWhenTheCompanyHasItsOwn) {
  // The company's own copy says 20 digits and 122 bytes; the system's says neither.
  app_.system.company_specific = true;
  app_.company.options.credit_20digit = true;
  app_.company.options.record_length = 122;
  ASSERT_TRUE(save_company_settings(app_.system.current_company, app_.company).ok());
  testing::write_file("zengin.dat", testing::credit_bank_file(2, 122, true));
  open_viewer();
  EXPECT_EQ(grid_columns(grid(1)), 15);
  EXPECT_EQ(grid_rows(grid(1)), 3);
  EXPECT_EQ(grid_cell(grid(1), 2, 14), QString(8, u' '));
}

TEST_F(ResultViewerTest, DebitTrailerShowsItsFiveFields) {
  testing::set_up_company(app_, TransferKind::Debit);
  testing::write_file("zengin.dat", testing::physical_record(testing::credit_header_record(), 120) +
                                        testing::trailer_record(0, 0, true) +
                                        testing::end_record());
  open_viewer();
  EXPECT_EQ(viewer_->windowTitle(), QStringLiteral("変換結果　東京(振替)"));
  QTableView* trailer = grid(2);
  EXPECT_EQ(grid_columns(trailer), 9);
  EXPECT_EQ(grid_cell(trailer, 0, 4), QStringLiteral("4:振替返済済件数"));
  EXPECT_EQ(grid_cell(trailer, 0, 8), QStringLiteral("8:未使用"));
  EXPECT_EQ(grid_cell(trailer, 1, 4), QStringLiteral("000000"));
  EXPECT_EQ(grid_cell(trailer, 1, 5), QStringLiteral("000000000000"));
  EXPECT_EQ(grid_cell(trailer, 1, 7), QStringLiteral("000000000000"));
  EXPECT_EQ(grid_cell(trailer, 1, 8), QString(65, u' '));
  EXPECT_EQ(trailer->columnWidth(7), twips_to_pixels(5940, logical_dpi(viewer_)));
  EXPECT_EQ(grid_cell(grid(1), 0, 2), QStringLiteral("2:引落銀行番号"));
}

TEST_F(ResultViewerTest, CaptionWithoutCompany) {
  app_.system.current_company.clear();
  open_viewer();
  EXPECT_EQ(viewer_->windowTitle(), QStringLiteral("変換結果"));
}

TEST_F(ResultViewerTest, ShowsMoreThan32767DataRecords) {
  testing::write_file("zengin.dat", testing::credit_bank_file(40000));
  open_viewer();
  EXPECT_EQ(viewer_->record_count(), 40003);
  EXPECT_EQ(grid_rows(grid(1)), 40001);
  EXPECT_EQ(grid_cell(grid(1), 40000, 0), QStringLiteral("40000"));
  EXPECT_EQ(grid_cell(grid(1), 40000, 8), QStringLiteral("1040000"));
  EXPECT_EQ(grid_cell(grid(2), 1, 2), QStringLiteral("040000"));
}

TEST_F(ResultViewerTest, ClosingDuringTheLoadStopsItAndReleasesTheWindow) {
  testing::write_file("zengin.dat", testing::credit_bank_file(100000));
  viewer_ = new ResultViewer(app_);
  viewer_->show();
  ASSERT_TRUE(testing::run_events_until([this] { return grid_rows(grid(1)) > 1; }, 10000));
  ASSERT_TRUE(viewer_->loading());
  const int rows_at_close = grid_rows(grid(1));
  EXPECT_GT(rows_at_close, 1);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::ResultViewer), 1);
  viewer_->close();
  EXPECT_FALSE(viewer_->loading());
  EXPECT_EQ(app_.open_windows.count(WindowSlot::ResultViewer), 0);
  EXPECT_EQ(grid_rows(grid(1)), rows_at_close);
  QTest::qWait(30);
  EXPECT_TRUE(viewer_.isNull());  // deleted once events ran
}

TEST_F(ResultViewerTest, LayoutKeepsTheMinimumSizeAndStacksTheGrids) {
  testing::write_file("zengin.dat", testing::credit_bank_file(1));
  open_viewer();
  const double dpi = logical_dpi(viewer_);
  const auto px = [dpi](int twips) { return twips_to_pixels(twips, dpi); };
  viewer_->resize(10, 10);
  QTest::qWait(10);
  EXPECT_EQ(viewer_->size(), QSize(px(3000), px(4200)));

  viewer_->resize(px(14000), px(9000));
  QTest::qWait(10);
  const QRect header = grid(0)->geometry();
  const QRect data = grid(1)->geometry();
  const QRect trailer = grid(2)->geometry();
  const QRect end = grid(3)->geometry();
  EXPECT_EQ(header.top(), px(170));
  EXPECT_EQ(header.height(), px(540));
  EXPECT_EQ(header.width(), px(14000) - px(340));
  EXPECT_EQ(data.top(), px(170 + 540 + 170));
  EXPECT_EQ(end.bottom() + 1, viewer_->height() - px(170));
  EXPECT_EQ(trailer.height(), px(540));
  EXPECT_NEAR(data.bottom() + 1 + px(170), trailer.top(), 1);

  // Narrower than the header's columns: room for its horizontal scroll bar.
  viewer_->resize(px(12000), px(9000));
  QTest::qWait(10);
  EXPECT_EQ(grid(0)->height(), px(780));
  EXPECT_EQ(grid(2)->height(), px(780));
}

TEST_F(ResultViewerTest, NamesTheRunMendedAreTintedWithWhatTheListHeldAsTooltip) {
  testing::write_file("zengin.dat", testing::credit_bank_file(3));
  testing::write_cp932_file(
      QStringLiteral("東京.log"),
      QStringLiteral("\"東京【ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ】:振込\"\r\n"
                     "\"★★変換開始★★ 2026/12/07 9:05:01\"\r\n"
                     "\"補正：ヘッダの[5]会社名「ｶ)ﾂﾊﾞｸﾛｼﾖｳｼﾞ」←「ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ」\"\r\n"
                     "\"補正：000002件目の[9]預金者名「ﾀﾅｶ ｲﾁﾛｳ」←「たなか　いちろう」\"\r\n"
                     "\"ボディ：000003件目の[9]預金者名が正しくありません。\"\r\n"
                     "\"★★変換終了★★ 2026/12/07 9:05:02\"\r\n"));
  open_viewer();
  const auto cell = [this](int grid_index, int row, int column) {
    return grid(grid_index)->model()->index(row - 1, column - 1);
  };
  const QModelIndex mended = cell(1, 2, 9);
  EXPECT_TRUE(mended.data(Qt::BackgroundRole).value<QColor>().isValid());
  EXPECT_TRUE(mended.data(Qt::ToolTipRole).toString().contains(QStringLiteral("たなか　いちろう")));
  for (const QModelIndex& plain : {cell(1, 1, 9), cell(1, 3, 9), cell(1, 2, 8), cell(1, 2, 10)}) {
    EXPECT_FALSE(plain.data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(plain.data(Qt::ToolTipRole).isValid());
  }
  const QModelIndex company_name = cell(0, 1, 5);
  EXPECT_TRUE(company_name.data(Qt::BackgroundRole).value<QColor>().isValid());
  EXPECT_TRUE(company_name.data(Qt::ToolTipRole).toString().contains(QStringLiteral("ｼｮｳｼﾞ")));
  EXPECT_FALSE(cell(0, 1, 8).data(Qt::BackgroundRole).isValid());
}

TEST_F(ResultViewerTest, WithoutALogNothingIsTinted) {
  testing::write_file("zengin.dat", testing::credit_bank_file(2));
  open_viewer();
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 15; ++column)
      EXPECT_FALSE(grid(1)->model()->index(row, column).data(Qt::BackgroundRole).isValid());
  }
}

}  // namespace
}  // namespace tsubakuro
