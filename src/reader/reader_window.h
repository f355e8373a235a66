#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "reader/reader_layout.h"
#include "reader/reader_session.h"
#include "sound/sound.h"
#include "ui/controls.h"
#include "ui/draw_panel.h"

namespace reader {

// The toolbar buttons whose features live outside the reader.
enum class ReaderTool {
    Practice,          // 练一练
    FindIt,            // 找一找
    FillIn,            // 填一填
    SentenceOrder,     // 句子排序
    Match,             // 连连看
    WordSpell,         // 单词排序
    ChineseToEnglish,  // 汉找英
    EnglishToChinese,  // 英找汉
};

// The window where the child works with the book: one screen at a time (a page of the book or
// the word dictation screen) above a toolbar.
class ReaderWindow : public QDialog {
    Q_OBJECT
  public:
    // Result of exec() when the window closed to be opened again in the other mode.
    static constexpr int kReopen = 2;

    // Called once the window's screens and toolbar exist and before the first layout, so
    // that what is attached (the exercises, their controls on the screens) is laid out too.
    using Attach = std::function<void(ReaderWindow&)>;

    // `loadingPicture` is the start window's loading picture, shown while a reader is being
    // made and hidden once it is ready (may be null).
    explicit ReaderWindow(ReaderSession& session, const Attach& attach = {},
                          QWidget* loadingPicture = nullptr, QWidget* parent = nullptr);
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
    void ReadHotspot(QWidget* source, const sound::SoundClip& clip, const QString& text);

    ReaderSession& session() const { return session_; }
    ui::PageContainer* pageContainer() const { return container_; }
    ui::PictureBox* screenPicture(int screen) const;
    // The hotspots of a book screen in the page's order (on a page with entries, index i holds
    // entry i + 1's); none for the dictation screen.
    QList<ui::TransparentLabel*> hotspotsOf(int screen) const;
    ui::Label* bubble() const { return bubble_; }
    ui::DrawPanel* banner() const { return banner_; }
    const LayoutScale& layout() const { return scale_; }

  signals:
    // Raised when an exercise overlay is pressed, with the press relative to the overlay.
    void overlayPressed(int page, QPoint position);
    // Raised by the toolbar buttons whose features live outside the reader.
    void toolRequested(ReaderTool tool);
    // Raised when the shown page is left (a page turn, a section choice, the dictation
    // screen), after its overlays stopped taking presses and its lists were emptied.
    void pageLeft();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnReaderCreated();
    void LayoutReader();
    void OnScreenChanged(int screen);
    // The page buttons only on a page with entries; next and previous where there is a page.
    void enableToolbarFor(int screen);
    void LeaveShownPage();
    void BannerTick();

    void buildScreens();
    void buildPage(int screen);
    void buildToolbar();
    ui::SuperButton* addToolbarButton(const QString& name, int left, const QString& text);
    // A button whose feature lives outside the reader: it raises toolRequested.
    void addToolButton(const QString& name, int left, const QString& text, ReaderTool tool);
    void prepareNeighbours();

    ReaderSession& session_;
    QWidget* loadingPicture_;
    ui::PageContainer* container_ = nullptr;
    ui::GroupBox* toolbar_ = nullptr;
    ui::Label* bubble_ = nullptr;
    ui::PictureBox* markTemplate_ = nullptr;
    ui::DrawPanel* banner_ = nullptr;
    ui::ComboBox* sections_ = nullptr;
    QTimer* bannerTimer_ = nullptr;
    QList<ui::PictureBox*> screens_;
    QList<QList<ui::TransparentLabel*>> hotspots_;  // per screen, in the page's order
    LayoutScale scale_;
    bool exiting_ = false;
};

// Opens the reader modally over `owner` and opens it again after a change of screen mode;
// every window it makes has `attach` called on it.
void OpenReader(QWidget* owner, QWidget* loadingPicture, ReaderSession& session,
                const ReaderWindow::Attach& attach);

}  // namespace reader
