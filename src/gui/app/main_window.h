#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "gui/shell/app_state.h"
#include "gui/shell/window_host.h"

class QAction;
class QMdiArea;
class QMenu;
class QMdiSubWindow;

namespace tsubakuro {

class StatusPanel;

// ツバクロ親: the frame that holds every child window in its MDI area, carries the
// menus and the toolbar, and shows the current company and transfer kind.
//
// How a child window joins in. A child window is a QWidget with its objectName
// (and title) set to its name, built with the AppState and handed to show_child,
// which frames it in the MDI area, shows it and makes it delete itself when it
// closes. The window routine hooks in on the child's side:
//   - window_opened(app, this, slot) when it first shows (showEvent), so that the
//     place restored from the slot is that of its MDI frame;
//   - window_closed(app, this, slot) in its closeEvent, before anything is gone.
// ChildWindow (app/child_window.h) does both, runs them once, and closes the
// frame with the widget; derive from it:
//
//   void MainWindow::open_system_settings() {
//     show_child(new SystemSettingsDialog(app_));  // a ChildWindow, slot 10
//   }
//
// Closing the main window closes every child first, so each stores its place
// before "tbk.ini" is written. The menus re-read the open-window counts in
// refresh_main_menus, which window_opened and window_closed call.
class MainWindow : public QMainWindow, public WindowHost {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  void set_main_title();
  void refresh_main_menus();
  void enforce_main_minimum() override;
  // Said once the window stands on the screen: settings the program could not
  // read ("tsubakuro.ini"), which stop every conversion until mended.
  void tell_start_problems();

  QWidget* host_widget() override { return this; }
  // The title and the status bar show the current company and kind.
  void company_changed() override;
  // A window that closes may have changed the settings, the list or the log the
  // status bar shows.
  void menus_changed() override;
  bool ending() const override { return ending_; }

  // Puts a child window into the MDI area and shows it; the child deletes itself
  // when closed (Qt::WA_DeleteOnClose on the child). `flags` are the frame's
  // window flags, as for QMdiArea::addSubWindow.
  QMdiSubWindow* show_child(QWidget* child, Qt::WindowFlags flags = {}) override;
  QMdiArea* mdi_area() const;
  StatusPanel* status_panel() const { return status_; }
  // The frame of the open child window named `object_name`, or null.
  QMdiSubWindow* child_frame(const QString& object_name) const override;

  // The menu commands; the toolbar's buttons trigger the same actions.
  void open_company_picker();       // 環境設定M2
  void open_system_settings();      // システム設定M2
  void open_field_options();        // オプションM2
  void open_company_switch();       // 切替M2
  void open_conversion();           // 変換処理M2
  void open_result_viewer();        // 変換結果M2
  void open_log_viewer() override;  // エラーログ表示M2
  void arrange_viewers();           // 並べて表示M2
  void show_help();                 // ヘルプM2
  void show_about();                // バージョン情報M2

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void build_menus();
  void build_toolbar();
  QAction* add_item(QMenu* menu, const char* name, const QString& caption);
  void store_geometry();

  AppState& app_;
  QMdiArea* mdi_area_ = nullptr;
  StatusPanel* status_ = nullptr;
  QAction* company_settings_item_ = nullptr;  // 環境設定M2
  QAction* system_settings_item_ = nullptr;   // システム設定M2
  QAction* field_options_item_ = nullptr;     // オプションM2
  QAction* quit_item_ = nullptr;              // 終了M2
  QAction* switch_item_ = nullptr;            // 切替M2
  QAction* conversion_item_ = nullptr;        // 変換処理M2
  QAction* result_item_ = nullptr;            // 変換結果M2
  QAction* log_item_ = nullptr;               // エラーログ表示M2
  QAction* arrange_item_ = nullptr;           // 並べて表示M2
  QPointer<QWidget> help_window_;
  bool ending_ = false;
};

}  // namespace tsubakuro
