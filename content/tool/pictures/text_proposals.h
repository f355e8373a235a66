#pragma once

// Hotspots proposed from a page picture: its printed English read with Tesseract, each line of
// text grown to the speech box, card or band printed around it, so that a teacher with a scan
// gets her hotspots outlined and their English filled in for her to accept.

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>

#include "sources/book_profile.h"

namespace tool {

struct TextProposal {
    QRect rect;          // in the 800 x 540 design space
    int confidence = 0;  // 0-100: how sure the reader is of the letters
    QString english;
};

struct ProposalResult {
    QList<TextProposal> proposals;  // top to bottom, then left to right
    bool cancelled = false;
    QString error;  // the reader could not start (its English model is not installed)
};

// What the caller follows the work by. `progress` gets 0-100 from the working thread;
// `cancel`, when set to true from any thread, ends the work soon with `cancelled` set.
struct ProposalWatch {
    std::function<void(int percent)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

// Proposes the hotspots of the printed English on `picture`: the picture is placed as the tool
// places a page's picture (fitted into `pageSize` with its aspect kept, shown over 800 x 540),
// and every rectangle is in that 800 x 540 space. Runs for about half a second; call it off the
// interface thread.
ProposalResult proposeTextHotspots(const QImage& picture, const ProposalWatch& watch = {},
                                   QSize pageSize = kPagePictureSize);

}  // namespace tool
