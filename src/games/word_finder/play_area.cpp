#include "games/word_finder/play_area.h"

#include "ui/animation_box.h"

namespace games {

const std::array<FlowerFlight, 5>& flowerFlights() {
    static const std::array<FlowerFlight, 5> flights{{
        {{100, -200}, {100, 600}},
        {{100, -400}, {100, 600}},
        {{-100, -200}, {-100, 600}},
        {{-100, -400}, {-100, 600}},
        {{0, -500}, {0, 600}},
    }};
    return flights;
}

std::array<int, 5> RunFlowerBurst(ui::AnimationBox& box, const ui::AnimationObject& flower,
                                  QPoint at) {
    std::array<int, 5> ids{};
    ids[0] = box.createSprite(flower, at);
    for (int i = 1; i < 5; ++i) ids[i] = box.copySprite(ids[0]);
    box.setStepInterval(kFlowerStepInterval);
    for (int i = 0; i < 5; ++i)
        box.flySprite(ids[i], flowerFlights()[i].control, flowerFlights()[i].end, kFlowerStep);
    return ids;
}

PlayArea::PlayArea(ui::AnimationBox& box, const ui::AnimationObject& flower)
    : box_(box), flower_(flower) {}

void PlayArea::setFontPointSize(int points) {
    box_.setFontPointSize(points);
}

int PlayArea::textWidth(const QString& text) const {
    return box_.textWidth(text);
}

void PlayArea::drawText(int x, int y, const QString& text) {
    box_.drawText(x, y, text);
}

void PlayArea::clearAll() {
    box_.clearRect(QRect(0, 0, 800, 600));
}

void PlayArea::flowerBurst(QPoint at) {
    RunFlowerBurst(box_, flower_, at);
}

}  // namespace games
