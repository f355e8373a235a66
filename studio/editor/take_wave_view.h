#pragma once

// A take's waveform with its cuts: each line's clip tinted and numbered, its boundaries drawn as
// handles the teacher drags. A click inside a clip asks for it to be played; while the take
// plays, a cursor shows where it is.

#include <QVector>
#include <QWidget>

namespace studio {
namespace voice {
class PageTake;
}

class TakeWaveView : public QWidget {
    Q_OBJECT

  public:
    explicit TakeWaveView(voice::PageTake* take, QWidget* parent = nullptr);

    // The take's samples or cuts changed.
    void refresh();
    // The play cursor at this sample; -1 hides it.
    void setCursorSample(qsizetype sample);
    // The x of a sample and the sample at an x.
    int xOfSample(qsizetype sample) const;
    qsizetype sampleAtX(int x) const;

  signals:
    void clipClicked(int line);
    void cutsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct Grab {
        int line = -1;
        bool start = false;
    };
    Grab boundaryAt(int x) const;
    void makeEnvelope();

    voice::PageTake* take_;
    QVector<float> low_;
    QVector<float> high_;
    qsizetype cursor_ = -1;
    Grab dragging_;
};

}  // namespace studio
