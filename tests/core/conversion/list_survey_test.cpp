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

TEST(ListSurvey, UsualColumnsAreThoseOfMostDataRows) {
  EXPECT_EQ(survey("a,b,c\r\na,b,c\r\na,b,c,d\r\na,b\r\n").usual_columns, 3);
  // On a tie the smaller count, so a row is never measured against a wider one.
  EXPECT_EQ(survey("a,b,c\r\na,b,c,d\r\na,b,c\r\na,b,c,d\r\n").usual_columns, 3);
  // A title of one column and a heading above the rows are skipped, not counted.
  EXPECT_EQ(survey("振込一覧\r\na,b,c,d,e\r\n1,2,3\r\n1,2,3\r\n", 2).usual_columns, 3);
  // The footer (a total row, often wider or narrower) does not count either.
  EXPECT_EQ(survey("1,2\r\n1,2\r\n,,,,,,total\r\n,,,,,,total\r\n", 0, true).usual_columns, 2);
  EXPECT_EQ(survey("1,2\r\n1,2\r\n,,,,,,total\r\n,,,,,,total\r\n").usual_columns, 2);
  EXPECT_EQ(survey("a\r\n", 1).usual_columns, 0);
  EXPECT_EQ(survey("").usual_columns, 0);
}

TEST(ListSurvey, EmptyLinesCountNeitherAsColumnsNorAsContent) {
  const ListSurvey list = survey("a,b\r\n\r\n \t\r\na,b\r\n\r\n  \r\n\x1A");
  EXPECT_EQ(list.usual_columns, 2);
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
  EXPECT_EQ(list.usual_columns, 2);
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

}  // namespace
}  // namespace tsubakuro
