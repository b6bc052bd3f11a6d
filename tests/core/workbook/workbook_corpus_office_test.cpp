// Workbooks written by other programs (tests/data/workbooks, with the script that
// wrote them), read by the program's own reader and by the office suite: each gives
// the suite's "tbk.tmp" byte for byte, or is one the reader is known to refuse.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "core/text/cp932.h"
#include "core/workbook/workbook_export.h"
#include "core/workbook/workbook_reader.h"
#include "result_checks.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;
using testing::read_file;
using testing::source_path;

QDir corpus() { return QDir(source_path(QStringLiteral("tests/data/workbooks"))); }

// The workbooks the reader does not give the suite's text for, and how it refuses
// them. A change to this list is a change of what the reader reads.
const std::map<QString, Failure::Kind>& expected_refusals() {
  static const std::map<QString, Failure::Kind> refusals = {
      // Every formula saved as 0 with a recalculation asked for on opening: no
      // results to read, on either route.
      {QStringLiteral("xlsxwriter-formulas.xlsx"), Failure::Kind::Error},
      // Formulas whose saved results are errors: the suite computes them again, and
      // gives codes of its own (SQRT(-1) is Err:502, a range of no cells #REF!).
      {QStringLiteral("openpyxl-error-results.xlsx"), Failure::Kind::Unsupported},
      {QStringLiteral("odfpy-error-results.ods"), Failure::Kind::Unsupported},
  };
  return refusals;
}

// The workbooks whose text still differs, each with what differs. The test fails as
// well when one of them comes to match: the list says what is left to do.
const std::map<QString, const char*>& known_differences() {
  static const std::map<QString, const char*> differences = {};
  return differences;
}

QString suite_text(const QString& workbook, const QString& target) {
  WorkbookExport exporter(workbook, target);
  exporter.use_office_suite_only();
  const Result<void> exported = exporter.run();
  EXPECT_EQ(failure_kind(exported), std::nullopt) << exported.message().toStdString();
  return target;
}

class WorkbookCorpus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
};

TEST_F(WorkbookCorpus, EveryWorkbookGivesTheSuitesTextOrAKnownRefusal) {
  const QStringList books = corpus().entryList({QStringLiteral("*.xlsx"), QStringLiteral("*.ods")},
                                               QDir::Files, QDir::Name);
  ASSERT_GE(books.size(), 10);
  std::map<QString, Failure::Kind> refused;
  std::set<QString> differing;
  int compared = 0;
  int identical = 0;
  for (const QString& name : books) {
    // Their values are what a recalculation on the day gives: never compared.
    if (name.startsWith(QStringLiteral("suite-only-"))) continue;
    SCOPED_TRACE(name.toStdString());
    ++compared;
    QTemporaryDir out;
    const QString book = corpus().filePath(name);
    const QString native = out.filePath(QStringLiteral("native.tmp"));
    const Result<void> read = read_workbook(book, native);
    if (!read) {
      refused.emplace(name, read.kind());
      std::printf("%s: refused: %s\n", qPrintable(name), qPrintable(read.message()));
      continue;
    }
    const QByteArray suite = read_file(suite_text(book, out.filePath(QStringLiteral("suite.tmp"))));
    const QByteArray own = read_file(native);
    if (own == suite) {
      ++identical;
    } else {
      differing.insert(name);
      EXPECT_TRUE(known_differences().contains(name))
          << "native:\n"
          << decode_cp932(own).toStdString() << "\nsuite:\n"
          << decode_cp932(suite).toStdString();
    }
  }
  EXPECT_EQ(refused, expected_refusals());
  std::set<QString> known;
  for (const auto& [name, what] : known_differences()) known.insert(name);
  EXPECT_EQ(differing, known);
  std::printf("%d workbooks compared: %d identical, %zu refused, %zu differ\n", compared, identical,
              refused.size(), differing.size());
}

}  // namespace
}  // namespace tsubakuro
