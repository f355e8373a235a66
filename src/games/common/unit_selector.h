#pragma once

#include "ui/controls.h"

namespace games {

// The word games' unit selector: the book's units by name with their numbers (1 to the unit
// count) as item data, the first selected. Its height is at least what the face needs to show
// its text.
ui::ComboBox* addUnitSelector(QWidget* parent, const QString& name, QRect geometry);

// The unit number of the selected item (its item data), 0 when none is selected.
int selectedUnit(const QComboBox* selector);

}  // namespace games
