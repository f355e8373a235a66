#include "sources/checks.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>

#include "sources/book_profile.h"
#include "sources/built_in_volume.h"

// The rules every book obeys, whatever its shape: each is there because the program (or the
// tool that draws and records the book) needs it, and each message says why in a teacher's
// words. The demonstration volume's own facts are checked in built_in_volume.cpp.

namespace tool {

bool encodesInGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && QStringDecoder("GBK").decode(bytes) == text;
}

namespace {

const QString kGbkReason = QStringLiteral(
    "the program stores its texts in GBK, the Chinese code page, which has no such character");

// A text shown on one line of the program: one line, in GBK.
void checkShownText(const Where& where, const QString& text, const QString& what,
                    Problems& problems) {
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        problems.add(where, QStringLiteral("the %1 must be a single line").arg(what));
    }
    if (!encodesInGbk(text)) {
        problems.add(where, QStringLiteral("expected the %1 to encode in GBK: \"%2\": %3")
                                .arg(what, text, kGbkReason));
    }
}

void checkRect(const Entry& entry, Problems& problems) {
    const QRect& r = entry.rect;
    if (!QRect(0, 0, kPageWidth, kPageHeight).contains(r)) {
        problems.add(entry.where, QStringLiteral("expected the hotspot inside the 800 x 540 page: "
                                                 "a child can only press what lies on the page"));
    }
    if (r.width() < kHotspotMinWidth || r.width() > kHotspotMaxWidth ||
        r.height() < kHotspotMinHeight || r.height() > kHotspotMaxHeight) {
        problems.add(entry.where,
                     QStringLiteral("expected a hotspot %1 to %2 wide and %3 to %4 high, found %5 "
                                    "x %6: a smaller one is too small for a child to hit, a bigger "
                                    "one takes the presses meant for what lies around it")
                         .arg(kHotspotMinWidth)
                         .arg(kHotspotMaxWidth)
                         .arg(kHotspotMinHeight)
                         .arg(kHotspotMaxHeight)
                         .arg(r.width())
                         .arg(r.height()));
    }
}

// A COLOUR names a colour; for a cake with candles it counts them (1 to 10); a number draws
// whatever it is given.
void checkColour(const Where& where, const QString& thing, const QString& colour,
                 const Vocabulary& vocabulary, Problems& problems) {
    if (thing == QLatin1String("birthdaycake")) {
        bool ok = false;
        const int candles = colour.toInt(&ok);
        if (!ok || candles < 1 || candles > 10) {
            problems.add(where, QStringLiteral("expected the number of candles (1 to 10) after "
                                               "\"birthdaycake\", found \"%1\"")
                                    .arg(colour));
        }
        return;
    }
    if (!colour.isEmpty() && !vocabulary.countedDrawings.contains(thing) &&
        !vocabulary.colours.contains(colour)) {
        problems.add(where, QStringLiteral("unknown colour \"%1\"").arg(colour));
    }
}

void checkKind(const Entry& entry, const Vocabulary& vocabulary, Problems& problems) {
    if (!entry.thing.isEmpty() && !vocabulary.drawings.contains(entry.thing)) {
        problems.add(entry.where, QStringLiteral("unknown drawing \"%1\"").arg(entry.thing));
    }
    checkColour(entry.where, entry.thing, entry.colour, vocabulary, problems);
}

// Entries run 1, 2, 3 ...; an English "$" goes with a Chinese one; a word list has no "$".
void checkEntries(const PageSource& page, Problems& problems) {
    if (page.entries.isEmpty()) {
        problems.add({page.file, 0},
                     QStringLiteral("expected at least one entry on the page: a page with "
                                    "nothing to press has nothing to read aloud or to ask"));
    }
    for (int i = 0; i < page.entries.size(); ++i) {
        const Entry& e = page.entries[i];
        if (e.number != i + 1) {
            problems.add(e.where, QStringLiteral("expected entry number %1, found %2 (numbers run "
                                                 "1, 2, 3 ... in order, each once): the program "
                                                 "finds an entry's lines and recording by its "
                                                 "number")
                                      .arg(i + 1)
                                      .arg(e.number));
        }
        const bool englishDollar = e.english == QLatin1String("$");
        const bool chineseDollar = e.chinese == QLatin1String("$");
        if (page.wordList && (englishDollar || chineseDollar)) {
            problems.add(e.where, QStringLiteral("a word-list page has no placeholders: each of "
                                                 "its hotspots prints a word and its meaning"));
        } else if (englishDollar && !chineseDollar) {
            problems.add(e.where, QStringLiteral("expected \"$\" in both lines of a placeholder: "
                                                 "without an English line there is nothing for "
                                                 "the Chinese line to translate"));
        }
        if (page.wordList && e.kind != QLatin1String("word")) {
            problems.add(e.where, QStringLiteral("expected kind \"word\" on a word-list page: "
                                                 "each of its hotspots is a word that plays on its "
                                                 "own"));
        }
    }
}

