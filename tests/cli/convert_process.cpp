#include "convert_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <stdexcept>

#include "test_support.h"

namespace tsubakuro::testing {

ConvertProcessResult run_tsubakuro_convert(const QStringList& arguments) {
  QProcess process;
  process.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
  process.setArguments(arguments);
  process.setWorkingDirectory(QDir::currentPath());
  process.start();
  if (!process.waitForFinished(120'000)) throw std::runtime_error("tsubakuro-convert hangs");
  ConvertProcessResult result;
  result.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.standard_output = QString::fromUtf8(process.readAllStandardOutput());
  result.standard_error = QString::fromUtf8(process.readAllStandardError());
  return result;
}

}  // namespace tsubakuro::testing
