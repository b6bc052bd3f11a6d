#include "gui/conversion/window_helpers.h"

#include <QLayout>
#include <QMdiSubWindow>

#include "core/conversion/conversion_procedure.h"

namespace tsubakuro {

CompanyLabels add_company_labels(QWidget* window, QLayout* layout) {
  CompanyLabels labels;
  for (int i = 0; i < 3; ++i) {
    labels[i] = new QLabel(window);
    labels[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    labels[i]->setTextFormat(Qt::PlainText);
    layout->addWidget(labels[i]);
  }
  return labels;
}

void show_company_labels(const CompanyLabels& labels, const ConversionProcedure& procedure) {
  labels[0]->setText(procedure.company_name());
  labels[1]->setText(procedure.company_title());
  labels[2]->setText(transfer_kind_word(procedure.kind()));
  for (QLabel* label : labels) label->setAccessibleName(label->text());
}

void show_conversion_window(AppState& app, QWidget* window) {
  QMdiSubWindow* frame =
      app.host->show_child(window, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  if (window->layout() != nullptr) window->layout()->setSizeConstraint(QLayout::SetFixedSize);
  if (frame->layout() != nullptr) frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void close_child_window(AppState& app, const QString& object_name) {
  if (app.host == nullptr) return;
  if (QMdiSubWindow* frame = app.host->child_frame(object_name)) frame->close();
}

}  // namespace tsubakuro