void checkOverlaps(const PageSource& page, Problems& problems) {
    for (int i = 0; i < page.entries.size(); ++i) {
        for (int j = i + 1; j < page.entries.size(); ++j) {
            if (page.entries[i].rect.intersects(page.entries[j].rect)) {
                problems.add(page.entries[j].where,
                             QStringLiteral("hotspot %1 overlaps hotspot %2: a press there could "
                                            "not tell which of the two to play")
                                 .arg(page.entries[j].number)
                                 .arg(page.entries[i].number));
            }
        }
    }
}

// The overlay takes the page exercises' presses over the whole page, counted from its corner.
void checkOverlay(const PageSource& page, Problems& problems) {
    if (!page.hasOverlay) return;
    if (page.wordList) {
        problems.add(page.overlayWhere,
                     QStringLiteral("a word-list page has no overlay: the page exercises ask "
                                    "the sentences of the other pages"));
        return;
    }
    if (std::abs(page.overlay.x()) > kOverlayReach || std::abs(page.overlay.y()) > kOverlayReach) {
        problems.add(page.overlayWhere,
                     QStringLiteral("expected \"overlay X,Y\" with X and Y from -%1 to %1: the "
                                    "page exercises take presses from that corner over the whole "
                                    "page, so further away they would miss the page's edge")
                         .arg(kOverlayReach));
    }
}

// An answer box must stay clear of the hotspots.
void checkBoxFree(const PageSource& page, const Where& where, const QRect& area,
                  Problems& problems) {
    for (const Entry& e : page.entries) {
        if (e.rect.intersects(area)) {
            problems.add(where, QStringLiteral("hotspot %1 covers this answer box: a child could "
                                               "not tell which of the two a press is meant for")
                                    .arg(e.number));
        }
    }
}

void checkBoxNumber(const Where& where, const char* kind, int number, int expected,
                    Problems& problems) {
    if (number == expected) return;
    problems.add(where, QStringLiteral("expected %1 box number %2: boxes are numbered 1, 2, 3 ... "
                                       "in order, and the program names each by its number")
                            .arg(QLatin1String(kind))
                            .arg(expected));
}

// Everything the child answers on: the boxes and the listen icon.
QList<QRect> answerAreas(const PageSource& page) {
    QList<QRect> areas;
    for (const FillBox& box : page.fills)
        areas.append(QRect(box.pos, QSize(kFillBoxSize, kFillBoxSize)));
    for (const TickBox& box : page.ticks) {
        // Laid out 7 right and 8 down of its design place.
        areas.append(QRect(box.pos + QPoint(7, 8), QSize(kTickBoxWidth, kTickBoxHeight)));
    }
    for (const ListenIcon& icon : page.listens)
        areas.append(QRect(icon.pos, QSize(kListenIconSize, kListenIconSize)));
    return areas;
}

// The boxes and the icon lie side by side: one under another could not be reached.
void checkAnswerOverlaps(const PageSource& page, Problems& problems) {
    QList<Where> lines;
    for (const FillBox& box : page.fills) lines.append(box.where);
    for (const TickBox& box : page.ticks) lines.append(box.where);
    for (const ListenIcon& icon : page.listens) lines.append(icon.where);
    const QList<QRect> areas = answerAreas(page);
    for (int i = 0; i < areas.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (!areas[i].intersects(areas[j])) continue;
            problems.add(lines[i], QStringLiteral("this box lies over the one on line %1: a child "
                                                  "could not reach the one beneath")
                                       .arg(lines[j].line));
            break;
        }
    }
}

