#include "test_support.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

#include "core/text/cp932.h"

namespace tsubakuro::testing {

ScopedWorkingDir::ScopedWorkingDir() : previous_(QDir::currentPath()) {
  if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
    throw std::runtime_error("cannot enter a temporary folder");
}

ScopedWorkingDir::~ScopedWorkingDir() { QDir::setCurrent(previous_); }

QByteArray read_file(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void write_file(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write test file " + name.toStdString());
}

void write_cp932_file(const QString& name, const QString& text) {
  write_file(name, encode_cp932(text).bytes);
}

void copy_sample_company(const QString& folder) {
  const QDir examples(source_path(QStringLiteral("examples")));
  const QStringList files = examples.entryList(
      {QStringLiteral("tbk.ini"), QStringLiteral("*.cfg"), QStringLiteral("*.csv")}, QDir::Files);
  if (files.size() < 4) throw std::runtime_error("the sample company is incomplete");
  for (const QString& name : files) {
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    if (!QFile::copy(examples.filePath(name), target))
      throw std::runtime_error("cannot copy the sample company");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
  }
}

QString source_path(const QString& relative) {
  return QStringLiteral(TSUBAKURO_SOURCE_DIR "/") + relative;
}

QString binary_path(const QString& relative) {
  return QStringLiteral(TSUBAKURO_BINARY_DIR "/") + relative;
}

QString payments_workbook(const char* kind) {
  return source_path(QStringLiteral("tests/data/conversion/payments.") + QString::fromLatin1(kind));
}

const QString kPaymentsSheet = QStringLiteral(
    "銀行番号,銀行名,支店番号,預金種目,口座番号,預金者名,金額,手数料\n"
    "0005,ﾐﾂﾋﾞｼ,1,1,12345,ﾀﾅｶ ﾀﾛｳ,1234567,220.5\n"
    "0009,ﾐﾂｲｽﾐﾄﾓ,250,2,7654321,\"ｻﾄｳ ﾊﾅｺ (ｶ)\",2470134,55.125\n"
    ",\"ﾕｳﾁｮ,ｷﾞﾝｺｳ\",,,,ｽｽﾞｷ ｲﾁﾛｳ,500,\n");

}  // namespace tsubakuro::testing
