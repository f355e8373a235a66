#include "sources/sources.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include "sources/book_profile.h"
#include "sources/built_in_volume.h"
#include "sources/text_files.h"

namespace tool {

QString Problems::report() const {
    QString out;
    for (const Problem& p : list_) {
        out += p.where.file;
        if (p.where.line > 0) out += QLatin1Char(':') + QString::number(p.where.line);
        out += QStringLiteral(": ") + p.message + QLatin1Char('\n');
    }
    return out;
}

Recording entryRecording(const Entry& entry) {
    return entry.recording;
}

Recording unitWordRecording(const UnitWord& word) {
    Recording r;
    r.text = word.english;
    if (word.audio.given()) {
        r.voice = QStringLiteral("file");
        r.file = word.audio.file;
        r.path = word.audio.path;
    }
    return r;
}

QString pageFileName(int page) {
    return QStringLiteral("p%1.txt").arg(page, 2, 10, QChar('0'));
}

namespace {

struct Line {
    int number;
    QString text;
};

// Non-empty, non-comment lines with their 1-based line numbers.
QList<Line> meaningfulLines(const QString& text) {
    QList<Line> lines;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        lines.append({i + 1, trimmed});
    }
    return lines;
}

QStringList fields(const QString& line) {
    QStringList parts = line.split(QLatin1Char('|'));
    for (QString& p : parts) p = p.trimmed();
    return parts;
}

bool parseInts(const QString& text, int count, QList<int>& out) {
    out.clear();
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count) return false;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.trimmed().toInt(&ok);
        if (!ok) return false;
        out.append(v);
    }
    return true;
}

bool parsePoint(const QString& text, QPoint& point) {
    QList<int> v;
    if (!parseInts(text, 2, v)) return false;
    point = QPoint(v[0], v[1]);
    return true;
}

// `NAME: VALUE` (`audio: PATH`, `image: PATH`, `title: TEXT`...): true with the value when the
// field is one; the value is empty when the field names nothing.
bool namedField(const QString& field, const QString& name, QString& value) {
    if (!field.startsWith(name + QLatin1Char(':'))) return false;
    value = field.mid(name.size() + 1).trimmed();
    return true;
}

}  // namespace

bool isCodec(const QString& codec) {
    static const QRegularExpression pattern(QStringLiteral(
        "^(msadpcm|ima|(pcm8|pcm16)/(11025|22050|44100)/[12]|mp3/(16000|22050|24000)/[12])$"));
    return pattern.match(codec).hasMatch();
}

