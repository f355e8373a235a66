// A drawn page's printed sentences come back as proposed hotspots over their speech boxes,
// with their English; the command prints them, and refuses a file that is not a picture.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>

#include "pictures/art/page_art.h"
#include "pictures/text_proposals.h"
#include "sources/book_profile.h"

using namespace tool;

namespace {

struct Sentence {
    QRect rect;
    QString english;
};

const QList<Sentence> kSentences = {
    {{40, 60, 300, 34}, "My kite is red and blue."},
    {{420, 60, 260, 34}, "Can you see the boat?"},
    {{60, 300, 220, 30}, "We like green apples."},
    {{440, 320, 300, 34}, "Look at the little fox!"},
};

// A page with the sentences in speech boxes beside a drawing, as the tool draws a book's page.
QImage drawnPage() {
    art::PageSpec spec;
    spec.pageNumber = 3;
    spec.theme = QStringLiteral("sky");
    spec.sectionName = QStringLiteral("Unit 1");
    spec.pixelSize = kPagePictureSize;
    int number = 0;
    for (const Sentence& s : kSentences) {
        spec.items.append({++number, QStringLiteral("text"), {}, {}, s.rect, s.english, {}, {}});
    }
    spec.items.append({++number,
                       QStringLiteral("pic"),
                       QStringLiteral("cat"),
                       {},
                       QRect(320, 150, 120, 120),
                       QStringLiteral("$"),
                       {},
                       {}});
    return art::renderPage(spec);
}

double iou(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    if (both.isEmpty()) return 0;
    const double shared = double(both.width()) * both.height();
    return shared / (double(a.width()) * a.height() + double(b.width()) * b.height() - shared);
}

const TextProposal* overlapping(const QList<TextProposal>& proposals, const QRect& rect) {
    for (const TextProposal& p : proposals) {
        if (iou(p.rect, rect) >= 0.5) return &p;
    }
    return nullptr;
}

struct ToolRun {
    int code = -1;
    QString out, err;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL), arguments);
    tool.waitForFinished(60000);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

}  // namespace

TEST(TextProposals, EverySentenceIsProposedOverItsBoxWithItsText) {
    std::vector<int> told;
    ProposalWatch watch;
    watch.progress = [&](int percent) { told.push_back(percent); };
    const ProposalResult result = proposeTextHotspots(drawnPage(), watch);
    ASSERT_TRUE(result.error.isEmpty()) << qPrintable(result.error);
    for (const Sentence& s : kSentences) {
        const TextProposal* p = overlapping(result.proposals, s.rect);
        ASSERT_TRUE(p) << qPrintable(s.english);
        EXPECT_EQ(p->english, s.english);
        EXPECT_GE(p->confidence, 70);
    }
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 100);

    // Cancelled before it starts, nothing is proposed and the caller is told why.
    std::atomic<bool> cancel{true};
    const ProposalResult stopped = proposeTextHotspots(drawnPage(), {{}, &cancel});
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.proposals.isEmpty());
}

TEST(TextProposals, TheCommandPrintsProposalsAndRefusesWhatIsNotAPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A scan a quarter the size, as a small photo would be: fitted into the page as a page's
    // image is, the boxes come back in the page's space.
    const QString page = dir.filePath("page.png");
    ASSERT_TRUE(drawnPage().scaledToWidth(1075, Qt::SmoothTransformation).save(page));
    const ToolRun proposed = runTool({"--propose", page});
    ASSERT_EQ(proposed.code, 0) << qPrintable(proposed.err);
    QList<TextProposal> printed;
    for (const QString& line : proposed.out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        ASSERT_EQ(f.size(), 6) << qPrintable(line);
        printed.append(
            {QRect(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt()), f[4].toInt(), f[5]});
    }
    const TextProposal* kite = overlapping(printed, kSentences[0].rect);
    ASSERT_TRUE(kite) << qPrintable(proposed.out);
    EXPECT_EQ(kite->english, kSentences[0].english);

    QFile notes(dir.filePath("notes.png"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("page 3: the kite, the boat, the apples\n");
    notes.close();
    const ToolRun refused = runTool({"--propose", notes.fileName()});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(refused.err.contains("notes.png") && refused.err.contains("not a picture"))
        << qPrintable(refused.err);
}