void checkFillBoxes(const PageSource& page, Problems& problems) {
    for (int i = 0; i < page.fills.size(); ++i) {
        const FillBox& box = page.fills[i];
        checkBoxNumber(box.where, "fill", box.number, i + 1, problems);
        if (box.answer.size() != 1 || box.answer[0].isSpace() || !encodesInGbk(box.answer)) {
            problems.add(box.where, QStringLiteral("expected one letter, digit or character as the "
                                                   "answer: the box is 16 x 16 and holds one"));
        }
        // The mark (a tick or a cross) appears 5 to the right of the box and 20 above it.
        const QRect area(box.pos.x(), box.pos.y() - 20, kFillBoxSize + 5 + 20, kFillBoxSize + 20);
        if (!QRect(0, 0, kPageWidth, kPageHeight).contains(area)) {
            problems.add(box.where,
                         QStringLiteral("expected the fill box and its mark inside the page: the "
                                        "mark appears at the box's top right"));
        }
        checkBoxFree(page, box.where, QRect(box.pos, QSize(kFillBoxSize, kFillBoxSize)), problems);
    }
}

void checkTickBoxes(const PageSource& page, Problems& problems) {
    for (int i = 0; i < page.ticks.size(); ++i) {
        const TickBox& box = page.ticks[i];
        checkBoxNumber(box.where, "tick", box.number, i + 1, problems);
        // The box moves 7 right and 8 down when laid out; its mark goes 20 to the right.
        const QRect area(box.pos, QSize(50, 26));
        if (!QRect(0, 0, kPageWidth, kPageHeight).contains(area)) {
            problems.add(box.where,
                         QStringLiteral("expected the tick box and its mark inside the page: the "
                                        "mark appears to the box's right"));
        }
        checkBoxFree(page, box.where, area, problems);
    }
}

// One listen icon at most, inside the hotspot whose recording is the listening exercise.
void checkListenIcon(const PageSource& page, Problems& problems) {
    for (int i = 0; i < page.listens.size(); ++i) {
        const ListenIcon& icon = page.listens[i];
        if (i > 0) {
            problems.add(icon.where, QStringLiteral("expected one listen icon on a page at most: "
                                                    "the program shows one"));
            continue;
        }
        checkBoxNumber(icon.where, "listen", icon.number, 1, problems);
        if (!listeningEntry(page)) {
            problems.add(icon.where,
                         QStringLiteral("expected the listen icon inside a hotspot: pressing the "
                                        "icon plays the hotspot it lies in, the listening "
                                        "exercise"));
        }
    }
}

const Entry* entryNumber(const PageSource& page, int number) {
    for (const Entry& e : page.entries) {
        if (e.number == number) return &e;
    }
    return nullptr;
}

// A speech box's by: option names someone drawn on the same page: its tail points there.
void checkSpeakers(const PageSource& page, const Vocabulary& vocabulary, Problems& problems) {
    for (const Entry& e : page.entries) {
        if (e.speaker == 0) continue;
        const Entry* speaker = entryNumber(page, e.speaker);
        if (e.kind != QLatin1String("text")) {
            problems.add(e.where, QStringLiteral("only a speech box (kind text) has a speaker"));
        } else if (!speaker || !vocabulary.speakers.contains(speaker->thing) ||
                   (speaker->kind != QLatin1String("pic") &&
                    speaker->kind != QLatin1String("picword"))) {
            problems.add(e.where, QStringLiteral("by: %1 must name the picture of a person or an "
                                                 "animal on this page")
                                      .arg(e.speaker));
        }
    }
}

