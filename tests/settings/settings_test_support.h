#pragma once

#include <sys/resource.h>

#include <QList>
#include <QPair>
#include <QString>
#include <csignal>

#include "settings/notifier.h"

namespace tsubakuro::testing {

class RecordingNotifier : public Notifier {
 public:
  void show_notice(const QString& title, const QString& message) override {
    notices.append({title, message});
  }
  QList<QPair<QString, QString>> notices;
};

// Makes every write beyond `bytes` fail for as long as it lives. Unlike
// permission bits this stops root too, and it fails a write half way, which is
// what a full disk does to a settings file.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

}  // namespace tsubakuro::testing
