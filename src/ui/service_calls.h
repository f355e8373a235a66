#pragma once

// Short calls on the installed platform services for the windows' event handlers. Each one
// does nothing when its service is missing, so a window works silently without sound.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/services.h"

namespace ui {

inline void playClip(const sound::SoundClip& clip) {
    if (sound::Sound* sound = services().sound; sound && !clip.isEmpty()) sound->play(clip);
}

inline void playClipLooped(const sound::SoundClip& clip) {
    if (sound::Sound* sound = services().sound; sound && !clip.isEmpty()) sound->playLooped(clip);
}

inline void stopAllClips() {
    if (sound::Sound* sound = services().sound) sound->stopAll();
}

inline void reseedRandom() {
    if (Random* random = services().random) random->reseed();
}

// A draw from [low, high], kept inside that range whatever the generator answers.
inline int drawBetween(int low, int high) {
    Random* random = services().random;
    if (!random || high < low) return low;
    return qBound(low, random->between(low, high), high);
}

// Shows a modal message box with an OK button; an empty `caption` is shown as it is, a
// null one as "信息：".
inline void showMessage(QWidget* parent, const QString& text, const QString& caption = {}) {
    if (MessageBoxes* messages = services().messages) messages->show(parent, {text, caption});
}

// Pauses while a clip plays. False when `window` was closed or destroyed meanwhile: whatever
// the window would have done next is then left undone, so nothing sounds after it is gone.
inline bool pauseWhileOpen(QWidget* window, int milliseconds) {
    QPointer<QWidget> alive(window);
    if (Pauser* pauser = services().pauser) pauser->pause(milliseconds);
    return !alive.isNull() && alive->isVisible();
}

}  // namespace ui
