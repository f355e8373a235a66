#include "games/common/unit_selector.h"

#include "book/vocabulary.h"
#include "ui/control_builders.h"

namespace games {

ui::ComboBox* addUnitSelector(QWidget* parent, const QString& name, QRect geometry) {
    ui::ComboBox* selector = ui::addComboBox(parent, name, geometry);
    for (int unit = book::kFirstUnit; unit <= book::unitCount(); ++unit)
        selector->addItem(book::unitName(unit), unit);
    selector->setCurrentIndex(0);
    selector->resize(geometry.width(), std::max(geometry.height(), selector->sizeHint().height()));
    return selector;
}

int selectedUnit(const QComboBox* selector) {
    return selector->currentIndex() < 0 ? 0 : selector->currentData().toInt();
}

}  // namespace games
