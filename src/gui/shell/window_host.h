#pragma once

#include <QString>
#include <Qt>

class QMdiSubWindow;
class QWidget;

namespace tsubakuro {

// What a child window may ask of the frame that holds it. The main window
// implements it; windows reach it through AppState::host and never include the
// main window, so the frame can change without touching them.
class WindowHost {
 public:
  // The parent of message dialogs and the like.
  virtual QWidget* host_widget() = 0;
  // Frames `child` in the MDI area and shows it; the child deletes itself when
  // closed. `flags` are the frame's window flags, as for QMdiArea::addSubWindow.
  virtual QMdiSubWindow* show_child(QWidget* child, Qt::WindowFlags flags = {}) = 0;
  // The frame of the open child window named `object_name`, or null.
  virtual QMdiSubWindow* child_frame(const QString& object_name) const = 0;
  virtual void open_log_viewer() = 0;
  // The current company or transfer kind changed: the title shows them.
  virtual void company_changed() = 0;
  // A child window opened or closed: the menus' enabled states follow.
  virtual void menus_changed() = 0;
  // A child window grew: the frame keeps it within reach.
  virtual void enforce_main_minimum() = 0;
  // The program is ending (終了): windows closing now stop their work without
  // asking or telling the user anything more.
  virtual bool ending() const = 0;

 protected:
  ~WindowHost() = default;
};

}  // namespace tsubakuro
