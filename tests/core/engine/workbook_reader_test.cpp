#include "core/engine/workbook_reader.h"

#include <gtest/gtest.h>
#include <QFile>

#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

// tests/data/conversion/payments.fods, saved by the office suite, as its export
// writes the first sheet: cell values rather than display formats, formula
// results, a line break in a cell as a space, every row as wide as the widest.
const QString kExpectedSheet = QStringLiteral(
    "銀行番号,銀行名,支店番号,預金種目,口座番号,預金者名,金額,手数料\n"
    "0005,ﾐﾂﾋﾞｼ,1,1,12345,ﾀﾅｶ ﾀﾛｳ,1234567,220.5\n"
    "0009,ﾐﾂｲｽﾐﾄﾓ,250,2,7654321,\"ｻﾄｳ ﾊﾅｺ (ｶ)\",2470134,55.125\n"
    ",\"ﾕｳﾁｮ,ｷﾞﾝｺｳ\",,,,ｽｽﾞｷ ｲﾁﾛｳ,500,\n");

QString book(const char* kind) {
  return testing::source_path(QStringLiteral("tests/data/conversion/payments.") +
                              QString::fromLatin1(kind));
}

TEST(WorkbookReader, BothZipKindsGiveTheFirstSheetsValues) {
  for (const char* kind : {"xlsx", "ods"}) {
    SCOPED_TRACE(kind);
    ScopedWorkingDir dir;
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    const WorkbookReadResult result = read_workbook(book(kind), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(result.status, WorkbookReadStatus::Done) << result.message.toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), encode_cp932(kExpectedSheet).bytes);
  }
}

TEST(WorkbookReader, WhatItCannotReadIsRefusedAndTheOldTextFileKept) {
  ScopedWorkingDir dir;
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  write_file(QStringLiteral("壊れた.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(500, 'x'));
  write_file(QStringLiteral("空.ods"), QByteArray());
  write_file(QStringLiteral("文書.xlsx"), "plain text, not a workbook\r\n");
  // The old binary kind is no zip archive.
  QFile::copy(book("xls"), QStringLiteral("古い.xlsx"));
  for (const char* name : {"壊れた.xlsx", "空.ods", "文書.xlsx", "古い.xlsx", "ない.xlsx"}) {
    SCOPED_TRACE(name);
    const WorkbookReadResult result =
        read_workbook(QString::fromUtf8(name), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(result.status, WorkbookReadStatus::Refused);
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(name))) << result.message.toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST(WorkbookReader, StopRequestEndsTheReadWithoutWriting) {
  ScopedWorkingDir dir;
  const WorkbookReadResult result =
      read_workbook(book("xlsx"), QStringLiteral("tbk.tmp"), [] { return true; });
  EXPECT_EQ(result.status, WorkbookReadStatus::Cancelled);
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
}

TEST(WorkbookReader, KindsReadWithoutTheSuite) {
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("a.xlsx")));
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("A.XLSM")));
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("a.Ods")));
  EXPECT_FALSE(is_natively_read_workbook(QStringLiteral("a.xls")));
  EXPECT_FALSE(is_natively_read_workbook(QStringLiteral("a.csv")));
}

}  // namespace
}  // namespace tsubakuro