namespace {

// Reads `say:`, `sound:`, `voice:` and `codec:` options into the entry.
void parseOptions(const QString& text, Entry& entry, Problems& problems) {
    for (const QString& raw : text.split(QLatin1Char(';'))) {
        const QString option = raw.trimmed();
        if (option.isEmpty()) continue;
        const int colon = option.indexOf(QLatin1Char(':'));
        const QString name = colon < 0 ? option : option.left(colon).trimmed();
        const QString value = colon < 0 ? QString() : option.mid(colon + 1).trimmed();
        if (name == QLatin1String("say") && !value.isEmpty()) {
            entry.say = value;
        } else if (name == QLatin1String("sound") && !value.isEmpty() &&
                   !value.contains(QLatin1Char(' '))) {
            entry.sound = value;
        } else if (name == QLatin1String("voice") && (value == "en" || value == "zh")) {
            entry.recording.voice = value;
        } else if (name == QLatin1String("codec") && isCodec(value)) {
            entry.recording.codec = value;
        } else if (name == QLatin1String("by") && value.toInt() > 0) {
            entry.speaker = value.toInt();
        } else if (name == QLatin1String("audio") && !value.isEmpty()) {
            entry.recording.file = value;
        } else {
            problems.add(entry.where, QStringLiteral("expected an option say: TEXT, sound: RECIPE, "
                                                     "voice: en|zh, codec: CODEC, by: ENTRY or "
                                                     "audio: FILE, "
                                                     "found \"%1\"")
                                          .arg(option));
        }
    }
    if (!entry.sound.isEmpty() && entry.recording.voice != QLatin1String("en")) {
        problems.add(entry.where, QStringLiteral("a sound: option takes no voice: option"));
    }
    if (!entry.sound.isEmpty() && !entry.recording.file.isEmpty()) {
        problems.add(entry.where,
                     QStringLiteral("an entry plays a sound: or an audio: file, not both"));
    }
}

void parseKind(const QString& text, Entry& entry, Problems& problems) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    static const QStringList kinds{"title", "text", "word", "pic", "picword", "instr"};
    if (words.isEmpty() || !kinds.contains(words[0])) {
        problems.add(entry.where,
                     QStringLiteral("expected a kind (title, text, word, pic THING, picword THING, "
                                    "instr), found \"%1\"")
                         .arg(text));
        return;
    }
    entry.kind = words[0];
    const bool picture = entry.kind == "pic" || entry.kind == "picword";
    if (picture && words.size() < 2) {
        problems.add(entry.where, QStringLiteral("expected a THING after \"%1\"").arg(entry.kind));
    }
    if (!picture && words.size() > 1) {
        problems.add(
            entry.where,
            QStringLiteral("kind \"%1\" takes no arguments, found \"%2\"").arg(entry.kind, text));
    }
    if (picture && words.size() >= 2) entry.thing = words[1];
    if (picture && words.size() >= 3) entry.colour = words.mid(2).join(QLatin1Char(' '));
}

bool parseEntry(const Where& where, const QStringList& f, Entry& entry, Problems& problems) {
    entry.where = where;
    if (f.size() < 5 || f.size() > 6) {
        problems.add(where, QStringLiteral("expected 5 or 6 fields \"number | kind | x,y,w,h | "
                                           "English | Chinese [| options]\", found %1")
                                .arg(f.size()));
        return false;
    }
    bool ok = false;
    entry.number = f[0].toInt(&ok);
    if (!ok) {
        problems.add(where, QStringLiteral("expected an entry number, found \"%1\"").arg(f[0]));
        return false;
    }
    parseKind(f[1], entry, problems);
    QList<int> r;
    if (!parseInts(f[2], 4, r)) {
        problems.add(where, QStringLiteral("expected a rectangle x,y,w,h, found \"%1\"").arg(f[2]));
    } else {
        entry.rect = QRect(r[0], r[1], r[2], r[3]);
    }
    entry.english = f[3];
    entry.chinese = f[4];
    if (entry.english.isEmpty() || entry.chinese.isEmpty()) {
        problems.add(where, QStringLiteral("expected an English and a Chinese line (\"$\" for a "
                                           "placeholder), found an empty field"));
    }
    if (f.size() == 6) parseOptions(f[5], entry, problems);
    entry.recording.text = entry.say.isEmpty() ? entry.english : entry.say;
    if (!entry.recording.file.isEmpty()) {
        entry.recording.voice = QStringLiteral("file");
    } else if (entry.recording.text == QLatin1String("$") && entry.sound.isEmpty()) {
        problems.add(where,
                     QStringLiteral("a placeholder entry needs a say: option telling what its "
                                    "recording says, a sound: option or an audio: file"));
    }
    if (!entry.sound.isEmpty())
        entry.recording = Recording{entry.sound, QStringLiteral("synth"), entry.recording.codec};
    return true;
}

