#pragma once

// Every question and message the studio puts to the teacher goes through StudioPrompts, so that
// a test answers the questions and records the messages instead of a person.

#include <QMessageBox>
#include <QString>

class QWidget;

namespace studio {

class StudioPrompts {
  public:
    virtual ~StudioPrompts() = default;
    // A message that needs no answer (something went wrong, nothing was changed).
    virtual void tell(const QString& text) = 0;
    // A question; returns the button chosen (`cancel` when the window is closed).
    virtual QMessageBox::StandardButton ask(const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton cancel) = 0;
    // A folder or a file the teacher picks; empty when she cancels.
    virtual QString chooseFolder(const QString& caption) = 0;
    virtual QString chooseFile(const QString& caption, const QString& filter) = 0;
};

// The real dialogs, over `parent`.
class DialogPrompts : public StudioPrompts {
  public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}
    void tell(const QString& text) override;
    QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton cancel) override;
    QString chooseFolder(const QString& caption) override;
    QString chooseFile(const QString& caption, const QString& filter) override;

  private:
    QWidget* parent_;
};

}  // namespace studio
