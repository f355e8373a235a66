#include "sources/checks.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>

#include "sources/book_profile.h"

namespace tool {

bool encodesInGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && QStringDecoder("GBK").decode(bytes) == text;
}

namespace {

const ScreenProfile* profileOf(int page) {
    for (const ScreenProfile& screen : kScreens) {
        if (screen.page == page) return &screen;
    }
    return nullptr;
}

void checkLine(const Entry& entry, const QString& text, const char* which, Problems& problems) {
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        problems.add(entry.where, QStringLiteral("the %1 line must be a single line").arg(which));
    }
    if (!encodesInGbk(text)) {
        problems.add(
            entry.where,
            QStringLiteral("expected the %1 line to encode in GBK: \"%2\"").arg(which, text));
    }
}

void checkRect(const Entry& entry, Problems& problems) {
    const QRect& r = entry.rect;
    if (r.left() < 0 || r.top() < 0 || r.x() + r.width() > kPageWidth ||
        r.y() + r.height() > kPageHeight) {
        problems.add(entry.where, QStringLiteral("expected the hotspot inside the 800 x 540 page"));
    }
    if (r.width() < 24 || r.width() > 320 || r.height() < 13 || r.height() > 224) {
        problems.add(entry.where, QStringLiteral("expected a hotspot 24 to 320 wide and 13 to 224 "
                                                 "high, found %1 x %2")
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

void checkKind(const Entry& entry, bool wordList, const Vocabulary& vocabulary,
               Problems& problems) {
    if (wordList && entry.kind != QLatin1String("word")) {
        problems.add(entry.where, QStringLiteral("expected kind \"word\" on a word-list page"));
    }
    if (!entry.thing.isEmpty() && !vocabulary.drawings.contains(entry.thing)) {
        problems.add(entry.where, QStringLiteral("unknown drawing \"%1\"").arg(entry.thing));
    }
    checkColour(entry.where, entry.thing, entry.colour, vocabulary, problems);
}

void checkEntryNumbersAndCounts(const PageSource& page, const ScreenProfile& profile,
                                Problems& problems) {
    // A count is pointed at the first entry too many, or at the last entry when some are missing.
    const Where fileWhere = page.entries.isEmpty() ? Where{page.file, 0}
                            : page.entries.size() > profile.entries
                                ? page.entries[profile.entries].where
                                : page.entries.last().where;
    if (page.entries.size() != profile.entries) {
        problems.add(fileWhere, QStringLiteral("expected %1 entries on page %2, found %3")
                                    .arg(profile.entries)
                                    .arg(profile.page)
                                    .arg(page.entries.size()));
    }
    int englishDollars = 0, chineseDollars = 0;
    for (int i = 0; i < page.entries.size(); ++i) {
        const Entry& e = page.entries[i];
        if (e.number != i + 1) {
            problems.add(e.where, QStringLiteral("expected entry number %1, found %2 (numbers run "
                                                 "1, 2, 3 ... in order, each once)")
                                      .arg(i + 1)
                                      .arg(e.number));
        }
        const bool englishDollar = e.english == QLatin1String("$");
        const bool chineseDollar = e.chinese == QLatin1String("$");
        englishDollars += englishDollar;
        chineseDollars += chineseDollar;
        if (englishDollar != chineseDollar && !isEnglishOnlyEntry(profile.page, e.number)) {
            problems.add(e.where, QStringLiteral("expected \"$\" in both lines of a placeholder"));
        }
        if (isEnglishOnlyEntry(profile.page, e.number) && (englishDollar || !chineseDollar)) {
            problems.add(e.where, QStringLiteral("expected a real English line and \"$\" as the "
                                                 "Chinese line for this entry"));
        }
    }
    if (isWordListPage(profile.page)) {
        if (englishDollars + chineseDollars > 0) {
            problems.add(fileWhere, QStringLiteral("a word-list page has no placeholders"));
        }
        return;
    }
    if (englishDollars != profile.englishDollars || chineseDollars != profile.chineseDollars) {
        problems.add(fileWhere, QStringLiteral("expected %1 English and %2 Chinese \"$\" lines on "
                                               "page %3, found %4 and %5")
                                    .arg(profile.englishDollars)
                                    .arg(profile.chineseDollars)
                                    .arg(profile.page)
                                    .arg(englishDollars)
                                    .arg(chineseDollars));
    }
}

void checkOverlaps(const PageSource& page, Problems& problems) {
    for (int i = 0; i < page.entries.size(); ++i) {
        for (int j = i + 1; j < page.entries.size(); ++j) {
            if (page.entries[i].rect.intersects(page.entries[j].rect)) {
                problems.add(page.entries[j].where, QStringLiteral("hotspot %1 overlaps hotspot %2")
                                                        .arg(page.entries[j].number)
                                                        .arg(page.entries[i].number));
            }
        }
    }
}

void checkOverlay(const PageSource& page, const ScreenProfile& profile, Problems& problems) {
    if (isWordListPage(profile.page)) {
        if (page.hasOverlay) {
            problems.add(page.overlayWhere, QStringLiteral("a word-list page has no overlay"));
        }
        return;
    }
    if (!page.hasOverlay || page.overlay != QPoint(profile.overlayX, profile.overlayY)) {
        problems.add(page.hasOverlay ? page.overlayWhere : Where{page.file, 0},
                     QStringLiteral("expected \"overlay %1,%2\"")
                         .arg(profile.overlayX)
                         .arg(profile.overlayY));
    }
}

// An answer control must stay pressable: no hotspot may lie over it.
void checkBoxFree(const PageSource& page, const Where& where, const QRect& area,
                  Problems& problems) {
    for (const Entry& e : page.entries) {
        if (e.rect.intersects(area)) {
            problems.add(where, QStringLiteral("hotspot %1 covers this answer box").arg(e.number));
        }
    }
}

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

const Entry* entryNumber(const PageSource& page, int number) {
    for (const Entry& e : page.entries) {
        if (e.number == number) return &e;
    }
    return nullptr;
}

void checkFillBoxes(const PageSource& page, const Entry* listening, Problems& problems) {
    const int expected = fillBoxCount(page.pageNumber);
    if (page.fills.size() != expected) {
        problems.add({page.file, 0}, QStringLiteral("expected %1 fill boxes on page %2, found %3")
                                         .arg(expected)
                                         .arg(page.pageNumber)
                                         .arg(page.fills.size()));
        return;
    }
    QSet<QString> digits;
    for (const FillBox& box : page.fills) {
        bool placed = false;
        for (const FillBoxProfile& p : kFillBoxes) {
            placed |=
                p.page == page.pageNumber && p.number == box.number && box.pos == QPoint(p.x, p.y);
        }
        if (!placed) {
            problems.add(box.where,
                         QStringLiteral("fill box %1 is not at its fixed place").arg(box.number));
        }
        if (box.answer.size() != 1 || box.answer[0] < QLatin1Char('1') ||
            box.answer[0] > QLatin1Char('4') || digits.contains(box.answer)) {
            problems.add(box.where, QStringLiteral("expected the digits 1 to 4, each once"));
        }
        digits.insert(box.answer);
        const QRect area(box.pos, QSize(kFillBoxSize, kFillBoxSize));
        checkBoxFree(page, box.where, area, problems);
        const Entry* picture = nearestPicture(page, area);
        const bool validDigit = box.answer.size() == 1 && box.answer[0] >= QLatin1Char('1') &&
                                box.answer[0] <= QLatin1Char('4');
        if (listening && picture && validDigit &&
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
                                         .arg(page.ticks.size()));
        return;
    }
    for (int i = 0; i < page.ticks.size(); ++i) {
        const TickBox& box = page.ticks[i];
        if (box.number != i + 1) {
            problems.add(box.where, QStringLiteral("expected tick box number %1").arg(i + 1));
        }
        const bool checked = tickBoxesChecked(page.pageNumber);
        if (checked != (box.expected >= 0)) {
            problems.add(box.where,
                         checked ? QStringLiteral("expected yes or no")
                                 : QStringLiteral("expected \"-\": these boxes are not checked"));
        }
        // The box moves 7 right and 8 down when laid out; its mark goes 20 to the right.
        const QRect area(box.pos, QSize(50, 26));
        if (!QRect(0, 0, kPageWidth, kPageHeight).contains(area)) {
            problems.add(box.where,
                         QStringLiteral("expected the tick box and its mark inside the page"));
        }
        checkBoxFree(page, box.where, area, problems);
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
    const Entry* listening = nullptr;
    if (hasListenIcon(page.pageNumber))
        listening = entryNumber(page, listeningEntry(page.pageNumber));
    // On a scanned page the kinds draw nothing, so a box's neighbour tells nothing about the
    // script.
    const Entry* script = page.image.given() ? nullptr : listening;
    checkFillBoxes(page, script, problems);
    checkTickBoxes(page, script, problems);
    const int icons = hasListenIcon(page.pageNumber) ? 1 : 0;
    if (page.listens.size() != icons) {
        problems.add({page.file, 0}, QStringLiteral("expected %1 listen icon line(s)").arg(icons));
        return;
    }
    if (icons == 0) return;
    const QRect icon(page.listens[0].pos, QSize(kListenIconSize, kListenIconSize));
    if (!listening || !listening->rect.contains(icon)) {
        problems.add(page.listens[0].where,
                     QStringLiteral("expected the listen icon inside hotspot %1")
                         .arg(listeningEntry(page.pageNumber)));
    }
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
    const ScreenProfile* profile = profileOf(page.pageNumber);
    if (!profile || !page.file.endsWith(pageFileName(page.pageNumber))) {
        problems.add({page.file, 0},
                     QStringLiteral("expected a \"page N\" line matching the file name"));
        return;
    }
    static const QStringList themes{"sky", "grass", "sun", "rose", "lilac", "sea", "peach", "mint"};
    // A page with its own picture is not drawn: it needs no theme and takes no drawings.
    const bool scanned = page.image.given();
    if (!themes.contains(page.theme) && !(scanned && page.theme.isEmpty())) {
        problems.add({page.file, 0},
                     QStringLiteral("expected a theme line (%1)").arg(themes.join(", ")));
    }
    const bool wordList = isWordListPage(page.pageNumber);
    for (const Entry& e : page.entries) {
        checkLine(e, e.english, "English", problems);
        checkLine(e, e.chinese, "Chinese", problems);
        checkRect(e, problems);
        if (!scanned) checkKind(e, wordList, vocabulary, problems);
        if (!e.sound.isEmpty() && !vocabulary.sounds.contains(e.sound)) {
            problems.add(e.where, QStringLiteral("unknown sound \"%1\" (the sounds are: %2)")
                                      .arg(e.sound, vocabulary.sounds.join(QStringLiteral(", "))));
        }
    }
    if (scanned && wordList) {
        for (const Entry& e : page.entries) {
            if (e.kind != QLatin1String("word"))
                problems.add(e.where, QStringLiteral("expected kind \"word\" on a word-list page"));
        }
    }
    if (scanned) {
        for (const Drawing& d : page.drawings) {
            problems.add(d.where, QStringLiteral("a page with its own picture (image:) is not "
                                                 "drawn: remove this draw line"));
        }
    }
    checkEntryNumbersAndCounts(page, *profile, problems);
    checkOverlaps(page, problems);
    checkOverlay(page, *profile, problems);
    checkAnswers(page, problems);
    if (scanned) return;
    checkSpeakers(page, vocabulary, problems);
    checkDrawings(page, vocabulary, problems);
}

namespace {

void checkUnitWord(const UnitWord& word, int& twoWordItems, Problems& problems) {
    static const QRegularExpression english(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)?$"));
    if (!english.match(word.english).hasMatch() || word.english.size() > 10) {
        problems.add(word.where, QStringLiteral("expected an English word of ASCII letters (one "
                                                "space at most), 10 bytes at most"));
    }
    int capitals = 0;
    for (const QChar c : word.english) capitals += c.isUpper();
    if (capitals > 1)
        problems.add(word.where, QStringLiteral("expected one capital letter at most"));
    twoWordItems += word.english.contains(QLatin1Char(' '));
    if (!encodesInGbk(word.chinese)) {
        problems.add(word.where, QStringLiteral("expected the Chinese meaning to encode in GBK"));
    }
}

}  // namespace

void checkUnits(const QList<UnitSource>& units, Problems& problems) {
    int twoWordItems = 0, parenthesised = 0;
    for (const UnitSource& unit : units) {
        const int expected = kUnitSizes[unit.unit - 1];
        if (unit.words.size() != expected) {
            problems.add({unit.file, 0}, QStringLiteral("expected %1 words in unit %2, found %3")
                                             .arg(expected)
                                             .arg(unit.unit)
                                             .arg(unit.words.size()));
        }
        int semicolons = 0;
        for (const UnitWord& word : unit.words) {
            checkUnitWord(word, twoWordItems, problems);
            semicolons += word.chinese.contains(QStringLiteral("；"));
            parenthesised += word.chinese.contains(QStringLiteral("（"));
        }
        if (unit.unit == 1 && (unit.words.isEmpty() || unit.words[0].english != "ruler")) {
            problems.add({unit.file, 0}, QStringLiteral("expected unit 1 to start with \"ruler\""));
        }
        if (unit.unit == 2 && semicolons != 9) {
            problems.add({unit.file, 0},
                         QStringLiteral("expected 9 meanings with \"；\" in unit 2, "
                                        "found %1")
                             .arg(semicolons));
        }
    }
    if (units.size() == int(kUnitSizes.size()) && twoWordItems != 1) {
        problems.add({units[0].file, 0}, QStringLiteral("expected exactly one two-word item in the "
                                                        "unit lists, found %1")
                                             .arg(twoWordItems));
    }
    if (units.size() == int(kUnitSizes.size()) && parenthesised == 0) {
        problems.add({units[0].file, 0}, QStringLiteral("expected some meanings with a full-width "
                                                        "parenthesised part such as （复数）"));
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

// Every hotspot of the word-list pages plays a recording of its own: a word that stands on
// both pages (the colour and the fruit) needs a say: text that tells the two apart.
void checkWordListRecordings(const QList<PageSource>& pages, Problems& problems) {
    QHash<QString, Where> said;
    for (const PageSource& page : pages) {
        if (!isWordListPage(page.pageNumber)) continue;
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

void checkBook(const BookSources& book, bool wholeBook, const Vocabulary& vocabulary,
               Problems& problems) {
    for (const PageSource& page : book.pages) checkPage(page, vocabulary, problems);
    checkWordListRecordings(book.pages, problems);
    checkUnits(book.units, problems);
    if (!wholeBook) return;
    checkClips(book.clips, vocabulary, problems);
    checkPictures(book.pictures, problems);
    if (book.aboutHtml.trimmed().isEmpty() || book.faqHtml.trimmed().isEmpty()) {
        problems.add({book.folder, 0},
                     QStringLiteral("expected start_about.html and start_faq.html"));
    }
}

}  // namespace tool
