#pragma once

#include <QMainWindow>

#include "app/app_state.h"

class QMdiArea;
class QMdiSubWindow;

namespace tsubakuro {

// ツバクロ親: the frame that holds every child window in its MDI area, carries the
// menus and the toolbar, and shows the current company and transfer kind.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  void set_main_title();
  void refresh_main_menus();
  void enforce_main_minimum();

  // Puts a child window into the MDI area and shows it; the child deletes itself
  // when closed (Qt::WA_DeleteOnClose on the child).
  QMdiSubWindow* show_child(QWidget* child);
  QMdiArea* mdi_area() const;

  // The menu commands, also reached from the toolbar.
  void open_company_picker();     // 環境設定M2
  void open_system_settings();    // システム設定M2
  void open_field_options();      // オプションM2
  void open_company_switch();     // 切替M2
  void open_conversion();         // 変換処理M2
  void open_result_viewer();      // 変換結果M2
  void open_log_viewer();         // エラーログ表示M2
  void arrange_viewers();         // 並べて表示M2

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void build_menus();
  void build_toolbar();

  AppState& app_;
  QMdiArea* mdi_area_ = nullptr;
};

}  // namespace tsubakuro
