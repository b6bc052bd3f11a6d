#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tsubakuro::fuzz {

// A property the reader must keep; libFuzzer reports the abort with the input.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

// The settings readers take relative names in the current folder, so a fuzzer
// that feeds them files works in a folder of its own, removed when it ends.
inline void enter_scratch_folder() {
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tsubakuro-fuzz-XXXXXX"));
  require(folder.isValid() && QDir::setCurrent(folder.path()), "a scratch folder");
}

inline void write_whole_file(const QString& name, const uint8_t* data, size_t size) {
  QFile file(name);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input file opens");
  require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
              static_cast<qint64>(size),
          "the input file is written");
}

inline QByteArray read_whole_file(const QString& name) {
  QFile file(name);
  require(file.open(QIODevice::ReadOnly), "the saved file opens");
  return file.readAll();
}

}  // namespace tsubakuro::fuzz
