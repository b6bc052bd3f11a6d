#include "core/conversion/company_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>

#include "core/conversion/conversion_messages.h"

namespace tsubakuro {
namespace {

// The programs of this system: either may hold a company's lock.
bool is_this_program(const QString& file_name) {
  static const QString own = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  return file_name == QStringLiteral("tsubakuro") ||
         file_name == QStringLiteral("tsubakuro-convert") || (!own.isEmpty() && file_name == own);
}

// The program a live process runs, by its executable or, where that is not ours
// to read (another user's process), by the first word of its command line.
QString program_of(qint64 pid) {
  const QString proc = QStringLiteral("/proc/%1/").arg(pid);
  const QString executable = QFile::symLinkTarget(proc + QStringLiteral("exe"));
  if (!executable.isEmpty()) return QFileInfo(executable).fileName();
  QFile cmdline(proc + QStringLiteral("cmdline"));
  if (!cmdline.open(QIODevice::ReadOnly)) return {};
  const QByteArray first = cmdline.read(4096).split('\0').value(0);
  return QFileInfo(QString::fromLocal8Bit(first)).fileName();
}

struct LockOwner {
  bool holds = false;  // a live process of this program on this machine
  QString described;   // what the file was, for the log
};

// Judges what a lock file held when no process held its lock.
LockOwner judge(const QByteArray& content) {
  if (content.isEmpty()) return {false, QStringLiteral("空")};
  const QList<QByteArray> lines = content.split('\n');
  bool number = false;
  const qint64 pid = lines.value(0).trimmed().toLongLong(&number);
  if (!number || pid <= 0) return {false, QStringLiteral("読めない内容")};
  const QString host = QString::fromUtf8(lines.value(2).trimmed());
  // Another machine's process cannot be looked at: a folder shared over the
  // network may not pass locks on, so its claim is believed.
  if (!host.isEmpty() && host != QSysInfo::machineHostName())
    return {true, QStringLiteral("ほかのコンピュータ %1 のプロセス %2").arg(host).arg(pid)};
  if (pid == getpid()) return {false, QStringLiteral("このプロセス %1").arg(pid)};
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
    return {false, QStringLiteral("終了したプロセス %1").arg(pid)};
  const QString program = program_of(pid);
  if (!program.isEmpty() && !is_this_program(program))
    return {false, QStringLiteral("ほかのプログラム（%1）のプロセス %2").arg(program).arg(pid)};
  return {true, {}};
}

QByteArray read_all(int descriptor) {
  QByteArray content;
  char buffer[512];
  ::lseek(descriptor, 0, SEEK_SET);
  // A lock file is three short lines; more is garbage and needs no reading.
  for (ssize_t n; content.size() < 4096 && (n = ::read(descriptor, buffer, sizeof buffer)) > 0;)
    content.append(buffer, n);
  return content;
}

bool same_file(int descriptor, const QByteArray& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(descriptor, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

CompanyLock::~CompanyLock() {
  // Removed while still locked, so no one locks the file on its way out; and only
  // while the name is still this lock's, never a file someone put in its place.
  const QByteArray name = QFile::encodeName(path_);
  if (same_file(descriptor_, name)) ::unlink(name.constData());
  ::close(descriptor_);
}

Result<CompanyLock::Claimed> CompanyLock::claim(const QString& path, const QString& company) {
  const QByteArray name = QFile::encodeName(path);
  // A few rounds at most: another run may remove the file between our open and
  // our lock, and the file we locked is then no longer the company's lock.
  for (int round = 0; round < 8; ++round) {
    bool existed = false;
    int descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0 && errno == EEXIST) {
      existed = true;
      descriptor = ::open(name.constData(), O_RDWR | O_CLOEXEC);
      if (descriptor < 0 && errno == ENOENT) continue;
    }
    if (descriptor < 0) {
      const int error = errno;
      if (QFileInfo(path).isDir())
        return failure(
            conversion_messages::lock_file_unusable(path, QStringLiteral("フォルダである")));
      if (existed || error == EISDIR)
        return failure(conversion_messages::lock_file_unusable(
            path, QStringLiteral("書き込めないファイルである")));
      return Claimed{};
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      ::close(descriptor);
      return failure(conversion_messages::conversion_elsewhere(company));
    }
    if (!same_file(descriptor, name)) {
      ::close(descriptor);
      continue;
    }
    const QByteArray content = read_all(descriptor);
    std::optional<QString> taken_over;
    if (existed) {
      const LockOwner owner = judge(content);
      if (owner.holds) {
        ::close(descriptor);
        return failure(conversion_messages::conversion_elsewhere(company));
      }
      taken_over = owner.described;
    }
    const QByteArray mine = QByteArray::number(qint64(getpid())) + '\n' +
                            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() +
                            '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    // What other tools read is only a note: the system's lock is what counts, so
    // a write that fails leaves the lock held.
    if (::ftruncate(descriptor, 0) == 0) {
      ::lseek(descriptor, 0, SEEK_SET);
      (void)!::write(descriptor, mine.constData(), mine.size());
    }
    return Claimed{std::unique_ptr<CompanyLock>(new CompanyLock(path, descriptor)), taken_over};
  }
  return failure(conversion_messages::conversion_elsewhere(company));
}

}  // namespace tsubakuro
