#include "core/files/save_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

QStringList folder_entries() {
  return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(SaveFile, ReplacesTheFileWholeAndLeavesNothingElse) {
  ScopedWorkingDir dir;
  write_file(QStringLiteral("bank.dat"), QByteArray(200'000, 'x'));
  // More than one write's worth, in pieces that do not fall on its bounds.
  QByteArray expected;
  SaveFile file(QStringLiteral("bank.dat"));
  ASSERT_TRUE(file.open().ok());
  for (int i = 0; i < 1000; ++i) {
    const QByteArray piece = QByteArray::number(i).repeated(37) + "\r\n";
    expected += piece;
    ASSERT_TRUE(file.write(piece).ok());
  }
  ASSERT_TRUE(file.commit().ok());
  EXPECT_EQ(read_file(QStringLiteral("bank.dat")), expected);
  EXPECT_EQ(folder_entries(), QStringList{QStringLiteral("bank.dat")});
}

TEST(SaveFile, AWriteNeverCommittedLeavesTheOldFile) {
  ScopedWorkingDir dir;
  write_file(QStringLiteral("tbk.ini"), "old\r\n");
  {
    SaveFile file(QStringLiteral("tbk.ini"));
    ASSERT_TRUE(file.open().ok());
    ASSERT_TRUE(file.write(QByteArray(100'000, 'n')).ok());
    file.cancel();
    EXPECT_FALSE(file.commit().ok());
  }
  {
    SaveFile file(QStringLiteral("tbk.ini"));
    ASSERT_TRUE(file.open().ok());
    ASSERT_TRUE(file.write("new\r\n").ok());
  }  // gone without a commit, as when the program stops half way
  EXPECT_EQ(read_file(QStringLiteral("tbk.ini")), QByteArray("old\r\n"));
  EXPECT_EQ(folder_entries(), QStringList{QStringLiteral("tbk.ini")});
}

TEST(SaveFile, APlaceThatCannotTakeAFileIsRefused) {
  ScopedWorkingDir dir;
  QDir().mkdir(QStringLiteral("tbk.tmp"));
  const Result<void> saved = save_file(QStringLiteral("tbk.tmp"), "1,2\r\n");
  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.message().startsWith(u"「tbk.tmp」を保存できませんでした。"))
      << saved.message().toStdString();
  EXPECT_TRUE(QFileInfo(QStringLiteral("tbk.tmp")).isDir());
  EXPECT_FALSE(save_file(QStringLiteral("no such folder/tbk.tmp"), "1,2\r\n").ok());
  EXPECT_EQ(folder_entries(), QStringList{QStringLiteral("tbk.tmp")});
}

}  // namespace
}  // namespace tsubakuro
