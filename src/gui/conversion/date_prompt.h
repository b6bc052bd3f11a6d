#pragma once

#include <QDate>
#include <functional>

#include "gui/conversion/window_helpers.h"
#include "gui/shell/child_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tsubakuro {

class ConversionProcedure;

// 変換日付入力: the first step of a conversion. Shows which company and kind will
// be converted, takes the transfer date as month and day, stores it in the
// company's header values and saves the company file, then says date_stored.
// It stays open until the preparation window takes over.
class DatePrompt : public ChildWindow {
  Q_OBJECT

 public:
  DatePrompt(AppState& app, ConversionProcedure& procedure);

  // The day the entered date is counted from; tests fix it.
  void set_today(std::function<QDate()> today);

 signals:
  void date_stored();

 protected:
  void on_opened() override;

 private:
  void start_conversion();
  void show_transfer_day();

  ConversionProcedure& procedure_;
  CompanyLabels labels_{};
  QLineEdit* month_ = nullptr;        // Text1(0)
  QLineEdit* day_ = nullptr;          // Text1(1)
  QLabel* full_date_ = nullptr;       // the day the entry means
  QLabel* closed_warning_ = nullptr;  // red, when banks are closed that day
  std::function<QDate()> today_ = [] { return QDate::currentDate(); };
  QPushButton* cancel_ = nullptr;
  QPushButton* start_ = nullptr;
};

}  // namespace tsubakuro
