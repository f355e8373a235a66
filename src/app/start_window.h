#pragma once

#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <future>

#include "app/features.h"
#include "ui/controls.h"
#include "ui/draw_panel.h"

namespace app {

// The project's home page, opened when the banner is pressed and named in its text.
extern const char* const kHomePage;
QString startBannerText();

// The program's main window: the book cover, a short description, common questions, the
// scrolling banner and the button that opens the reader.
class StartWindow : public QWidget {
    Q_OBJECT
  public:
    explicit StartWindow(QWidget* parent = nullptr);

    void StartLearning();
    // Opens the reader on `screen` as soon as the event loop runs (qcbook --page N), as if the
    // start button had been pressed there.
    void openReaderAt(int screen);
    void OpenVendorSite();
    void BannerMoveLeft();
    void BannerMoveRight();
    int bannerOffset() const { return bannerOffset_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void OnStartWindowCreated();
    void buildControls();

    // The background picture, decoded at the window's size on a worker thread while the
    // controls are made; taken over at the first paint.
    std::future<QImage> backgroundDecoding_;
    QPixmap background_;
    ui::DrawPanel* banner_ = nullptr;
    ui::PictureBox* loading_ = nullptr;
    QTimer* moveLeft_ = nullptr;
    QTimer* moveRight_ = nullptr;
    int bannerOffset_ = 0;
    ProgramSession session_;
};

}  // namespace app
