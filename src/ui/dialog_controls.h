// The small pieces the dialogs are built from: controls named after their
// resource id ("id<n>", by which tests find them), buttons that Enter does not
// press, labels that lead to their field, drop-down lists as wide as their
// lines.
#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kvqt {

// "id<n>".
QString ControlName(int id);

template <typename T>
T* Named(T* widget, int id) {
  widget->setObjectName(ControlName(id));
  return widget;
}

// A button named by its id that is not the dialog's default: Enter in a
// field never presses it.
QPushButton* PlainButton(const QString& text, int id, QWidget* parent);
// A label whose mnemonic leads to `buddy`; named by `id` when it has one.
QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent, int id = 0);
// The drop-down list as wide as its widest line and 8 pixels more, so long
// directory paths show in full even when the combo itself is narrower.
void FitDropDown(QComboBox* combo);

}  // namespace kvqt