// Drawings with no hotspot: known things inside the page above its footer, never over a line of
// text (nobody could read it) nor, except a plain card, over an answer box; headings clear of
// every hotspot.
void checkDrawings(const PageSource& page, const Vocabulary& vocabulary, Problems& problems) {
    const QRect paper(0, 0, kPageWidth, kFooterTop);
    const QList<QRect> answers = answerAreas(page);
    for (const Drawing& d : page.drawings) {
        const bool heading = d.kind == QLatin1String("heading");
        if (heading) {
            if (d.text.isEmpty() || !encodesInGbk(d.text)) {
                problems.add(d.where, QStringLiteral("expected a heading's words in GBK"));
            }
        } else if (!vocabulary.drawings.contains(d.thing)) {
            problems.add(d.where, QStringLiteral("unknown drawing \"%1\"").arg(d.thing));
        } else {
            checkColour(d.where, d.thing, d.colour, vocabulary, problems);
        }
        if (!paper.contains(d.rect) || d.rect.width() < 8 || d.rect.height() < 8) {
            problems.add(d.where, QStringLiteral("expected a drawing at least 8 x 8 inside the "
                                                 "page above its footer (800 x %1)")
                                      .arg(kFooterTop));
        }
        for (const QRect& area : answers) {
            if (area.intersects(d.rect) && d.thing != QLatin1String("card")) {
                problems.add(d.where, QStringLiteral("only a card may lie under an answer box or "
                                                     "the listen icon"));
                break;
            }
        }
        for (const Entry& e : page.entries) {
            const bool picture = e.kind == QLatin1String("pic");
            if (e.rect.intersects(d.rect) && (heading || !picture)) {
                problems.add(d.where, QStringLiteral("this drawing lies under hotspot %1 (%2): "
                                                     "only scenery may lie under a picture")
                                          .arg(e.number)
                                          .arg(e.kind));
            }
        }
    }
}

}  // namespace

void checkPage(const PageSource& page, const Vocabulary& vocabulary, Problems& problems) {
    if (QFileInfo(page.file).fileName() != pageFileName(page.pageNumber)) {
        problems.add({page.file, 0},
                     QStringLiteral("expected a \"page N\" line matching the file name"));
        return;
    }
    static const QStringList themes{"sky", "grass", "sun", "rose", "lilac", "sea", "peach", "mint"};
    // A page with its own picture is not drawn: it needs no theme and takes no drawings.
    const bool scanned = page.image.given();
    if (!themes.contains(page.theme) && !(scanned && page.theme.isEmpty())) {
        problems.add({page.file, 0},
                     QStringLiteral("expected a theme line (%1): the tool draws the page in its "
                                    "theme's colours")
                         .arg(themes.join(", ")));
    }
    for (const Entry& e : page.entries) {
        checkShownText(e.where, e.english, QStringLiteral("English line"), problems);
        checkShownText(e.where, e.chinese, QStringLiteral("Chinese line"), problems);
        checkRect(e, problems);
        if (!scanned) checkKind(e, vocabulary, problems);
        if (!e.sound.isEmpty() && !vocabulary.sounds.contains(e.sound)) {
            problems.add(e.where, QStringLiteral("unknown sound \"%1\" (the sounds are: %2)")
                                      .arg(e.sound, vocabulary.sounds.join(QStringLiteral(", "))));
        }
    }
    if (scanned) {
        for (const Drawing& d : page.drawings) {
            problems.add(d.where, QStringLiteral("a page with its own picture (image:) is not "
                                                 "drawn: remove this draw line"));
        }
    }
    checkEntries(page, problems);
    checkOverlaps(page, problems);
    checkOverlay(page, problems);
    checkFillBoxes(page, problems);
    checkTickBoxes(page, problems);
    checkListenIcon(page, problems);
    checkAnswerOverlaps(page, problems);
    if (scanned) return;
    checkSpeakers(page, vocabulary, problems);
    checkDrawings(page, vocabulary, problems);
}

namespace {

// A unit word goes on the spelling game's letter tiles, one character on each.
void checkUnitWord(const UnitWord& word, Problems& problems) {
    static const QRegularExpression tileCharacters(QStringLiteral("^[\\x20-\\x7e]+$"));
    if (!tileCharacters.match(word.english).hasMatch() ||
        !word.english.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) {
        problems.add(word.where, QStringLiteral("expected an English word of letters, spaces and "
                                                "signs such as - and ' (no Chinese or full-width "
                                                "characters): the spelling game puts each "
                                                "character on a letter tile of its own"));
    } else if (word.english.size() > kLetterTiles) {
        problems.add(word.where, QStringLiteral("expected at most %1 letters, spaces and signs, "
                                                "found %2: the spelling game has %1 letter tiles")
                                     .arg(kLetterTiles)
                                     .arg(word.english.size()));
    }
    checkShownText(word.where, word.chinese, QStringLiteral("Chinese meaning"), problems);
}

}  // namespace