// `draw THING [COLOUR] | x,y,w,h` or `draw heading | x,y,w,h | TEXT`.
void parseDrawing(const Where& where, const QStringList& f, PageSource& page, Problems& problems) {
    const QStringList words = f[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Drawing drawing;
    drawing.where = where;
    const bool heading = words.size() == 2 && words[1] == QLatin1String("heading");
    QList<int> r;
    if (words.size() < 2 || f.size() != (heading ? 3 : 2) || !parseInts(f[1], 4, r)) {
        problems.add(where, QStringLiteral("expected \"draw THING [COLOUR] | x,y,w,h\" or "
                                           "\"draw heading | x,y,w,h | TEXT\""));
        return;
    }
    drawing.rect = QRect(r[0], r[1], r[2], r[3]);
    if (heading) {
        drawing.kind = QStringLiteral("heading");
        drawing.text = f[2];
    } else {
        drawing.kind = QStringLiteral("pic");
        drawing.thing = words[1];
        drawing.colour = words.mid(2).join(QLatin1Char(' '));
    }
    page.drawings.append(drawing);
}

void parseAnswerLine(const Where& where, const QStringList& f, PageSource& page,
                     Problems& problems) {
    const QStringList head = f[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool ok = head.size() == 2;
    const int number = ok ? head[1].toInt(&ok) : 0;
    QPoint pos;
    if (!ok || !parsePoint(f.value(1), pos)) {
        problems.add(where, QStringLiteral("expected \"%1 K | X,Y ...\"").arg(head.value(0)));
        return;
    }
    if (head[0] == "fill") {
        if (f.size() != 3) {
            problems.add(where, QStringLiteral("expected \"fill K | X,Y | DIGIT\""));
            return;
        }
        page.fills.append({where, number, pos, f[2]});
    } else if (head[0] == "tick") {
        const QString key = f.value(2);
        if (f.size() != 3 || (key != "yes" && key != "no" && key != "-")) {
            problems.add(where, QStringLiteral("expected \"tick K | X,Y | yes|no|-\""));
            return;
        }
        page.ticks.append({where, number, pos, key == "yes" ? 1 : key == "no" ? 0 : -1});
    } else {
        if (f.size() != 2) {
            problems.add(where, QStringLiteral("expected \"listen K | X,Y\""));
            return;
        }
        page.listens.append({where, number, pos});
    }
}

void parseHeaderLine(const Where& where, const QString& text, PageSource& page,
                     Problems& problems) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString& key = words[0];
    QString path;
    if (namedField(text, QStringLiteral("image"), path) ||
        (key == "image" && (path = text.mid(5).trimmed(), true))) {
        if (path.isEmpty() || page.image.given()) {
            problems.add(where,
                         QStringLiteral("expected one \"image: FILE\" line naming the page's "
                                        "picture"));
        }
        page.image = {path, QString(), where};
    } else if (key == "page" && words.size() == 2) {
        bool ok = false;
        page.pageNumber = words[1].toInt(&ok);
        page.pageWhere = where;
        if (!ok) problems.add(where, QStringLiteral("expected \"page N\""));
    } else if (key == "theme" && words.size() == 2) {
        page.theme = words[1];
    } else if (words == QStringList{"word", "list"}) {
        page.wordList = true;
        page.wordListWhere = where;
    } else if (key == "overlay" && words.size() == 2 && parsePoint(words[1], page.overlay)) {
        page.hasOverlay = true;
        page.overlayWhere = where;
    } else {
        problems.add(where, QStringLiteral("expected \"page N\", \"word list\", \"theme NAME\", "
                                           "\"overlay X,Y\", \"image: FILE\" or an entry line, "
                                           "found \"%1\"")
                                .arg(text));
    }
}

// `section: NAME | page N`.
void parseSection(const Where& where, const QStringList& f, BookSources& book, Problems& problems) {
    static const QRegularExpression page(QStringLiteral("^page\\s+(\\d+)$"));
    QString name;
    const auto match = page.match(f.value(1));
    if (f.size() != 2 || !namedField(f[0], QStringLiteral("section"), name) || name.isEmpty() ||
        !match.hasMatch()) {
        problems.add(where,
                     QStringLiteral("expected \"section: NAME | page N\" (the section's name "
                                    "in the section chooser and the page it starts on)"));
        return;
    }
    book.sections.append({where, name, match.captured(1).toInt()});
}

}  // namespace

