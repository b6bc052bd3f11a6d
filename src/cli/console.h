#pragma once

#include <QString>

#include "settings/notifier.h"

namespace tsubakuro::cli {

// The converter speaks UTF-8 on the terminal, whatever the files hold (CP932).
void print_out(const QString& text);    // standard output, a line end appended
void print_error(const QString& text);  // standard error, a line end appended

// Messages the desktop program shows in a dialog: "title: message" on standard
// error. Remembers whether it said anything, so a failure is told only once.
class StderrNotifier : public Notifier {
 public:
  void show_notice(const QString& title, const QString& message) override;
  bool has_spoken() const { return has_spoken_; }

 private:
  bool has_spoken_ = false;
};

}  // namespace tsubakuro::cli