void checkUnits(const QList<UnitSource>& units, Problems& problems) {
    for (const UnitSource& unit : units) {
        if (unit.words.isEmpty()) {
            problems.add({unit.file, 0},
                         QStringLiteral("expected at least one word in unit %1: the unit choosers "
                                        "offer it to the dictation and the games")
                             .arg(unit.unit));
        }
        if (!unit.name.isEmpty())
            checkShownText(unit.nameWhere, unit.name, QStringLiteral("unit's name"), problems);
        for (const UnitWord& word : unit.words) checkUnitWord(word, problems);
    }
}

void checkClips(const QList<ClipSource>& clips, const Vocabulary& vocabulary, Problems& problems) {
    QSet<QString> seen;
    for (const ClipSource& clip : clips) {
        if (seen.contains(clip.role)) problems.add(clip.where, QStringLiteral("duplicate role"));
        seen.insert(clip.role);
        bool known = false;
        for (const ClipRoleProfile& role : kClipRoles) {
            if (clip.role != QLatin1String(role.role)) continue;
            known = true;
            if (role.codec && clip.recording.codec != QLatin1String(role.codec)) {
                problems.add(
                    clip.where,
                    QStringLiteral("expected the codec %1 for %2").arg(role.codec, clip.role));
            }
        }
        if (!known)
            problems.add(clip.where, QStringLiteral("unknown clip role \"%1\"").arg(clip.role));
        if (clip.recording.voice == QLatin1String("synth") &&
            !vocabulary.sounds.contains(clip.recording.text)) {
            problems.add(clip.where, QStringLiteral("unknown sound \"%1\" (the sounds are: %2)")
                                         .arg(clip.recording.text,
                                              vocabulary.sounds.join(QStringLiteral(", "))));
        }
    }
    for (const ClipRoleProfile& role : kClipRoles) {
        if (!seen.contains(QLatin1String(role.role))) {
            problems.add({QStringLiteral("clips.txt"), 0},
                         QStringLiteral("missing the clip role \"%1\"").arg(role.role));
        }
    }
}

void checkPictures(const QList<PictureSource>& pictures, Problems& problems) {
    QSet<QString> seen;
    for (const PictureSource& p : pictures) {
        if (seen.contains(p.name)) problems.add(p.where, QStringLiteral("duplicate picture name"));
        seen.insert(p.name);
    }
    for (const QString& name : requiredPictures()) {
        if (!seen.contains(name)) {
            problems.add({QStringLiteral("pictures.txt"), 0},
                         QStringLiteral("missing the picture \"%1\"").arg(name));
        }
    }
}

namespace {

// Every hotspot of the word-list pages plays a recording of its own: a word that stands on
// two of them (the colour and the fruit) needs a say: text that tells the two apart.
void checkWordListRecordings(const QList<PageSource>& pages, Problems& problems) {
    QHash<QString, Where> said;
    for (const PageSource& page : pages) {
        if (!page.wordList) continue;
        for (const Entry& e : page.entries) {
            const QString key = e.recording.key();
            if (said.contains(key)) {
                const Where& first = said[key];
                if (e.recording.supplied()) {
                    problems.add(e.where,
                                 QStringLiteral("expected a recording of its own: %1 is already "
                                                "played at %2:%3")
                                     .arg(e.recording.file, first.file)
                                     .arg(first.line));
                } else {
                    problems.add(e.where,
                                 QStringLiteral("expected a recording of its own: \"%1\" is "
                                                "already said at %2:%3 (give it a say: text)")
                                     .arg(e.recording.text, first.file)
                                     .arg(first.line));
                }
                continue;
            }
            said.insert(key, e.where);
        }
    }
}

void checkName(const BookLine& name, const char* key, const QString& use, Problems& problems,
               const QString& file) {
    if (name.where.line == 0) {
        problems.add(
            {file, 0},
            QStringLiteral("expected a \"%1: TEXT\" line: %2").arg(QLatin1String(key), use));
        return;
    }
    checkShownText(name.where, name.text, QLatin1String(key), problems);
}

void checkNames(const BookSources& book, Problems& problems) {
    const BookNames& names = book.names;
    checkName(names.title, "title",
              QStringLiteral("the start window's title and the reader's "
                             "banner show it"),
              problems, book.bookFile);
    checkName(names.caption, "caption", QStringLiteral("the start window shows it under the title"),
              problems, book.bookFile);
    checkName(names.shortcut, "shortcut", QStringLiteral("the desktop shortcut bears it"), problems,
              book.bookFile);
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|]"));
    if (names.shortcut.text.contains(unsafe) || names.shortcut.text.startsWith(QLatin1Char('.'))) {
        problems.add(names.shortcut.where,
                     QStringLiteral("expected a shortcut name without \\ / : * ? \" < > | and not "
                                    "starting with a dot: it names the shortcut's file on the "
                                    "desktop"));
    }
}