void parseBookFile(const QString& file, const QString& text, BookSources& book,
                   Problems& problems) {
    book.bookFile = file;
    const QList<std::pair<QString, BookLine*>> names{
        {QStringLiteral("title"), &book.names.title},
        {QStringLiteral("caption"), &book.names.caption},
        {QStringLiteral("shortcut"), &book.names.shortcut}};
    for (const Line& line : meaningfulLines(text)) {
        const Where where{file, line.number};
        const QStringList f = fields(line.text);
        if (f[0].startsWith(QLatin1String("section:"))) {
            parseSection(where, f, book, problems);
            continue;
        }
        bool named = false;
        for (const auto& [key, name] : names) {
            QString value;
            if (f.size() != 1 || !namedField(f[0], key, value)) continue;
            named = true;
            if (value.isEmpty() || name->where.line > 0) {
                problems.add(where, QStringLiteral("expected one \"%1: TEXT\" line").arg(key));
            }
            *name = {where, value};
        }
        if (!named) {
            problems.add(where, QStringLiteral("expected \"title: TEXT\", \"caption: TEXT\", "
                                               "\"shortcut: TEXT\" or \"section: NAME | page N\", "
                                               "found \"%1\"")
                                    .arg(line.text));
        }
    }
}

PageSource parsePage(const QString& file, const QString& text, Problems& problems) {
    PageSource page;
    page.file = file;
    for (const Line& line : meaningfulLines(text)) {
        const Where where{file, line.number};
        const QStringList f = fields(line.text);
        const QString first = f[0].section(QLatin1Char(' '), 0, 0);
        if (first == "fill" || first == "tick" || first == "listen") {
            parseAnswerLine(where, f, page, problems);
        } else if (first == "draw") {
            parseDrawing(where, f, page, problems);
        } else if (f.size() == 1) {
            parseHeaderLine(where, line.text, page, problems);
        } else {
            Entry entry;
            if (parseEntry(where, f, entry, problems)) page.entries.append(entry);
        }
    }
    return page;
}

UnitSource parseUnit(const QString& file, int unit, const QString& text, Problems& problems) {
    UnitSource source;
    source.file = file;
    source.unit = unit;
    for (const Line& line : meaningfulLines(text)) {
        const QStringList f = fields(line.text);
        const Where where{file, line.number};
        QString name;
        if (f.size() == 1 && namedField(f[0], QStringLiteral("name"), name)) {
            if (name.isEmpty() || !source.name.isEmpty()) {
                problems.add(where, QStringLiteral("expected one \"name: NAME\" line naming the "
                                                   "unit in the unit choosers"));
            }
            source.name = name;
            source.nameWhere = where;
            continue;
        }
        QString audio;
        if (f.size() < 2 || f.size() > 3 || f[0].isEmpty() || f[1].isEmpty() ||
            (f.size() == 3 &&
             (!namedField(f[2], QStringLiteral("audio"), audio) || audio.isEmpty()))) {
            problems.add(where, QStringLiteral("expected \"English | Chinese [| audio: FILE]\" or "
                                               "\"name: NAME\""));
            continue;
        }
        source.words.append({where, f[0], f[1], {audio, QString(), where}});
    }
    return source;
}

QList<ClipSource> parseClips(const QString& file, const QString& text, Problems& problems) {
    QList<ClipSource> clips;
    for (const Line& line : meaningfulLines(text)) {
        const QStringList f = fields(line.text);
        const Where where{file, line.number};
        QString audio;
        if (f.size() < 4 || f.size() > 5 || f[0].isEmpty() || f[3].isEmpty() ||
            (f.size() == 5 &&
             (!namedField(f[4], QStringLiteral("audio"), audio) || audio.isEmpty()))) {
            problems.add(
                where, QStringLiteral("expected \"role | voice | codec | text [| audio: FILE]\""));
            continue;
        }
        if (f[1] != "en" && f[1] != "zh" && f[1] != "synth") {
            problems.add(
                where,
                QStringLiteral("expected the voice en, zh or synth, found \"%1\"").arg(f[1]));
            continue;
        }
        if (!isCodec(f[2])) {
            problems.add(where, QStringLiteral("expected a codec (msadpcm, ima, pcm8/R/C, "
                                               "pcm16/R/C, mp3/R/C), found \"%1\"")
                                    .arg(f[2]));
            continue;
        }
        Recording recording{f[3], f[1], f[2]};
        if (!audio.isEmpty()) {
            recording.voice = QStringLiteral("file");
            recording.file = audio;
            recording.loop = isLoopedClipRole(f[0]);
        }
        clips.append({where, f[0], recording});
    }
    return clips;
}

