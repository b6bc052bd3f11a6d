#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cstring>
#include <memory>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/convert_command.h"
#include "cli/list_command.h"
#include "cli/results_command.h"

namespace {

// The transfer list is drawn with the machine's fonts, which only a GUI
// application reaches; the converter still opens no window, whatever display
// there is.
bool draws_a_list(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    for (const char* option : {"--print-list", "--list-pdf"}) {
      if (std::strncmp(argv[i], option, std::strlen(option)) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> application;
  if (draws_a_list(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The platform's notes on its runtime folder are not the converter's to print.
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    application = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  using namespace tsubakuro::cli;

  const ParsedCommandLine parsed = parse_command_line(QCoreApplication::arguments().mid(1));
  if (!parsed.error.isEmpty()) {
    print_error(parsed.error);
    return kNotConverted;
  }
  if (parsed.show_help) {
    print_out(help_text());
    return kConverted;
  }
  if (parsed.show_version) {
    print_out(version_text());
    return kConverted;
  }
  if (parsed.results.bank_file) return run_results(parsed.request, parsed.results);
  if (parsed.print_list) return run_print_list(*parsed.print_list, parsed.request.directory);
  return run_convert(parsed.request);
}
