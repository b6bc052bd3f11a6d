// A company name that is no plain file name is refused with a message, and
// nothing is read or written outside the working folder through it.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/text/cp932.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

class CompanyNameOutsideTheFolder : public ::testing::Test {
 protected:
  // The working folder lies inside another that holds a company of the same
  // name, which a name climbing out of the folder would reach.
  void SetUp() override {
    ASSERT_TRUE(outer_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(outer_.path()));
    copy_sample_company();
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("work")));
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral("work")));
    copy_sample_company();
  }
  void TearDown() override { QDir::setCurrent(previous_); }

  // Every file of both folders.
  QMap<QString, QByteArray> both_folders() {
    QMap<QString, QByteArray> files = folder_snapshot();
    QDir::setCurrent(outer_.path());
    for (auto [name, bytes] : folder_snapshot().asKeyValueRange())
      files.insert(QStringLiteral("../") + name, bytes);
    QDir::setCurrent(outer_.filePath(QStringLiteral("work")));
    return files;
  }

  void expect_refused(const QStringList& arguments, const char* what) {
    const auto before = both_folders();
    const ConverterRun run = run_converter(arguments);
    EXPECT_FALSE(run.crashed || run.timed_out) << what;
    EXPECT_EQ(run.exit_code, 2) << what << ": " << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("エラー")))
        << what << ": " << run.output.toStdString();
    EXPECT_EQ(changed_files(before, both_folders()).join(u", ").toStdString(), "") << what;
  }

 private:
  QTemporaryDir outer_;
  QString previous_;
};

const char* const kBadNames[] = {
    "../サンプル商事",
    "..",
    ".",
    "サンプル/商事",
    "/tmp/サンプル商事",
    "サンプル\\商事",
    "サンプル\x01商事",
    "サンプル\t商事",
    "サンプル\x7f商事",
    "",
    "   ",
};

TEST_F(CompanyNameOutsideTheFolder, IsRefusedOnTheCommandLine) {
  for (const char* name : kBadNames)
    expect_refused({QStringLiteral("--company"), QString::fromUtf8(name)}, name);
}

TEST_F(CompanyNameOutsideTheFolder, IsRefusedAsTheCurrentCompanyOfTbkIni) {
  const QString settings = decode_cp932(read_file(QStringLiteral("tbk.ini")));
  const QString sample = QString::fromUtf8(kSampleCompany);
  ASSERT_TRUE(settings.contains(u'"' + sample + u'"'));
  for (const char* name : kBadNames) {
    QString changed = settings;
    changed.replace(u'"' + sample + u'"', u'"' + QString::fromUtf8(name) + u'"');
    write_file(QStringLiteral("tbk.ini"), encode_cp932(changed).bytes);
    expect_refused({}, name);
  }
}

}  // namespace
}  // namespace tsubakuro::testing
