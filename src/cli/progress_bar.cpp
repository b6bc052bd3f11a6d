#include "cli/progress_bar.h"

#include <unistd.h>

#include <QLocale>
#include <QString>
#include <algorithm>
#include <cstdio>

namespace tsubakuro::cli {

namespace {

// About ten thousand payment rows: below this a conversion ends before a bar helps.
constexpr qint64 kLargeInput = 1 << 20;
constexpr int kBarWidth = 30;
constexpr qint64 kRedrawMilliseconds = 100;

}  // namespace

ProgressBar::ProgressBar(qint64 input_size)
    : shown_(input_size >= kLargeInput && isatty(STDERR_FILENO) == 1), maximum_(input_size) {
  since_draw_.start();
}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(qint64 value, qint64 rows) {
  if (!shown_ || maximum_ <= 0) return;
  const int permille = static_cast<int>(std::clamp<qint64>(value * 1000 / maximum_, 0, 1000));
  if (permille == last_permille_ || (drawn_ && since_draw_.elapsed() < kRedrawMilliseconds)) return;
  last_permille_ = permille;
  draw(value, rows);
  since_draw_.restart();
}

void ProgressBar::draw(qint64 value, qint64 rows) {
  const qint64 filled = std::clamp<qint64>(value * kBarWidth / maximum_, 0, kBarWidth);
  const QString line = QStringLiteral("\r変換中 [%1%2] %3%  %4件")
                           .arg(QString(filled, QLatin1Char('#')))
                           .arg(QString(kBarWidth - filled, QLatin1Char('.')))
                           .arg(last_permille_ / 10, 3)
                           .arg(QLocale(QLocale::Japanese, QLocale::Japan).toString(rows));
  const QByteArray bytes = line.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::finish() {
  if (!drawn_) return;
  // Carriage return, erase to the end of the line.
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace tsubakuro::cli
