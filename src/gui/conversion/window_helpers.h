#pragma once

#include <QLabel>
#include <array>

#include "gui/shell/app_state.h"

class QLayout;

namespace tsubakuro {

class ConversionProcedure;

// Label1(0..2) of the date prompt and the run window: which settings, which
// company and which kind a conversion is about to use, so a wrong choice is seen
// before the bank file is written.
using CompanyLabels = std::array<QLabel*, 3>;

CompanyLabels add_company_labels(QWidget* window, QLayout* layout);
void show_company_labels(const CompanyLabels& labels, const ConversionProcedure& procedure);

// Shows one of the conversion windows in the main window. They keep the size of
// their contents: they can be moved and minimized, not maximized or resized.
void show_conversion_window(AppState& app, QWidget* window);

// Closes a child window of the main window by its name, if it is open.
void close_child_window(AppState& app, const QString& object_name);

}  // namespace tsubakuro
