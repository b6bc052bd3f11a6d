#include "gui/app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "core/settings/system_settings.h"
#include "core/zengin/record_kinds.h"
#include "gui/app/about_window.h"
#include "gui/app/status_panel.h"
#include "gui/conversion/conversion_flow.h"
#include "gui/editors/company_picker.h"
#include "gui/editors/company_switch.h"
#include "gui/editors/field_options_editor.h"
#include "gui/editors/system_settings_dialog.h"
#include "gui/shell/help_window.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/resources.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"
#include "gui/viewers/log_viewer.h"
#include "gui/viewers/result_viewer.h"

namespace tsubakuro {

namespace {

constexpr double kResultViewerShare = 0.7;

const char kResultViewerName[] = "変換結果";
const char kLogViewerName[] = "エラーログ";

// A toolbar button as the toolbar has always had them: a push button, here the
// toolbar's view of a menu command. It shows the action's toolbar caption
// (its icon text), is enabled with it and triggers it.
QPushButton* command_button(QAction* command, QWidget* toolbar) {
  auto* button = new QPushButton(command->iconText(), toolbar);
  button->setAccessibleName(command->iconText());
  button->setEnabled(command->isEnabled());
  QObject::connect(command, &QAction::enabledChanged, button, &QWidget::setEnabled);
  QObject::connect(button, &QPushButton::clicked, command, &QAction::trigger);
  return button;
}

}  // namespace

MainWindow::MainWindow(AppState& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName(QStringLiteral("ツバクロ親"));
  app_.host = this;

  mdi_area_ = new QMdiArea(this);
  mdi_area_->setObjectName(QStringLiteral("MDIClient"));
  mdi_area_->setAccessibleName(QStringLiteral("ツバクロ"));
  // Windows keep their place against the whole screen, so one may lie beyond a
  // smaller main window; the scroll bars keep it within reach.
  mdi_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_area_);
  build_menus();
  build_toolbar();
  status_ = new StatusPanel(app_, this);
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->setAccessibleName(QStringLiteral("状態"));
  statusBar()->addWidget(status_, 1);

  refresh_main_menus();
  window_opened(app_, this, WindowSlot::Main);
  enforce_main_minimum();
  keep_on_screen(this);
  set_main_title();
}

void MainWindow::tell_start_problems() {
  if (!app_.system.bank_rules_read) show_failure(app_, app_.system.bank_rules_read.failure());
}

MainWindow::~MainWindow() {
  if (app_.host == this) app_.host = nullptr;
}

QAction* MainWindow::add_item(QMenu* menu, const char* name, const QString& caption) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromUtf8(name));
  return item;
}

