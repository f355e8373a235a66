#pragma once

#include "ui/controls.h"

namespace games {

// The word games' unit selector: "Unit 1" to "Unit 6" with the unit numbers 1 to 6 as item
// data, "Unit 1" selected. Its height is at least what the face needs to show its text.
ui::ComboBox* addUnitSelector(QWidget* parent, const QString& name, QRect geometry);

// The unit number of the selected item (its item data), 0 when none is selected.
int selectedUnit(const QComboBox* selector);

}  // namespace games
