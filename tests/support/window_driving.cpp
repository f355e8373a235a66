#include "support/window_driving.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

namespace testing_support {

void click(const QObject* root, const QString& name) {
    if (auto* button = control<QAbstractButton>(root, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

QString labelText(const QObject* root, const QString& name) {
    const QLabel* label = control<QLabel>(root, name);
    return label ? label->text() : QString();
}

}  // namespace testing_support
