#include <gtest/gtest.h>

#include <QBuffer>

#include "core/conversion/list_survey.h"

namespace tsubakuro {
namespace {

ListSurvey survey(const QByteArray& list, qint64 skip_header_rows = 0, bool skip_footer = false) {
  QByteArray bytes = list;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return survey_list(buffer, skip_header_rows, skip_footer);
}

TEST(ListSurvey, WithoutAHeadingTheColumnsAreThoseOfMostDataRows) {
  EXPECT_EQ(survey("a,b,c\r\na,b,c\r\na,b,c,d\r\na,b\r\n").expected_columns, 3);
  // On a tie the smaller count, so a row is never measured against a wider one.
  EXPECT_EQ(survey("a,b,c\r\na,b,c,d\r\na,b,c\r\na,b,c,d\r\n").expected_columns, 3);
  // The footer (a total row, often wider or narrower) does not count.
  EXPECT_EQ(survey("1,2\r\n1,2\r\n,,,,,,total\r\n,,,,,,total\r\n", 0, true).expected_columns, 2);
  EXPECT_EQ(survey("1,2\r\n1,2\r\n,,,,,,total\r\n,,,,,,total\r\n").expected_columns, 2);
  EXPECT_FALSE(survey("1,2\r\n").columns_from_heading);
  EXPECT_EQ(survey("").expected_columns, 0);
}

TEST(ListSurvey, ASkippedHeadingNamesTheColumns) {
  // Every row shifted by the same unquoted separator agrees with the others, but
  // not with its heading.
  const ListSurvey shifted = survey("名前,金額,番号\r\nｱ,5,500,1\r\nｲ,1,000,2\r\n", 1);
  EXPECT_EQ(shifted.expected_columns, 3);
  EXPECT_TRUE(shifted.columns_from_heading);
  // A title of one column above the heading: the last skipped line with columns.
  EXPECT_EQ(survey("振込一覧\r\na,b,c,d,e\r\n1,2,3\r\n1,2,3\r\n", 2).expected_columns, 5);
  // A spreadsheet's empty columns at the heading's end are no columns.
  EXPECT_EQ(survey("a,b,摘要,,\r\n1,2,3,,\r\n", 1).expected_columns, 3);
  // A skipped title without columns leaves the rows to say.
  const ListSurvey titled = survey("振込一覧\r\n1,2\r\n", 1);
  EXPECT_EQ(titled.expected_columns, 2);
  EXPECT_FALSE(titled.columns_from_heading);
  EXPECT_EQ(survey("a\r\n", 1).expected_columns, 0);
}

TEST(ColumnShape, OnlyEmptyColumnsPastTheExpectedOnesGoUncounted) {
  const struct {
    const char* row;
    qint64 expected;
    qint64 differing;  // 0: the row has the expected shape
  } cases[] = {
      {"a,b,c", 3, 0},   {"a,b,", 3, 0},     {"a,b,c,,", 3, 0}, {"a,b,c, ,\t", 3, 0},
      {"a,b,c,d", 3, 4}, {"a,b,c,d,", 3, 4}, {"a,b", 3, 2},     {"a,,c,,e,", 3, 5},
      {"a,b,c,d", 0, 0}, {"", 3, 1},
  };
  for (const auto& c : cases) {
    const QByteArray row(c.row);
    EXPECT_EQ(column_count_differing(row, column_count(row), c.expected), c.differing) << c.row;
  }
}

TEST(ListSurvey, EmptyLinesCountNeitherAsColumnsNorAsContent) {
  const ListSurvey list = survey("a,b\r\n\r\n \t\r\na,b\r\n\r\n  \r\n\x1A");
  EXPECT_EQ(list.expected_columns, 2);
  EXPECT_EQ(list.last_content_line, 4);
  EXPECT_EQ(survey("a,b\r\nc,d\x1A").last_content_line, 2);
  EXPECT_EQ(survey("\r\n\r\n").last_content_line, 0);
  // A heading is content too: the footer rule must not reach above it.
  EXPECT_EQ(survey("heading\r\n\r\n", 1).last_content_line, 1);
}

// A quoted comma is text, and a quoted line break keeps its row one row: neither
// may change the count a row is measured against, nor which row is the footer.
TEST(ListSurvey, CountsColumnsAndRowsAsCsvReadsThem) {
  EXPECT_EQ(column_count("a,\"1,000\",\"x\"\",\""), 3);
  EXPECT_EQ(column_count("a\"b,c"), 2);
  // A quote never closed: the row is split at every comma.
  EXPECT_EQ(column_count("a,\"1,000"), 3);
  const ListSurvey list =
      survey("a,\"1,000\"\r\nb,\"x\r\ny\"\r\nc,2\r\n,\"total\r\n1\"\r\n", 0, true);
  EXPECT_EQ(list.expected_columns, 2);
  EXPECT_EQ(list.last_content_line, 4);
}

TEST(ListSurvey, OnlyTheLastLinesEndOfFileMarkIsDropped) {
  QByteArray line("a\x1A");
  drop_end_of_file_mark(line);
  EXPECT_EQ(line, "a");
  // Anywhere but at the end it is a character of a line like any other.
  EXPECT_EQ(survey("\x1A\r\n\r\n", 0).last_content_line, 1);
  EXPECT_EQ(column_count("ｱ,ｲ,"), 3);
  EXPECT_EQ(column_count(""), 1);
}

// The status bar tells the rows a run will convert: not the heading, not the
// footer, not the empty lines after the last payment.
TEST(ListSurvey, PaymentRowsAreTheRowsARunReadsAsPayments) {
  const QByteArray list = "見出し\r\n1,a\r\n2,\"b\r\nc\"\r\n3,d\r\n合計\r\n\r\n \r\n";
  EXPECT_EQ(payment_row_count(survey(list, 1, true), 1, true), 3);
  EXPECT_EQ(payment_row_count(survey(list, 0, false), 0, false), 5);
  EXPECT_EQ(payment_row_count(survey("", 1, true), 1, true), 0);
  // The stored count is read as a run reads it: a number, halves to even.
  EXPECT_EQ(heading_rows_to_skip(QStringLiteral("2")), 2);
  EXPECT_EQ(heading_rows_to_skip(QStringLiteral("2.5")), 2);
  EXPECT_EQ(heading_rows_to_skip(QStringLiteral("-1")), 0);
  EXPECT_EQ(heading_rows_to_skip(QStringLiteral("ｘ")), 0);
}

}  // namespace
}  // namespace tsubakuro
