#pragma once

#include <QWidget>

#include "gui/shell/app_state.h"
#include "gui/shell/window_slots.h"

namespace tsubakuro {

// The routine every window with a slot follows. `window` is the window's own
// widget; when it lives in the main window's MDI area the geometry is that of
// its QMdiSubWindow frame (see window_frame).

// Counts the window open (not the main window, slot 0, nor the message dialogs,
// slot 9), refreshes the main menus, restores top and left from the slot (and
// height and width for the main window and the viewers, slots 0, 7 and 8) and
// keeps it on screen. A viewer saved with negative sizes was closed maximized:
// it gets the sizes without their sign as its normal size and opens maximized.
//
// Where the slot holds no size (zero, or below the window's minimum), the
// window opens at a size that shows its content: the main window at
// first_start_main_size, centred on the screen; a viewer at its size hint. A
// child window never opens larger than the main window's work area; what does
// not fit scrolls inside it.
void window_opened(AppState& app, QWidget* window, WindowSlot slot);

// Stores top, left, height and width in the slot (slot 6: top and left only; a
// maximized viewer: its normal size with a minus sign), counts the window closed,
// refreshes the main menus.
void window_closed(AppState& app, QWidget* window, WindowSlot slot);

// Pulls the window back inside the area it can be reached in: a child window
// inside the main window's visible work area, any other window inside the
// screen's available area. Right and bottom edges first, then left and top.
void keep_on_screen(QWidget* window);

// The smallest size in twips the main window and the viewers keep (slots 0, 7
// and 8); an empty size for the other windows.
QSize minimum_size_twips(WindowSlot slot);

// The main window's size when none is saved: 1024 × 768 pixels, or 90% of the
// screen's available area where that is smaller.
QSize first_start_main_size(const QSize& available);

// Where a window must stay to be reached: the main window's visible work area
// for a child window in it, else the available area of the screen.
QRect reachable_area(const QWidget* window);

// The widget whose geometry the user sees: the MDI frame around a child window,
// or the window itself.
QWidget* window_frame(QWidget* window);

}  // namespace tsubakuro
