#include "gui/shell/system_info.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "test_support.h"

namespace tsubakuro {
namespace {

// Puts `folder` alone on the search path for as long as it lives.
class ScopedSearchPath {
 public:
  explicit ScopedSearchPath(const QString& folder) : previous_(qgetenv("PATH")) {
    qputenv("PATH", QFile::encodeName(folder));
  }
  ~ScopedSearchPath() { qputenv("PATH", previous_); }

 private:
  QByteArray previous_;
};

void make_program(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\nexit 0\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(SystemInfo, TakesTheFirstToolTheMachineHas) {
  testing::ScopedWorkingDir dir;
  const QString folder = QDir::currentPath();
  ScopedSearchPath path(folder);
  EXPECT_TRUE(find_system_info_tool(system_info_tools()).isEmpty());
  EXPECT_FALSE(StartSysInfo()) << "nothing to start";

  make_program(folder + QStringLiteral("/gnome-system-monitor"));
  make_program(folder + QStringLiteral("/hardinfo"));
  EXPECT_EQ(find_system_info_tool(system_info_tools()), folder + QStringLiteral("/hardinfo"));
  EXPECT_TRUE(StartSysInfo());
}

}  // namespace
}  // namespace tsubakuro