void MainWindow::build_menus() {
  QMenuBar* bar = menuBar();
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  auto add_menu = [bar](const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
  };

  QMenu* file = add_menu("ファイルM1", QStringLiteral("ﾌｧｲﾙ(&F)"));
  company_settings_item_ = add_item(file, "環境設定M2", QStringLiteral("環境設定(&K)"));
  system_settings_item_ = add_item(file, "システム設定M2", QStringLiteral("ｼｽﾃﾑ設定(&S)"));
  field_options_item_ = add_item(file, "オプションM2", QStringLiteral("ｵﾌﾟｼｮﾝ(&S)"));
  quit_item_ = add_item(file, "終了M2", QStringLiteral("終了(&E)"));

  QMenu* work = add_menu("処理M1", QStringLiteral("処理(&S)"));
  switch_item_ = add_item(work, "切替M2", QStringLiteral("切替(&C)"));
  conversion_item_ = add_item(work, "変換処理M2", QStringLiteral("変換処理(&H)"));
  result_item_ = add_item(work, "変換結果M2", QStringLiteral("変換結果(&V)"));
  log_item_ = add_item(work, "エラーログ表示M2", QStringLiteral("ｴﾗｰﾛｸﾞ表示(&E)"));

  QMenu* window = add_menu("ウンドウM1", QStringLiteral("ｳｲﾝﾄﾞｳ(&W)"));
  arrange_item_ = add_item(window, "並べて表示M2", QStringLiteral("変換結果＆ｴﾗｰﾛｸﾞ並べて表示"));

  QMenu* help = add_menu("ヘルプM1", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  QAction* help_item = add_item(help, "ヘルプM2", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  QAction* about_item = add_item(help, "バージョン情報M2", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));

  connect(company_settings_item_, &QAction::triggered, this, &MainWindow::open_company_picker);
  connect(system_settings_item_, &QAction::triggered, this, &MainWindow::open_system_settings);
  connect(field_options_item_, &QAction::triggered, this, &MainWindow::open_field_options);
  connect(quit_item_, &QAction::triggered, this, &MainWindow::close);
  connect(switch_item_, &QAction::triggered, this, &MainWindow::open_company_switch);
  connect(conversion_item_, &QAction::triggered, this, &MainWindow::open_conversion);
  connect(result_item_, &QAction::triggered, this, &MainWindow::open_result_viewer);
  connect(log_item_, &QAction::triggered, this, &MainWindow::open_log_viewer);
  connect(arrange_item_, &QAction::triggered, this, &MainWindow::arrange_viewers);
  connect(help_item, &QAction::triggered, this, &MainWindow::show_help);
  connect(about_item, &QAction::triggered, this, &MainWindow::show_about);
}

void MainWindow::build_toolbar() {
  auto* strip = new QToolBar(this);
  strip->setObjectName(QStringLiteral("Picture1"));
  strip->setWindowTitle(QStringLiteral("ツールバー"));
  strip->setAccessibleName(QStringLiteral("ツールバー"));
  strip->setMovable(false);
  strip->setFloatable(false);
  strip->setContextMenuPolicy(Qt::PreventContextMenu);
  strip->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, strip);
  // The button that shows the buttons a narrow window has no room for.
  if (auto* more = strip->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
    more->setAccessibleName(QStringLiteral("ほかのボタン"));
  }

  // The menu commands the toolbar shows, with the captions its buttons carry.
  const std::pair<QAction*, QString> commands[] = {{quit_item_, QStringLiteral("終了")},
                                                   {switch_item_, QStringLiteral("切替")},
                                                   {conversion_item_, QStringLiteral("変換処理")},
                                                   {result_item_, QStringLiteral("変換結果表示")},
                                                   {log_item_, QStringLiteral("エラーログ表示")}};
  for (int i = 0; i < std::ssize(commands); ++i) {
    const auto& [command, caption] = commands[i];
    command->setIconText(caption);
    QPushButton* button = command_button(command, strip);
    button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
    button->setFocusPolicy(Qt::TabFocus);
    strip->addWidget(button);
  }
}

void MainWindow::set_main_title() {
  const SystemSettings& settings = app_.system;
  if (settings.current_company.isEmpty()) {
    setWindowTitle(QStringLiteral("ツバクロ"));
    return;
  }
  setWindowTitle(QStringLiteral("ツバクロ　%1(%2)")
                     .arg(settings.current_company, transfer_kind_word(settings.transfer_kind)));
}

void MainWindow::company_changed() {
  set_main_title();
  if (status_ != nullptr) status_->refresh();
}

void MainWindow::menus_changed() {
  refresh_main_menus();
  if (status_ != nullptr) status_->refresh();
}

void MainWindow::refresh_main_menus() {
  using S = WindowSlot;
  const OpenWindowCounts& open = app_.open_windows;
  const bool company_set = !app_.system.current_company.isEmpty();
  const int settings_path_blockers =
      open.sum({S::CompanyPicker, S::CompanyEditor, S::FileChooser, S::CompanySwitch, S::DatePrompt,
                S::Conversion, S::SystemSettings, S::FieldOptions});
  const int child_windows =
      open.sum({S::CompanyPicker, S::CompanyEditor, S::FileChooser, S::CompanySwitch, S::DatePrompt,
                S::Conversion, S::ResultViewer, S::LogViewer, S::SystemSettings, S::FieldOptions});
  const int result_blockers = open.sum({S::CompanySwitch, S::DatePrompt, S::Conversion,
                                        S::ResultViewer, S::SystemSettings, S::FieldOptions});
  const int log_blockers = open.sum({S::CompanySwitch, S::DatePrompt, S::Conversion, S::LogViewer,
                                     S::SystemSettings, S::FieldOptions});

  company_settings_item_->setEnabled(settings_path_blockers == 0);
  system_settings_item_->setEnabled(child_windows == 0);
  field_options_item_->setEnabled(child_windows == 0);
  switch_item_->setEnabled(child_windows == 0);
  conversion_item_->setEnabled(child_windows == 0 && company_set);
  result_item_->setEnabled(result_blockers == 0 && company_set);
  log_item_->setEnabled(log_blockers == 0 && company_set);
  arrange_item_->setEnabled(open.sum({S::ResultViewer, S::LogViewer}) == 2);
}

