#include "reliability_support.h"

#include <sys/mount.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <stdexcept>

#include "test_support.h"

namespace tsubakuro::testing {

ConverterRun run_converter(const QStringList& arguments, const FullDiskFolder* disk,
                           int timeout_ms) {
  QProcess process;
  process.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
  process.setArguments(arguments);
  process.setWorkingDirectory(QDir::currentPath());
  process.setProcessChannelMode(QProcess::MergedChannels);
  if (disk != nullptr && disk->filled() && !disk->is_tmpfs()) {
    process.setChildProcessModifier([] {
      rlimit limit{kFullDiskFileLimit, kFullDiskFileLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_IGN);
    });
  }
  process.start();
  ConverterRun run;
  if (!process.waitForFinished(timeout_ms)) {
    run.timed_out = true;
    process.kill();
    process.waitForFinished();
  }
  run.crashed = !run.timed_out && process.exitStatus() == QProcess::CrashExit;
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.output = QString::fromUtf8(process.readAll());
  return run;
}

QMap<QString, QByteArray> folder_snapshot() {
  QMap<QString, QByteArray> files;
  for (const QString& name : QDir().entryList(QDir::Files | QDir::Hidden)) {
    if (name != FullDiskFolder::filler_name()) files.insert(name, read_file(name));
  }
  return files;
}

QMap<QString, QByteArray> users_files() {
  QMap<QString, QByteArray> files = folder_snapshot();
  for (const char* written : {"FURIKOMI.DAT", "FURIKAE.DAT", "サンプル商事.log"})
    files.remove(QString::fromUtf8(written));
  return files;
}

QStringList changed_files(const QMap<QString, QByteArray>& before,
                          const QMap<QString, QByteArray>& after) {
  QStringList names;
  for (auto [name, bytes] : before.asKeyValueRange()) {
    if (!after.contains(name) || after.value(name) != bytes) names.append(name);
  }
  for (const QString& name : after.keys()) {
    if (!before.contains(name)) names.append(name);
  }
  return names;
}

FullDiskFolder::FullDiskFolder() : previous_(QDir::currentPath()) {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  const QByteArray path = QFile::encodeName(dir_.path());
  mounted_ = mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0;
  if (!QDir::setCurrent(dir_.path())) throw std::runtime_error("cannot enter the folder");
}

FullDiskFolder::~FullDiskFolder() {
  limit_.reset();
  QDir::setCurrent(previous_);
  if (mounted_) umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void FullDiskFolder::fill() {
  filled_ = true;
  if (!mounted_) {
    limit_ = std::make_unique<FileSizeLimit>(kFullDiskFileLimit);
    return;
  }
  QFile filler(filler_name());
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw std::runtime_error("cannot create the filler");
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size()) {
  }
  // Whatever part of a page is left takes single bytes.
  while (filler.write("x", 1) == 1) {
  }
}

}  // namespace tsubakuro::testing
