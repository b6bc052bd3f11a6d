#include "gui/shell/window_routine.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>

#include "gui/shell/twips.h"

namespace tsubakuro {

namespace {

int index_of(WindowSlot slot) { return static_cast<int>(slot); }

bool keeps_size(WindowSlot slot) {
  return slot == WindowSlot::Main || slot == WindowSlot::ResultViewer ||
         slot == WindowSlot::LogViewer;
}

bool is_viewer(WindowSlot slot) {
  return slot == WindowSlot::ResultViewer || slot == WindowSlot::LogViewer;
}

bool counts_itself(WindowSlot slot) {
  return slot != WindowSlot::Main && slot != WindowSlot::Message;
}

void refresh_menus(AppState& app) {
  if (app.host) app.host->menus_changed();
}

const char kNormalGeometryProperty[] = "tsubakuro_normal_geometry";

// Qt keeps an MDI frame's place before it was minimized or maximized to itself.
// The window routine needs it: a window closed minimized keeps the place it will
// be restored to, and a viewer closed maximized reopens maximized over its
// normal size. So the place is remembered on every move and resize in the
// normal state.
class NormalGeometryTracker : public QObject {
 public:
  explicit NormalGeometryTracker(QWidget* frame) : QObject(frame), frame_(frame) {
    remember();
    frame->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == frame_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
      remember();
    }
    return false;
  }

 private:
  void remember() {
    if (frame_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
    frame_->setProperty(kNormalGeometryProperty, QRect(frame_->pos(), frame_->size()));
  }

  QWidget* frame_;
};

QRect normal_geometry(const QWidget* frame) {
  const QVariant remembered = frame->property(kNormalGeometryProperty);
  return remembered.isValid() ? remembered.toRect() : QRect(frame->pos(), frame->size());
}

}  // namespace

QWidget* window_frame(QWidget* window) {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) return frame;
  return window;
}

void window_opened(AppState& app, QWidget* window, WindowSlot slot) {
  const int i = index_of(slot);
  if (counts_itself(slot)) app.open_windows.add(slot, 1);
  refresh_menus(app);

  QWidget* frame = window_frame(window);
  const SystemSettings& settings = app.system;
  const double dpi = logical_dpi(frame);
  frame->move(twips_to_pixels(settings.window_left[i], dpi),
              twips_to_pixels(settings.window_top[i], dpi));
  bool maximize = false;
  if (keeps_size(slot)) {
    int height = settings.window_height[i];
    int width = settings.window_width[i];
    if (is_viewer(slot) && height < 0) {
      maximize = true;
      height = -height;
      width = -width;
    }
    frame->resize(twips_to_pixels(width, dpi), twips_to_pixels(height, dpi));
  }
  keep_on_screen(frame);
  new NormalGeometryTracker(frame);
  if (maximize) frame->setWindowState(frame->windowState() | Qt::WindowMaximized);
}

void window_closed(AppState& app, QWidget* window, WindowSlot slot) {
  const int i = index_of(slot);
  QWidget* frame = window_frame(window);
  SystemSettings& settings = app.system;
  const double dpi = logical_dpi(frame);
  const bool minimized = frame->windowState() & Qt::WindowMinimized;
  const bool maximized = frame->windowState() & Qt::WindowMaximized;
  const QRect normal = normal_geometry(frame);
  const QPoint position = minimized ? normal.topLeft() : frame->pos();
  settings.window_top[i] = pixels_to_twips(position.y(), dpi);
  settings.window_left[i] = pixels_to_twips(position.x(), dpi);
  if (slot != WindowSlot::Conversion) {
    const QSize size = is_viewer(slot) || minimized ? normal.size() : frame->size();
    const int sign = is_viewer(slot) && maximized ? -1 : 1;
    settings.window_height[i] = sign * pixels_to_twips(size.height(), dpi);
    settings.window_width[i] = sign * pixels_to_twips(size.width(), dpi);
  }
  if (counts_itself(slot)) app.open_windows.add(slot, -1);
  refresh_menus(app);
}

void keep_on_screen(QWidget* window) {
  QWidget* frame = window_frame(window);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Compared in pixels: the same rule as in twips, without rounding a window
  // that already fits by a pixel.
  const QSize screen_size = screen->geometry().size();
  int left = frame->x();
  int top = frame->y();
  if (left + frame->width() > screen_size.width()) left = screen_size.width() - frame->width();
  if (left < 0) left = 0;
  if (top + frame->height() > screen_size.height()) top = screen_size.height() - frame->height();
  if (top < 0) top = 0;
  if (left != frame->x() || top != frame->y()) frame->move(left, top);
}

}  // namespace tsubakuro
