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
void window_opened(AppState& app, QWidget* window, WindowSlot slot);

// Stores top, left, height and width in the slot (slot 6: top and left only; a
// maximized viewer: its normal size with a minus sign), counts the window closed,
// refreshes the main menus.
void window_closed(AppState& app, QWidget* window, WindowSlot slot);

// Pulls the window back inside the screen (twips against the primary screen):
// right and bottom edges first, then left and top.
void keep_on_screen(QWidget* window);

// The widget whose geometry the user sees: the MDI frame around a child window,
// or the window itself.
QWidget* window_frame(QWidget* window);

}  // namespace tsubakuro
