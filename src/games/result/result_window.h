#pragma once

// The small window that lists the words missed in the last game, one text per line, and
// empties the missed-word list when it closes.

#include <QDialog>

#include "games/common/missed_words.h"

class QPlainTextEdit;

namespace games {

class ResultWindow : public QDialog {
    Q_OBJECT
  public:
    ResultWindow(QWidget* owner, MissedWords& missed);
    ~ResultWindow() override;

    // The report: every entry of the missed-word list followed by CR LF.
    QString reportText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    MissedWords& missed_;
    QPlainTextEdit* report_;
};

// Opens the result window modally over `owner`; returns once it has closed and the
// missed-word list is empty again.
void ShowResultWindow(QWidget* owner, MissedWords& missed);

}  // namespace games
