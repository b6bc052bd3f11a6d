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

bool is_child_frame(const QWidget* frame) { return !frame->isWindow() && frame->parentWidget(); }

// A size below the minimum was never one a user chose: the windows grow to
// their minimum on every resize, so only a settings file that holds none (the
// first start) or a damaged one gives it.
bool is_saved_size(WindowSlot slot, int width, int height) {
  const QSize minimum = minimum_size_twips(slot);
  return width > 0 && height > 0 && width >= minimum.width() && height >= minimum.height();
}

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
  const QRect area = reachable_area(frame);
  bool maximize = false;
  if (keeps_size(slot)) {
    int height = settings.window_height[i];
    int width = settings.window_width[i];
    if (is_viewer(slot) && height < 0) {
      maximize = true;
      height = -height;
      width = -width;
    }
    if (is_saved_size(slot, width, height)) {
      frame->resize(twips_to_pixels(width, dpi), twips_to_pixels(height, dpi));
    } else if (slot == WindowSlot::Main) {
      const QSize size = first_start_main_size(area.size());
      frame->resize(size);
      frame->move(area.x() + (area.width() - size.width()) / 2,
                  area.y() + (area.height() - size.height()) / 2);
    } else {
      frame->resize(frame->sizeHint());
    }
  } else if (is_child_frame(frame) && window->layout()) {
    frame->resize(frame->sizeHint());
  }
  if (is_child_frame(frame) && area.isValid()) frame->resize(frame->size().boundedTo(area.size()));
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
  const QRect area = reachable_area(frame);
  if (!area.isValid()) return;
  // Compared in pixels: the same rule as in twips, without rounding a window
  // that already fits by a pixel.
  int left = frame->x();
  int top = frame->y();
  const int right = area.x() + area.width();
  const int bottom = area.y() + area.height();
  if (left + frame->width() > right) left = right - frame->width();
  if (left < area.x()) left = area.x();
  if (top + frame->height() > bottom) top = bottom - frame->height();
  if (top < area.y()) top = area.y();
  if (left != frame->x() || top != frame->y()) frame->move(left, top);
}

QSize minimum_size_twips(WindowSlot slot) {
  switch (slot) {
    case WindowSlot::Main:
      return {4000, 4500};
    case WindowSlot::ResultViewer:
      return {3000, 4200};
    case WindowSlot::LogViewer:
      return {1750, 2800};
    default:
      return {};
  }
}

QSize first_start_main_size(const QSize& available) {
  constexpr QSize kFirstStartSize(1024, 768);
  constexpr double kScreenShare = 0.9;
  if (available.isEmpty()) return kFirstStartSize;
  return kFirstStartSize.boundedTo(QSize(static_cast<int>(available.width() * kScreenShare),
                                         static_cast<int>(available.height() * kScreenShare)));
}

QRect reachable_area(const QWidget* window) {
  const QWidget* frame = window;
  if (const auto* mdi_frame = qobject_cast<const QMdiSubWindow*>(window->parentWidget()))
    frame = mdi_frame;
  // The work area is the MDI area's viewport, which a child frame lives in.
  // Before the main window shows, its viewport has no size of its own yet;
  // the screen's then stands in.
  if (is_child_frame(frame) && frame->parentWidget()->isVisible())
    return frame->parentWidget()->rect();
  const QScreen* screen =
      frame->isWindow() && frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect available = screen->availableGeometry();
  return frame->isWindow() ? available : QRect(QPoint(0, 0), available.size());
}

}  // namespace tsubakuro
