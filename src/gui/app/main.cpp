// ツバクロ, the desktop program: prepares the shared records, reads "tbk.ini",
// shows the splash window and then the main window, and ends when that closes.

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "core/settings/bank_rules_settings.h"
#include "core/settings/system_settings.h"
#include "gui/app/main_window.h"
#include "gui/app/splash_window.h"
#include "gui/app/version.h"
#include "gui/shell/app_state.h"
#include "gui/shell/fixed_font.h"
#include "gui/shell/resources.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ツバクロ"));
  QApplication::setApplicationVersion(tsubakuro::version_number());
  QApplication::setDesktopFileName(QStringLiteral("io.github.tsubakuro.Tsubakuro"));
  tsubakuro::load_resources();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tsubakuro/icon.png")));
  QApplication::setFont(tsubakuro::caption_font());

  tsubakuro::AppState app;
  app.open_windows.reset();
  tsubakuro::init_field_dictionary(app.system);
  tsubakuro::prepare_program_settings_on_first_start();
  tsubakuro::load_system_settings(app.system);

  {
    tsubakuro::SplashWindow splash;
    splash.exec();
  }

  auto* main_window = new tsubakuro::MainWindow(app);
  main_window->setAttribute(Qt::WA_DeleteOnClose);
  // The help window may still be open; the program ends with the main window.
  QObject::connect(main_window, &QObject::destroyed, &application, &QApplication::quit);
  main_window->show();
  QTimer::singleShot(0, main_window, &tsubakuro::MainWindow::tell_start_problems);
  return application.exec();
}
