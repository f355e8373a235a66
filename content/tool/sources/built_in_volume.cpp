#include "sources/built_in_volume.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "sources/book_profile.h"

namespace tool {

namespace {

// Every message here names a fact of the demonstration volume, not a rule of the program.
const QString kFact = QStringLiteral(" (built-in volume)");

const ScreenProfile* profileOf(int page) {
    for (const ScreenProfile& screen : kScreens) {
        if (screen.page == page) return &screen;
    }
    return nullptr;
}

bool isWordListPage(int page) {
    return page == 70 || page == 74;
}

void checkCounts(const PageSource& page, const ScreenProfile& profile, Problems& problems) {
    // A count is pointed at the first entry too many, or at the last entry when some are missing.
    const Where fileWhere = page.entries.isEmpty() ? Where{page.file, 0}
                            : page.entries.size() > profile.entries
                                ? page.entries[profile.entries].where
                                : page.entries.last().where;
    if (page.entries.size() != profile.entries) {
        problems.add(fileWhere, QStringLiteral("expected %1 entries on page %2, found %3")
                                        .arg(profile.entries)
                                        .arg(profile.page)
                                        .arg(page.entries.size()) +
                                    kFact);
    }
    int englishDollars = 0, chineseDollars = 0;
    for (const Entry& e : page.entries) {
        const bool englishDollar = e.english == QLatin1String("$");
        const bool chineseDollar = e.chinese == QLatin1String("$");
        englishDollars += englishDollar;
        chineseDollars += chineseDollar;
        const bool englishOnly = isEnglishOnlyEntry(profile.page, e.number);
        if (englishDollar != chineseDollar && !englishOnly) {
            problems.add(e.where,
                         QStringLiteral("expected \"$\" in both lines of a placeholder") + kFact);
        }
        if (englishOnly && (englishDollar || !chineseDollar)) {
            problems.add(e.where, QStringLiteral("expected a real English line and \"$\" as the "
                                                 "Chinese line for this entry") +
                                      kFact);
        }
    }
    if (isWordListPage(profile.page)) return;
    if (englishDollars != profile.englishDollars || chineseDollars != profile.chineseDollars) {
        problems.add(fileWhere, QStringLiteral("expected %1 English and %2 Chinese \"$\" lines on "
                                               "page %3, found %4 and %5")
                                        .arg(profile.englishDollars)
                                        .arg(profile.chineseDollars)
                                        .arg(profile.page)
                                        .arg(englishDollars)
                                        .arg(chineseDollars) +
                                    kFact);
    }
}

void checkPageKind(const PageSource& page, const ScreenProfile& profile, Problems& problems) {
    const bool wordList = isWordListPage(profile.page);
    if (page.wordList != wordList) {
        problems.add(page.wordList ? page.wordListWhere : Where{page.file, 0},
                     (wordList ? QStringLiteral("expected a \"word list\" line on page %1")
                               : QStringLiteral("page %1 is not a word-list page"))
                             .arg(profile.page) +
                         kFact);
    }
    if (wordList) return;
    if (!page.hasOverlay || page.overlay != QPoint(profile.overlayX, profile.overlayY)) {
        problems.add(page.hasOverlay ? page.overlayWhere : Where{page.file, 0},
                     QStringLiteral("expected \"overlay %1,%2\"")
                             .arg(profile.overlayX)
                             .arg(profile.overlayY) +
                         kFact);
    }
}

// --- The exercises: their boxes and the listening scripts that go with them ---------------------

const Entry* nearestPicture(const PageSource& page, const QRect& box) {
    const Entry* best = nullptr;
    double bestDistance = 1e9;
    const QPointF centre = QRectF(box).center();
    for (const Entry& e : page.entries) {
        if (e.kind != QLatin1String("pic") && e.kind != QLatin1String("picword")) continue;
        const double dx = std::max({e.rect.left() - centre.x(), 0.0, centre.x() - e.rect.right()});
        const double dy = std::max({e.rect.top() - centre.y(), 0.0, centre.y() - e.rect.bottom()});
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &e;
        }
    }
    return best;
}

// The words that name what a picture shows, as the listening script would say them.
QString pictureName(const Entry& picture) {
    QString name = picture.thing;
    if (!picture.colour.isEmpty() && picture.thing != QLatin1String("number")) {
        name = picture.colour + QLatin1Char(' ') + name;
    }
    if (picture.thing == QLatin1String("number")) name = picture.colour;
    return name.toLower();
}

bool scriptNames(const QString& script, const Entry& picture) {
    const QString lower = script.toLower();
    if (lower.contains(pictureName(picture))) return true;
    const QString english = picture.english.toLower().remove(QRegularExpression("[.!?,]"));
    return english != QLatin1String("$") && !english.isEmpty() && lower.contains(english);
}

// The script's parts introduced by "Number one", "Number two", ...
QString numberedPart(const QString& script, int digit) {
    static const QStringList words{"one", "two", "three", "four"};
    if (digit < 1 || digit > int(words.size())) return {};
    const QString lower = script.toLower();
    const int start = lower.indexOf(QStringLiteral("number ") + words[digit - 1]);
    if (start < 0) return {};
    const int end = lower.indexOf(QStringLiteral("number "), start + 7);
    return lower.mid(start, end < 0 ? -1 : end - start);
}

bool isAnswerDigit(const QString& answer) {
    return answer.size() == 1 && answer[0] >= QLatin1Char('1') && answer[0] <= QLatin1Char('4');
}

void checkFillBoxes(const PageSource& page, const Entry* listening, Problems& problems) {
    const int expected = fillBoxCount(page.pageNumber);
    if (page.fills.size() != expected) {
        problems.add({page.file, 0}, QStringLiteral("expected %1 fill boxes on page %2, found %3")
                                             .arg(expected)
                                             .arg(page.pageNumber)
                                             .arg(page.fills.size()) +
                                         kFact);
        return;
    }
    QSet<QString> digits;
    for (const FillBox& box : page.fills) {
        const bool placed = std::any_of(kFillBoxes.begin(), kFillBoxes.end(), [&](auto& p) {
            return p.page == page.pageNumber && p.number == box.number &&
                   box.pos == QPoint(p.x, p.y);
        });
        if (!placed) {
            problems.add(
                box.where,
                QStringLiteral("fill box %1 is not at its fixed place").arg(box.number) + kFact);
        }
        if (!isAnswerDigit(box.answer) || digits.contains(box.answer)) {
            problems.add(box.where,
                         QStringLiteral("expected the digits 1 to 4, each once") + kFact);
        }
        digits.insert(box.answer);
        const Entry* picture =
            nearestPicture(page, QRect(box.pos, QSize(kFillBoxSize, kFillBoxSize)));
        if (listening && picture && isAnswerDigit(box.answer) &&
            !scriptNames(numberedPart(listening->recording.text, box.answer.toInt()), *picture)) {
            problems.add(
                box.where,
                QStringLiteral("the listening script's \"Number %1\" part does not name the "
                               "picture next to this box (hotspot %2, \"%3\")")
                    .arg(box.answer)
                    .arg(picture->number)
                    .arg(pictureName(*picture)));
        }
    }
}

void checkTickBoxes(const PageSource& page, const Entry* listening, Problems& problems) {
    const int expected = tickBoxCount(page.pageNumber);
    if (page.ticks.size() != expected) {
        problems.add({page.file, 0}, QStringLiteral("expected %1 tick boxes on page %2, found %3")
                                             .arg(expected)
                                             .arg(page.pageNumber)
                                             .arg(page.ticks.size()) +
                                         kFact);
        return;
    }
    const bool checked = tickBoxesChecked(page.pageNumber);
    for (const TickBox& box : page.ticks) {
        if (checked != (box.expected >= 0)) {
            problems.add(box.where,
                         (checked ? QStringLiteral("expected yes or no")
                                  : QStringLiteral("expected \"-\": these boxes are not checked")) +
                             kFact);
        }
        const Entry* picture = nearestPicture(page, QRect(box.pos, QSize(15, 16)));
        if (checked && listening && picture &&
            scriptNames(listening->recording.text, *picture) != (box.expected == 1)) {
            problems.add(box.where,
                         QStringLiteral("the answer key says %1 but the listening script %2 the "
                                        "picture next to this box (hotspot %3, \"%4\")")
                             .arg(box.expected == 1 ? "yes" : "no",
                                  box.expected == 1 ? "does not name" : "names")
                             .arg(picture->number)
                             .arg(pictureName(*picture)));
        }
    }
}

void checkAnswers(const PageSource& page, Problems& problems) {
    const int icons = hasListenIcon(page.pageNumber) ? 1 : 0;
    const Entry* listening = listeningEntry(page);
    if (page.listens.size() != icons) {
        problems.add({page.file, 0},
                     QStringLiteral("expected %1 listen icon line(s)").arg(icons) + kFact);
    } else if (icons == 1 && listening &&
               listening->number != builtInListeningEntry(page.pageNumber)) {
        problems.add(page.listens[0].where,
                     QStringLiteral("expected the listen icon inside hotspot %1")
                             .arg(builtInListeningEntry(page.pageNumber)) +
                         kFact);
    }
    // On a scanned page the kinds draw nothing, so a box's neighbour tells nothing about the
    // script.
    const Entry* script = page.image.given() ? nullptr : listening;
    checkFillBoxes(page, script, problems);
    checkTickBoxes(page, script, problems);
}

// --- The whole book ------------------------------------------------------------------------------

void checkPages(const BookSources& book, Problems& problems) {
    const Where pagesFolder{QDir(book.folder).filePath(QStringLiteral("pages")), 0};
    for (const ScreenProfile& screen : kScreens) {
        if (!book.pageNumbers.contains(screen.page)) {
            problems.add(pagesFolder,
                         QStringLiteral("expected %1").arg(pageFileName(screen.page)) + kFact);
        }
    }
    for (int page : book.pageNumbers) {
        if (!profileOf(page))
            problems.add(pagesFolder, QStringLiteral("unexpected page %1").arg(page) + kFact);
    }
}

void checkSections(const BookSources& book, Problems& problems) {
    if (book.sections.size() != int(kSections.size())) {
        problems.add({book.bookFile, 0}, QStringLiteral("expected %1 sections, found %2")
                                                 .arg(kSections.size())
                                                 .arg(book.sections.size()) +
                                             kFact);
        return;
    }
    for (int i = 0; i < book.sections.size(); ++i) {
        const SectionSource& section = book.sections[i];
        const SectionProfile& profile = kSections[size_t(i)];
        const int firstPage = kScreens[size_t(profile.firstScreen)].page;
        if (section.name != QString::fromUtf8(profile.text) || section.firstPage != firstPage) {
            problems.add(section.where, QStringLiteral("expected \"section: %1 | page %2\"")
                                                .arg(QString::fromUtf8(profile.text))
                                                .arg(firstPage) +
                                            kFact);
        }
    }
}

void checkUnitWord(const UnitWord& word, int& twoWordItems, Problems& problems) {
    static const QRegularExpression english(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)?$"));
    if (!english.match(word.english).hasMatch() || word.english.size() > 10) {
        problems.add(word.where, QStringLiteral("expected an English word of ASCII letters (one "
                                                "space at most), 10 bytes at most") +
                                     kFact);
    }
    int capitals = 0;
    for (const QChar c : word.english) capitals += c.isUpper();
    if (capitals > 1) {
        problems.add(word.where, QStringLiteral("expected one capital letter at most") + kFact);
    }
    twoWordItems += word.english.contains(QLatin1Char(' '));
}

}  // namespace

