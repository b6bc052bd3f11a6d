#pragma once

#include <QWidget>

#include "core/settings/conversion_options.h"
#include "core/zengin/field_dictionary.h"

class QPushButton;

namespace tsubakuro {

class OptionsGroup;

// The 共通 page of 環境設定: the company's own copy of the conversion options, which
// a run uses instead of the system's when the system says so.
class OptionsPage : public QWidget {
  Q_OBJECT

 public:
  explicit OptionsPage(const FieldTable& field_names, QWidget* parent = nullptr);

  OptionsGroup* options() const { return options_; }
  QPushButton* copy_button() const { return copy_button_; }

 private:
  OptionsGroup* options_ = nullptr;
  QPushButton* copy_button_ = nullptr;  // Command3
};

}  // namespace tsubakuro
