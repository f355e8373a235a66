#pragma once

#include <QString>

namespace games {

// A message box a game asks its window to show: its text and its caption. A null caption gives
// the default "信息：", an empty one an empty caption.
struct GameMessage {
    QString text;
    QString caption;

    friend bool operator==(const GameMessage&, const GameMessage&) = default;
};

}  // namespace games
