#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "reader/reader_layout.h"
#include "ui/controls.h"
#include "ui/draw_panel.h"
#include "ui/sound.h"

namespace reader {

// The program title, shown as the start window's title and in the reader's banner.
extern const char* const kProgramTitle;

// The window where the child works with the book: one screen at a time (a page of the book or
// the word dictation screen) above a toolbar.
class ReaderWindow : public QDialog {
    Q_OBJECT
  public:
    // Result of exec() when the window closed to be opened again in the other mode.
    static constexpr int kReopen = 2;

    // `loadingPicture` is the start window's loading picture, shown while a reader is being
    // made and hidden once it is ready (may be null).
    explicit ReaderWindow(QWidget* loadingPicture = nullptr, QWidget* parent = nullptr);
    ~ReaderWindow() override;

    // Navigation and toolbar operations.
    void ShowScreen(int screen);
    int shownScreen() const;
    void GoToPreviousPage();
    void GoToNextPage();
    void ChooseSection();
    void SetExerciseOverlays(const QString& mode);
    void HideAnswerMarks();
    void ToggleChineseHint();
    void ToggleFullScreen();
    void ExitProgram();
    void EnterDictation();
    void LeaveDictation();

    // Click-to-read: plays the clip and shows the translation beside the pressed hotspot.
    void ReadHotspot(QWidget* source, const ui::SoundClip& clip, const QString& text);

    ui::PageContainer* pageContainer() const { return container_; }
    ui::PictureBox* screenPicture(int screen) const;
    ui::Label* bubble() const { return bubble_; }
    ui::DrawPanel* banner() const { return banner_; }
    const LayoutScale& layout() const { return scale_; }

  signals:
    // Raised when an exercise overlay is pressed, with the press relative to the overlay.
    void overlayPressed(int page, QPoint position);
    // Raised by the launch buttons whose features live outside the reader.
    void practiceRequested();
    void findItRequested();
    void gameRequested(const QString& buttonName);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnReaderCreated();
    void LayoutReader();
    void OnScreenChanged(int screen);
    void LeaveShownPage();
    void BannerTick();

    void buildScreens();
    void buildPage(int screen);
    void buildToolbar();
    ui::SuperButton* addToolbarButton(const QString& name, int left, const QString& text);
    // A button that opens a game window (the games connect to gameRequested).
    void addLaunchButton(const QString& name, int left, const QString& text);
    void prepareNeighbours();

    QWidget* loadingPicture_;
    ui::PageContainer* container_ = nullptr;
    ui::GroupBox* toolbar_ = nullptr;
    ui::Label* bubble_ = nullptr;
    ui::PictureBox* markTemplate_ = nullptr;
    ui::DrawPanel* banner_ = nullptr;
    ui::ComboBox* sections_ = nullptr;
    QTimer* bannerTimer_ = nullptr;
    QList<ui::PictureBox*> screens_;
    LayoutScale scale_;
    bool exiting_ = false;
};

// Opens the reader modally over `owner` and opens it again after a change of screen mode.
void OpenReader(QWidget* owner, QWidget* loadingPicture);

}  // namespace reader