void MainWindow::enforce_main_minimum() {
  if (isMinimized()) return;
  const double dpi = logical_dpi(this);
  const QSize minimum_twips = minimum_size_twips(WindowSlot::Main);
  const QSize minimum(twips_to_pixels(minimum_twips.width(), dpi),
                      twips_to_pixels(minimum_twips.height(), dpi));
  const QSize current = size();
  if (current.width() < minimum.width() || current.height() < minimum.height()) {
    resize(current.expandedTo(minimum));
  }
}

QMdiSubWindow* MainWindow::show_child(QWidget* child, Qt::WindowFlags flags) {
  child->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* frame = mdi_area_->addSubWindow(child, flags);
  // A child that closes itself leaves its frame behind; take the frame away too.
  connect(child, &QObject::destroyed, frame,
          [frame] { QTimer::singleShot(0, frame, &QMdiSubWindow::close); });
  frame->show();
  return frame;
}

QMdiArea* MainWindow::mdi_area() const { return mdi_area_; }

QMdiSubWindow* MainWindow::child_frame(const QString& object_name) const {
  for (QMdiSubWindow* frame : mdi_area_->subWindowList()) {
    if (frame->widget() && frame->widget()->objectName() == object_name) return frame;
  }
  return nullptr;
}

void MainWindow::open_company_picker() { show_child(new CompanyPicker(app_)); }

void MainWindow::open_system_settings() { show_child(new SystemSettingsDialog(app_)); }

void MainWindow::open_field_options() { show_child(new FieldOptionsEditor(app_)); }

void MainWindow::open_company_switch() { show_child(new CompanySwitch(app_)); }

void MainWindow::open_conversion() { ConversionFlow::start(app_); }

void MainWindow::open_result_viewer() { show_child(new ResultViewer(app_)); }

void MainWindow::open_log_viewer() { show_child(new LogViewer(app_)); }

void MainWindow::arrange_viewers() {
  QMdiSubWindow* result = child_frame(QString::fromUtf8(kResultViewerName));
  QMdiSubWindow* log = child_frame(QString::fromUtf8(kLogViewerName));
  if (!result || !log) return;
  if (log->isMaximized() && result->isMinimized()) {
    log->showNormal();
    result->showNormal();
  } else {
    result->showNormal();
    log->showNormal();
  }
  const double dpi = logical_dpi(this);
  const QSize inner = mdi_area_->viewport()->size();
  const int inner_width = pixels_to_twips(inner.width(), dpi);
  const int inner_height = pixels_to_twips(inner.height(), dpi);
  const int result_width = static_cast<int>(inner_width * kResultViewerShare);
  result->setGeometry(0, 0, twips_to_pixels(result_width, dpi), inner.height());
  log->setGeometry(twips_to_pixels(result_width + 1, dpi), 0,
                   twips_to_pixels(inner_width - result_width, dpi),
                   twips_to_pixels(inner_height, dpi));
}

// The working folder's "ツバクロ.HLP" is meant for a help viewer this platform
// does not have; the manual compiled into the program takes its place.
void MainWindow::show_help() {
  if (!help_window_) {
    load_resources();
    help_window_ = new HelpWindow(QUrl(QStringLiteral("qrc:/tsubakuro/manual.html")), this);
  }
  help_window_->show();
  help_window_->raise();
  help_window_->activateWindow();
}

void MainWindow::show_about() {
  AboutWindow about(app_, this);
  about.exec();
}

void MainWindow::store_geometry() {
  const double dpi = logical_dpi(this);
  // A minimized window has no useful place of its own; keep the one it will
  // be restored to.
  const QRect place = isMinimized() ? normalGeometry() : QRect(pos(), size());
  const int slot = static_cast<int>(WindowSlot::Main);
  app_.system.window_top[slot] = pixels_to_twips(place.y(), dpi);
  app_.system.window_left[slot] = pixels_to_twips(place.x(), dpi);
  app_.system.window_height[slot] = pixels_to_twips(place.height(), dpi);
  app_.system.window_width[slot] = pixels_to_twips(place.width(), dpi);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A conversion under way is cancelled by its window closing: 終了 ends the
  // program in one go.
  ending_ = true;
  mdi_area_->closeAllSubWindows();
  for (const QMdiSubWindow* frame : mdi_area_->subWindowList()) {
    if (frame->isVisible()) {
      ending_ = false;
      event->ignore();  // a child refused to close
      return;
    }
  }
  store_geometry();
  // The program ends either way; the user must at least know that this
  // session's settings and window places were not kept.
  if (const Result<void> saved = save_system_settings(app_.system); !saved)
    show_failure(app_, saved.failure());
  event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  enforce_main_minimum();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) enforce_main_minimum();
}

}  // namespace tsubakuro
