#include "gui/shell/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace tsubakuro {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
}  // namespace

int twips_to_pixels(double twips, double dpi) { return qRound(twips * dpi / kTwipsPerInch); }

int pixels_to_twips(int pixels, double dpi) {
  if (dpi <= 0) dpi = kFallbackDpi;
  return qRound(pixels * kTwipsPerInch / dpi);
}

double logical_dpi(const QWidget* widget) {
  if (widget) return widget->logicalDpiX();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : kFallbackDpi;
}

}  // namespace tsubakuro
