#include <QCoreApplication>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/convert_command.h"
#include "cli/results_command.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  using namespace tsubakuro::cli;

  const ParsedCommandLine parsed = parse_command_line(application.arguments().mid(1));
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
  return run_convert(parsed.request);
}