QList<PictureSource> parsePictures(const QString& file, const QString& text, Problems& problems) {
    QList<PictureSource> pictures;
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    for (const Line& line : meaningfulLines(text)) {
        const QStringList f = fields(line.text);
        const Where where{file, line.number};
        const auto size = sizePattern.match(f.value(1));
        QString image;
        if (f.size() < 5 || f.size() > 6 || !size.hasMatch() || f[0].isEmpty() || f[2].isEmpty() ||
            (f.size() == 6 &&
             (!namedField(f[5], QStringLiteral("image"), image) || image.isEmpty()))) {
            problems.add(where, QStringLiteral("expected \"name | WxH | painter | text | format "
                                               "[| image: FILE]\""));
            continue;
        }
        pictures.append({where,
                         f[0],
                         QSize(size.captured(1).toInt(), size.captured(2).toInt()),
                         f[2],
                         f[3],
                         f[4],
                         {image, QString(), where}});
    }
    return pictures;
}

namespace {

// Reads a text file, keeping its bytes in `bytes` when the caller asked for them.
bool readText(const QString& path, QString& text, Problems& problems, SourceBytes* bytes) {
    QByteArray content;
    const bool read = readTextFile(path, text, problems, &content);
    if (read && bytes) bytes->insert(path, content);
    return read;
}

// The numbered files of a folder (pages/pNN.txt, units/unitN.txt) by their number. Another text
// file there (p2.txt, page10.txt) is reported: it would be left out without a word.
QMap<int, QString> numberedFiles(const QDir& dir, const QString& prefix, int digits,
                                 const QString& example, Problems& problems) {
    QMap<int, QString> files;
    const QRegularExpression pattern(QStringLiteral("^%1(\\d+)\\.txt$").arg(prefix));
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const auto match = pattern.match(name);
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        const QString expected =
            QStringLiteral("%1%2.txt").arg(prefix).arg(number, digits, 10, QChar('0'));
        if (number < 1 || name != expected) {
            problems.add({dir.filePath(name), 0},
                         QStringLiteral("expected a file named like %1 (%2 and a number from 1, "
                                        "%3 digits at least): the build reads no other file here")
                             .arg(example, prefix)
                             .arg(digits));
            continue;
        }
        files.insert(number, dir.filePath(name));
    }
    return files;
}

// Gives each page read the name of its section.
void nameSections(BookSources& book) {
    for (PageSource& page : book.pages) page.section = sectionOfPage(book, page.pageNumber);
}

}  // namespace

