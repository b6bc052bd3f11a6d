#pragma once

#include <QWidget>

namespace tsubakuro {

// Sizes in the settings are twips (1/1440 inch); pixels = twips × logical DPI / 1440.
int twips_to_pixels(double twips, double dpi);
int pixels_to_twips(int pixels, double dpi);

// The logical DPI a widget is shown at (the primary screen's before it is shown).
double logical_dpi(const QWidget* widget = nullptr);

}  // namespace tsubakuro
