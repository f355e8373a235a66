#pragma once

// The word-finding games' play area: the animation box seen through the surface the rules
// draw on, with the flower burst of a right answer.

#include <QPointF>
#include <array>

#include "games/word_finder/word_finder_rules.h"

namespace ui {
class AnimationBox;
class AnimationObject;
}  // namespace ui

namespace games {

// One flower's flight: control and end point as offsets from the flower's centre.
struct FlowerFlight {
    QPointF control;
    QPointF end;
};
// The five flights of a burst: two to the right, two to the left, one straight up, all of
// them falling out of the bottom of the window.
const std::array<FlowerFlight, 5>& flowerFlights();
inline constexpr double kFlowerStep = 10.0;     // pixels per step
inline constexpr int kFlowerStepInterval = 30;  // milliseconds per step

// Five flowers from `flower` with their top-left at `at`, each sent on its flight. Returns
// their sprite ids in flight order.
std::array<int, 5> RunFlowerBurst(ui::AnimationBox& box, const ui::AnimationObject& flower,
                                  QPoint at);

class PlayArea : public FinderSurface {
  public:
    PlayArea(ui::AnimationBox& box, const ui::AnimationObject& flower);

    void setFontPointSize(int points) override;
    int textWidth(const QString& text) const override;
    void drawText(int x, int y, const QString& text) override;
    void clearAll() override;
    void flowerBurst(QPoint at) override;

  private:
    ui::AnimationBox& box_;
    const ui::AnimationObject& flower_;
};

}  // namespace games
