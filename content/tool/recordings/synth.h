#pragma once

// The tool's own sounds, made from simple notes rather than recorded: the games' feedback
// sounds, the matching game's music and the book's sound effects.

#include <QList>
#include <QString>
#include <QStringList>

namespace tool {

// Synthesises one of the named non-speech sounds as 16-bit mono samples at `sampleRate`;
// empty for an unknown name. The feedback sounds: chime, buzz, click, pop, sparkle, bonk, tick;
// the matching game's music: tune; the book's sound effects: doorbell, bark, burst, drum,
// lalala.
QList<qint16> synthesise(const QString& recipe, int sampleRate);
// The recipes' names.
const QStringList& soundRecipes();
// Whether a recipe is played looped (its length is kept as it is).
bool isLoopRecipe(const QString& recipe);
// The rate the recipes are made at before they are finished into their codec.
inline constexpr int kSynthRate = 44100;

}  // namespace tool