// Sections in the book's order, each starting on a page the book has, the first on its first
// page: every page then belongs to one section.
void checkSections(const BookSources& book, Problems& problems) {
    if (book.sections.isEmpty()) {
        problems.add({book.bookFile, 0},
                     QStringLiteral("expected at least one \"section: NAME | page N\" line: the "
                                    "section chooser lists the book's sections"));
        return;
    }
    for (int i = 0; i < book.sections.size(); ++i) {
        const SectionSource& section = book.sections[i];
        checkShownText(section.where, section.name, QStringLiteral("section's name"), problems);
        if (!book.pageNumbers.contains(section.firstPage)) {
            problems.add(section.where,
                         QStringLiteral("section \"%1\" starts on page %2, which the book does not "
                                        "have (there is no pages/%3)")
                             .arg(section.name)
                             .arg(section.firstPage)
                             .arg(pageFileName(section.firstPage)));
        } else if (i == 0 && section.firstPage != book.pageNumbers.first()) {
            problems.add(section.where,
                         QStringLiteral("expected the first section to start on page %1, the "
                                        "book's first page: every page belongs to a section")
                             .arg(book.pageNumbers.first()));
        } else if (i > 0 && section.firstPage <= book.sections[i - 1].firstPage) {
            problems.add(section.where,
                         QStringLiteral("expected section \"%1\" to start after page %2, where "
                                        "the section before it starts: sections are listed in "
                                        "the book's order")
                             .arg(section.name)
                             .arg(book.sections[i - 1].firstPage));
        }
    }
}

// The book as a whole: its names and sections (book.txt), at least one page and one unit.
void checkShape(const BookSources& book, Problems& problems) {
    checkNames(book, problems);
    if (book.pageNumbers.isEmpty()) {
        problems.add({QDir(book.folder).filePath(QStringLiteral("pages")), 0},
                     QStringLiteral("expected at least one page file pages/pNN.txt: the reader "
                                    "shows the book's pages"));
    } else {
        checkSections(book, problems);
    }
    if (book.units.isEmpty()) {
        problems.add({QDir(book.folder).filePath(QStringLiteral("units")), 0},
                     QStringLiteral("expected units/unit1.txt: the dictation and the games take "
                                    "their words from the units"));
    }
    for (int i = 0; i < book.units.size(); ++i) {
        if (book.units[i].unit == i + 1) continue;
        problems.add({book.units[i].file, 0},
                     QStringLiteral("expected units/unit%1.txt before this file: units are "
                                    "numbered 1, 2, 3 ... without a gap, as the unit choosers "
                                    "count them")
                         .arg(i + 1));
        break;
    }
}

}  // namespace

void checkBook(const BookSources& book, bool wholeBook, const Vocabulary& vocabulary,
               Problems& problems) {
    for (const PageSource& page : book.pages) checkPage(page, vocabulary, problems);
    checkWordListRecordings(book.pages, problems);
    checkUnits(book.units, problems);
    if (!book.bookFile.isEmpty()) checkShape(book, problems);
    if (book.builtInVolume) checkBuiltInVolume(book, problems);
    if (!wholeBook) return;
    checkClips(book.clips, vocabulary, problems);
    checkPictures(book.pictures, problems);
    if (book.aboutHtml.trimmed().isEmpty() || book.faqHtml.trimmed().isEmpty()) {
        problems.add({book.folder, 0},
                     QStringLiteral("expected start_about.html and start_faq.html"));
    }
}

}  // namespace tool
