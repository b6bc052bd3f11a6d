#pragma once

#include <QComboBox>
#include <QString>

namespace tsubakuro {

// An editable drop-down list that stands for one value. The entry that reads
// like its text is the selected one, so ↑, ↓ and the wheel step on from the
// value shown, not from the top of the list. The wheel turns it only while it
// has the keyboard focus: scrolling a window past it must never change a value.
// Typed text is never completed from the entries; what the user typed is what
// is taken.
class ChoiceList : public QComboBox {
  Q_OBJECT

 public:
  explicit ChoiceList(QWidget* parent = nullptr);

  // Shows `value`: the entry that reads exactly so is selected, or, when none
  // does, the text stands alone with no entry selected.
  void set_value(const QString& value);

  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Typing changes the text but not the selection; before the list steps, the
  // selection catches up with what the text reads.
  void select_entry_of_text();
};

}  // namespace tsubakuro
