#include "core/workbook/sheet_writer.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "result_checks.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;

// A cell as a reader gives it: its place, its field, and whether it is a formula's
// result.
struct Cell {
  qint64 row;
  int column;
  const char* field;
  bool formula = false;
};

QByteArray written(std::initializer_list<Cell> cells) {
  QTemporaryDir dir;
  QTemporaryFile rows(dir.filePath(QStringLiteral("rows")));
  EXPECT_TRUE(rows.open());
  SheetWriter writer(rows);
  for (const Cell& cell : cells) {
    const Result<QByteArray*> out = writer.cell(cell.row, cell.column);
    EXPECT_TRUE(out.ok());
    if (!out) return {};
    (*out)->append(cell.field);
    if (cell.formula) writer.keep_cell();
    EXPECT_EQ(failure_kind(writer.flush_if_full()), std::nullopt);
  }
  const QString target = dir.filePath(QStringLiteral("tbk.tmp"));
  EXPECT_EQ(failure_kind(writer.finish(target, QStringLiteral("list.xlsx"), {})), std::nullopt);
  return testing::read_file(target);
}

TEST(SheetWriter, EmptyTextsAreNoCellsButEmptyFormulaResultsAre) {
  const struct {
    const char* what;
    std::initializer_list<Cell> cells;
    const char* text;
  } cases[] = {
      {"an empty sheet is one empty line", {}, "\n"},
      {"a sheet of empty texts is an empty sheet", {{0, 0, ""}, {0, 3, ""}, {2, 1, ""}}, "\n"},
      {"rows of empty texts after the last filled row are not written",
       {{0, 0, "a"}, {0, 1, "b"}, {1, 0, ""}, {1, 1, ""}, {2, 0, ""}},
       "a,b\n"},
      {"a row of empty texts between filled rows is an empty row",
       {{0, 0, "a"}, {1, 0, ""}, {1, 1, ""}, {2, 1, "c"}},
       "a,\n,\n,c\n"},
      {"trailing empty texts widen neither the row nor the sheet",
       {{0, 0, "a"}, {0, 1, ""}, {0, 5, ""}, {1, 0, "b"}},
       "a\nb\n"},
      {"an empty text between fields is an empty field",
       {{0, 0, "a"}, {0, 1, ""}, {0, 2, "c"}},
       "a,,c\n"},
      {"an empty text first in a row", {{0, 0, ""}, {0, 1, "b"}}, ",b\n"},
      {"an empty formula result is a cell",
       {{0, 0, "a"}, {1, 0, "", true}, {1, 3, "", true}},
       "a,,,\n,,,\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(written(c.cells), c.text) << c.what;
  }
}

TEST(SheetWriter, CellsOutOfReadingOrderAreRefusedEvenAfterAnEmptyText) {
  QTemporaryDir dir;
  QTemporaryFile rows(dir.filePath(QStringLiteral("rows")));
  ASSERT_TRUE(rows.open());
  SheetWriter writer(rows);
  const auto refused = [&](qint64 row, int column) {
    const Result<QByteArray*> out = writer.cell(row, column);
    return !out && out.kind() == Failure::Kind::Unsupported;
  };
  (*writer.cell(0, 0))->append("a");
  (*writer.cell(0, 2))->append("c");
  ASSERT_TRUE(writer.cell(0, 3).ok());  // left empty
  EXPECT_TRUE(refused(0, 3));
  EXPECT_TRUE(refused(0, 1));
  ASSERT_TRUE(writer.cell(1, 0).ok());
}

}  // namespace
}  // namespace tsubakuro
