#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/log/last_run.h"
#include "core/settings/bank_rules_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/result.h"

class QLabel;

namespace tsubakuro {

struct AppState;

// What the status bar shows of the current company and kind, gathered from the
// working folder's files by the core's readers.
struct StatusFacts {
  struct List {
    enum class State { NotSet, Missing, Unreadable, Found };
    State state = State::NotSet;
    QString file;  // as the company's settings name it
    QDateTime modified;
    std::optional<qint64> rows;  // the payment rows a run would read
  };

  Result<void> company;  // reading the company's settings
  List list;
  Result<std::optional<LastRun>> last_run = std::optional<LastRun>();
  // The trailer of the bank file that last run wrote, when the file is still it.
  std::optional<qint64> records;
  std::optional<qint64> amount;
};

// The lists and logs already read, by file and its size and time, so that a
// status bar refreshed on every window that closes reads each file once.
class StatusCache;

// Reads the company's settings, surveys its payment list and reads its log. A
// list or log as large as a million rows takes a second: call it off the UI
// thread.
StatusFacts gather_status(const SystemSettings& system, StatusCache& cache);

// The main window's status bar: the current company and kind, the payment list
// the next conversion reads, the banks' rules in force, and the last conversion
// of that kind. refresh() reads again, off the UI thread; whatever changes one
// of them calls it.
class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatusPanel(AppState& app, QWidget* parent = nullptr);
  ~StatusPanel() override;

  void refresh();
  // Whether a refresh is still at work; tests wait for it.
  bool gathering() const { return pending_ > 0 || scheduled_; }

 private:
  void gather();
  void show_facts(const StatusFacts& facts, quint64 generation);

  AppState& app_;
  std::shared_ptr<StatusCache> cache_;
  QLabel* company_ = nullptr;
  QLabel* list_ = nullptr;
  QLabel* rules_ = nullptr;
  QLabel* last_run_ = nullptr;
  quint64 generation_ = 0;
  int pending_ = 0;
  bool scheduled_ = false;
};

}  // namespace tsubakuro
