#pragma once

#include <QByteArray>

namespace sound {

// A complete RIFF/WAVE file image held in memory. Clips built into the program wrap the
// embedded bytes without copying (QByteArray::fromRawData); copies share the same bytes.
using SoundClip = QByteArray;

// Plays clips asynchronously. Starting a clip never stops another one; stopAll() ends every
// clip, looped ones included. A clip that cannot be decoded plays nothing.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void play(const SoundClip& clip) = 0;
    virtual void playLooped(const SoundClip& clip) = 0;
    virtual void stopAll() = 0;
    // A hint that these clips may be played soon (for example the clips of the page just
    // shown); an implementation may decode them ahead. Never required for correctness.
    virtual void prepare(const QList<SoundClip>& clips) { Q_UNUSED(clips); }
};

}  // namespace sound
