#pragma once

// The small window that lists the words missed in the last game, one text per line, and
// empties the program's missed-word list when it closes.

#include <QDialog>

class QPlainTextEdit;

namespace games {

class ResultWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ResultWindow(QWidget* owner);
    ~ResultWindow() override;

    // The report: every entry of the missed-word list followed by CR LF.
    static QString reportText();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPlainTextEdit* report_;
};

// Opens the result window modally over `owner`; returns once it has closed and the
// missed-word list is empty again.
void ShowResultWindow(QWidget* owner);

}  // namespace games