BookSources readSources(const QString& folder, const QList<int>& onlyPages, Problems& problems,
                        bool pages, SourceBytes* bytes) {
    BookSources book;
    book.folder = folder;
    const QDir dir(folder);
    QString text;
    const QString bookPath = dir.filePath(QStringLiteral("book.txt"));
    if (readText(bookPath, text, problems, bytes)) parseBookFile(bookPath, text, book, problems);
    const QMap<int, QString> pageFiles =
        numberedFiles(QDir(dir.filePath(QStringLiteral("pages"))), QStringLiteral("p"), 2,
                      QStringLiteral("p02.txt"), problems);
    book.pageNumbers = pageFiles.keys();
    for (auto it = pageFiles.begin(); it != pageFiles.end(); ++it) {
        if (!pages || (!onlyPages.isEmpty() && !onlyPages.contains(it.key()))) continue;
        if (readText(it.value(), text, problems, bytes))
            book.pages.append(parsePage(it.value(), text, problems));
    }
    const QMap<int, QString> unitFiles =
        numberedFiles(QDir(dir.filePath(QStringLiteral("units"))), QStringLiteral("unit"), 1,
                      QStringLiteral("unit1.txt"), problems);
    for (auto it = unitFiles.begin(); it != unitFiles.end(); ++it) {
        if (readText(it.value(), text, problems, bytes))
            book.units.append(parseUnit(it.value(), it.key(), text, problems));
    }
    const QString clipsPath = dir.filePath(QStringLiteral("clips.txt"));
    if (readText(clipsPath, text, problems, bytes))
        book.clips = parseClips(clipsPath, text, problems);
    const QString picturesPath = dir.filePath(QStringLiteral("pictures.txt"));
    if (readText(picturesPath, text, problems, bytes)) {
        book.pictures = parsePictures(picturesPath, text, problems);
    }
    readText(dir.filePath(QStringLiteral("start_about.html")), book.aboutHtml, problems, bytes);
    readText(dir.filePath(QStringLiteral("start_faq.html")), book.faqHtml, problems, bytes);
    nameSections(book);
    resolveSuppliedFiles(book, folder);
    return book;
}

int screenOfPage(const BookSources& book, int page) {
    return int(book.pageNumbers.indexOf(page));
}

QString sectionOfPage(const BookSources& book, int page) {
    QString name;
    for (const SectionSource& section : book.sections) {
        if (section.firstPage <= page) name = section.name;
    }
    return name;
}

QString pictureBoxName(const BookSources& book, int screen) {
    const QString builtIn = book.builtInVolume ? builtInPictureBox(screen) : QString();
    return builtIn.isEmpty() ? QStringLiteral("图片框底图%1").arg(screen + 1) : builtIn;
}

QString listenIconName(const BookSources& book, int page) {
    const QString builtIn = book.builtInVolume ? builtInListenIconName(page) : QString();
    return builtIn.isEmpty() ? QStringLiteral("图片框听录音s%1_1").arg(page) : builtIn;
}

QSize pagePictureSize(const BookSources& book, int page) {
    const QSize builtIn = book.builtInVolume ? builtInPagePictureSize(page) : QSize();
    return builtIn.isValid() ? builtIn : kPagePictureSize;
}

const Entry* listeningEntry(const PageSource& page) {
    if (page.listens.isEmpty()) return nullptr;
    const QRect icon(page.listens[0].pos, QSize(kListenIconSize, kListenIconSize));
    for (const Entry& e : page.entries) {
        if (e.rect.contains(icon)) return &e;
    }
    return nullptr;
}

namespace {

QString resolved(const QDir& dir, const QString& file) {
    return file.isEmpty() ? QString() : QDir::cleanPath(dir.absoluteFilePath(file));
}

}  // namespace

void resolveSuppliedFiles(PageSource& page, const QString& folder) {
    const QDir dir(folder);
    page.image.path = resolved(dir, page.image.file);
    for (Entry& e : page.entries) e.recording.path = resolved(dir, e.recording.file);
}

void resolveSuppliedFiles(UnitSource& unit, const QString& folder) {
    const QDir dir(folder);
    for (UnitWord& w : unit.words) w.audio.path = resolved(dir, w.audio.file);
}

void resolveSuppliedFiles(BookSources& book, const QString& folder) {
    const QDir dir(folder);
    const auto resolve = [&dir](const QString& file) { return resolved(dir, file); };
    for (PageSource& page : book.pages) resolveSuppliedFiles(page, folder);
    for (UnitSource& unit : book.units) resolveSuppliedFiles(unit, folder);
    for (ClipSource& clip : book.clips) clip.recording.path = resolve(clip.recording.file);
    for (PictureSource& picture : book.pictures) picture.image.path = resolve(picture.image.file);
}

}  // namespace tool
