#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace tsubakuro::cli {

// A one-line progress bar on standard error, redrawn at most ten times a second.
// It shows only on a terminal and only for an input large enough to take a while,
// so logs and pipes never see it.
class ProgressBar {
 public:
  // input_size: the input's size in bytes, the run's progress maximum.
  explicit ProgressBar(qint64 input_size);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void update(qint64 value, qint64 rows);
  // Clears the line, so the outcome is printed where the bar stood.
  void finish();

 private:
  void draw(qint64 value, qint64 rows);

  bool shown_;
  bool drawn_ = false;
  qint64 maximum_;
  int last_permille_ = -1;
  QElapsedTimer since_draw_;
};

}  // namespace tsubakuro::cli
