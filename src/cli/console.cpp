#include "cli/console.h"

#include <cstdio>

namespace tsubakuro::cli {

namespace {

void print_line(std::FILE* stream, const QString& text) {
  const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

void print_out(const QString& text) { print_line(stdout, text); }

void print_error(const QString& text) { print_line(stderr, text); }

}  // namespace tsubakuro::cli
