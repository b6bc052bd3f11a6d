#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

// Each folder below tests/data/cli/cases is one conversion of the sample company:
//   in/        files laid over the sample company (a payment list, a tbk.ini, ...)
//   arguments  the converter's arguments, one a line (may be absent)
//   status     the exit status the converter must end with
//   says       lines its output must hold, one a line (may be absent)
//   expected/  files the folder must hold afterwards, byte for byte; in logs the
//              run's date and time read "YYYY/MM/DD H:MM:SS"
const QString kCases = QStringLiteral("tests/data/cli/cases");

QString case_path(const std::string& name, const QString& relative) {
  return source_path(kCases + u'/' + QString::fromStdString(name) + u'/' + relative);
}

std::vector<std::string> case_names() {
  std::vector<std::string> names;
  for (const QString& name : QDir(source_path(kCases)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    names.push_back(name.toStdString());
  return names;
}

QStringList text_lines(const QString& path) {
  if (!QFile::exists(path)) return {};
  return QString::fromUtf8(read_file(path)).split(u'\n', Qt::SkipEmptyParts);
}

QByteArray masked_log(const QByteArray& log) {
  static const QRegularExpression kStamp(
      QStringLiteral("\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}:\\d{2}"));
  return encode_cp932(decode_cp932(log).replace(kStamp, QStringLiteral("YYYY/MM/DD H:MM:SS")))
      .bytes;
}

std::string first_difference(const QByteArray& actual, const QByteArray& expected) {
  qsizetype at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
         ", first difference at byte " + std::to_string(at);
}

class ConvertGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ConvertGolden, EndsWithTheStatusAndFilesExpected) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const QDir in(case_path(GetParam(), QStringLiteral("in")));
  for (const QString& name : in.entryList(QDir::Files)) {
    QFile::remove(name);
    ASSERT_TRUE(QFile::copy(in.filePath(name), name));
    QFile(name).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  }
  const QStringList status = text_lines(case_path(GetParam(), QStringLiteral("status")));
  ASSERT_EQ(status.size(), 1) << "the case names its exit status";

  const ConvertProcessResult result =
      run_tsubakuro_convert(text_lines(case_path(GetParam(), QStringLiteral("arguments"))));

  const QString said = result.standard_output + result.standard_error;
  EXPECT_EQ(result.exit_code, status.first().trimmed().toInt()) << said.toStdString();
  for (const QString& line : text_lines(case_path(GetParam(), QStringLiteral("says"))))
    EXPECT_TRUE(said.contains(line)) << line.toStdString() << " not in:\n" << said.toStdString();
  const QDir expected(case_path(GetParam(), QStringLiteral("expected")));
  const QStringList expected_files = expected.entryList(QDir::Files);
  ASSERT_FALSE(expected_files.isEmpty());
  for (const QString& name : expected_files) {
    QByteArray actual = read_file(name);
    if (name.endsWith(QStringLiteral(".log"))) actual = masked_log(actual);
    const QByteArray wanted = read_file(expected.filePath(name));
    EXPECT_TRUE(actual == wanted) << name.toStdString() << ": " << first_difference(actual, wanted);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvertGolden, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tsubakuro::testing