QString builtInPictureBox(int screen) {
    if (screen < 0 || screen >= kBuiltInScreens) return {};
    return QString::fromUtf8(kScreens[size_t(screen)].pictureBox);
}

QString builtInListenIconName(int page) {
    return page == 64 ? QStringLiteral("图片框听录音s6_5") : QString();
}

QSize builtInPagePictureSize(int page) {
    return page == 52 ? QSize(801, 560) : QSize();
}

void checkBuiltInPage(const PageSource& page, Problems& problems) {
    const ScreenProfile* profile = profileOf(page.pageNumber);
    if (!profile) return;  // the book's pages are checked as a whole
    checkPageKind(page, *profile, problems);
    checkCounts(page, *profile, problems);
    checkAnswers(page, problems);
}

void checkBuiltInUnits(const QList<UnitSource>& units, Problems& problems) {
    int twoWordItems = 0, parenthesised = 0;
    for (const UnitSource& unit : units) {
        if (unit.unit > int(kUnitSizes.size())) {
            problems.add({unit.file, 0},
                         QStringLiteral("expected %1 units").arg(kUnitSizes.size()) + kFact);
            continue;
        }
        const int expected = kUnitSizes[size_t(unit.unit - 1)];
        if (unit.words.size() != expected) {
            problems.add({unit.file, 0}, QStringLiteral("expected %1 words in unit %2, found %3")
                                                 .arg(expected)
                                                 .arg(unit.unit)
                                                 .arg(unit.words.size()) +
                                             kFact);
        }
        if (!unit.name.isEmpty() && unit.name != QStringLiteral("Unit %1").arg(unit.unit)) {
            problems.add(unit.nameWhere,
                         QStringLiteral("expected the name \"Unit %1\"").arg(unit.unit) + kFact);
        }
        int semicolons = 0;
        for (const UnitWord& word : unit.words) {
            checkUnitWord(word, twoWordItems, problems);
            semicolons += word.chinese.contains(QStringLiteral("；"));
            parenthesised += word.chinese.contains(QStringLiteral("（"));
        }
        if (unit.unit == 1 && (unit.words.isEmpty() || unit.words[0].english != "ruler")) {
            problems.add({unit.file, 0},
                         QStringLiteral("expected unit 1 to start with \"ruler\"") + kFact);
        }
        if (unit.unit == 2 && semicolons != 9) {
            problems.add({unit.file, 0},
                         QStringLiteral("expected 9 meanings with \"；\" in unit 2, found %1")
                                 .arg(semicolons) +
                             kFact);
        }
    }
    if (units.size() != int(kUnitSizes.size())) return;
    if (twoWordItems != 1) {
        problems.add({units[0].file, 0}, QStringLiteral("expected exactly one two-word item in the "
                                                        "unit lists, found %1")
                                                 .arg(twoWordItems) +
                                             kFact);
    }
    if (parenthesised == 0) {
        problems.add({units[0].file, 0}, QStringLiteral("expected some meanings with a full-width "
                                                        "parenthesised part such as （复数）") +
                                             kFact);
    }
}

void checkBuiltInVolume(const BookSources& book, Problems& problems) {
    checkPages(book, problems);
    if (!book.bookFile.isEmpty()) checkSections(book, problems);
    for (const PageSource& page : book.pages) checkBuiltInPage(page, problems);
    checkBuiltInUnits(book.units, problems);
}

}  // namespace tool
