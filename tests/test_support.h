#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tsubakuro::testing {

// Every file of the program is a relative name in the current folder, so a test
// that touches files runs inside a fresh folder of its own and returns afterwards.
class ScopedWorkingDir {
 public:
  ScopedWorkingDir();
  ~ScopedWorkingDir();
  ScopedWorkingDir(const ScopedWorkingDir&) = delete;
  ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

QByteArray read_file(const QString& name);
void write_file(const QString& name, const QByteArray& bytes);
// Writes text as the program's files hold it: CP932.
void write_cp932_file(const QString& name, const QString& text);

QString source_path(const QString& relative);  // a path below the project's root
QString binary_path(const QString& relative);  // a path below the build folder

}  // namespace tsubakuro::testing
