#include "gui/shell/choice_list.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace tsubakuro {

ChoiceList::ChoiceList(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // A typed value is the value; it never joins the entries.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  // Focus by click or Tab, never by the wheel passing over it.
  setFocusPolicy(Qt::StrongFocus);
}

void ChoiceList::set_value(const QString& value) {
  const int entry = findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
  setCurrentIndex(entry);
  if (entry < 0) setEditText(value);
}

void ChoiceList::select_entry_of_text() {
  const QString text = currentText();
  if (currentIndex() >= 0 && itemText(currentIndex()) == text) return;
  const int entry = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0) {
    setCurrentIndex(entry);
    return;
  }
  // A text that is no entry steps to the first entry, whatever was selected
  // before it was typed; the text itself stays until the list steps.
  setCurrentIndex(-1);
  setEditText(text);
}

void ChoiceList::showPopup() {
  select_entry_of_text();
  QComboBox::showPopup();
}

void ChoiceList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      select_entry_of_text();
      break;
    default:
      break;
  }
  QComboBox::keyPressEvent(event);
}

void ChoiceList::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    // Left to the window behind, which scrolls.
    event->ignore();
    return;
  }
  select_entry_of_text();
  QComboBox::wheelEvent(event);
}

}  // namespace tsubakuro
