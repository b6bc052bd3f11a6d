#pragma once

#include <QWidget>
#include <array>

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/zengin/field_dictionary.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tsubakuro {

// The 共通 page of 環境設定: the company's own copy of the conversion options, which
// a run uses instead of the system's when the system says so.
class OptionsPage : public QWidget {
  Q_OBJECT

 public:
  explicit OptionsPage(QWidget* parent = nullptr);

  // Captions that name fields follow the working field names.
  void name_options(const FieldTable& field_names);
  void fill(const CompanySettings& company);
  void fill(const SystemSettings& system);
  void store(CompanySettings& company) const;

  bool credit_20digit() const;
  bool debit_20digit() const;
  bool debit_data_zero() const;
  QPushButton* copy_button() const { return copy_button_; }

 private:
  struct Values {
    QString kana_table;
    int crlf_each_record;
    int credit_20digit;
    int debit_20digit;
    int debit_trailer_zero;
    int debit_data_zero;
    int record_length;
    int skip_name_check;
  };
  void show_values(const Values& values);

  QCheckBox* skip_name_check_ = nullptr;      // Check43
  QLineEdit* kana_table_ = nullptr;           // Text4
  QCheckBox* crlf_check_ = nullptr;           // Check41
  QButtonGroup* record_lengths_ = nullptr;    // Option1(0..5)
  QCheckBox* credit_20digit_ = nullptr;       // Check42
  std::array<QCheckBox*, 3> debit_checks_{};  // Check5(0..2)
  QPushButton* copy_button_ = nullptr;        // Command3
};

}  // namespace tsubakuro
