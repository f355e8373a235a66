#pragma once

// The content sources as read from a content folder: the book's names and sections, its pages,
// unit word lists, built-in clips, window pictures and the start window's texts. Every item
// remembers its file and line so that a check can point at it.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tool {

struct Where {
    QString file;
    int line = 0;
};

struct Problem {
    Where where;
    QString message;
};

class Problems {
  public:
    void add(const Where& where, const QString& message) { list_.append({where, message}); }
    bool empty() const { return list_.isEmpty(); }
    const QList<Problem>& list() const { return list_; }
    QString report() const;

  private:
    QList<Problem> list_;
};

// What a recording says, with which voice and in which codec. A recording a school supplies
// (an `audio:` option) has the voice "file": `file` is the path as the source wrote it,
// `path` the file it names; `text` still tells what it says. `loop` marks a supplied recording
// that is played looped (the matching game's music): it keeps its length as it is.
struct Recording {
    QString text;
    QString voice = QStringLiteral("en");       // en, zh, synth or file
    QString codec = QStringLiteral("msadpcm");  // msadpcm, ima, pcm8/R/C, pcm16/R/C, mp3/R/C
    QString file = {};
    QString path = {};
    bool loop = false;
    bool supplied() const { return voice == QLatin1String("file"); }
    QString key() const {
        if (!supplied()) return voice + QLatin1Char('|') + codec + QLatin1Char('|') + text;
        return voice + QLatin1Char('|') + codec +
               (loop ? QStringLiteral("|loop|") : QStringLiteral("|")) + path;
    }
};

// A file a school supplies in place of a drawn picture or a made recording: the path as the
// source wrote it (relative to the content folder), the file it names, and the line naming it.
struct SuppliedFile {
    QString file;
    QString path;
    Where where;
    bool given() const { return !file.isEmpty(); }
};

struct Entry {
    Where where;
    int number = 0;
    QString kind;
    QString thing;
    QString colour;
    QRect rect;
    QString english;
    QString chinese;
    QString say;      // explicit say: option, empty when none
    QString sound;    // sound: option (a recipe of the synthesiser), empty when none
    int speaker = 0;  // by: option: the entry whose picture says this line (0: none given)
    Recording recording;
};

// A drawing with no hotspot: scenery, props and headings that nobody presses.
struct Drawing {
    Where where;
    QString kind;    // "pic" (a drawing of THING) or "heading" (printed text)
    QString thing;   // pic: a THING of the drawing vocabulary
    QString colour;  // pic: optional COLOUR (for number and birthdaycake: what to draw)
    QRect rect;
    QString text;  // heading: the printed words
};

struct FillBox {
    Where where;
    int number = 0;
    QPoint pos;
    QString answer;
};

struct TickBox {
    Where where;
    int number = 0;
    QPoint pos;
    int expected = -1;  // 1 yes, 0 no, -1 not checked
};

struct ListenIcon {
    Where where;
    int number = 0;
    QPoint pos;
};

struct PageSource {
    QString file;
    int pageNumber = 0;
    Where pageWhere;        // the `page N` line
    bool wordList = false;  // a `word list` line: its hotspots play words, it has no text table
    Where wordListWhere;
    QString section;  // the name of the section the page belongs to (book.txt), for its footer
    QString theme;
    SuppliedFile image;  // `image:` line: the page's picture comes from this file
    bool hasOverlay = false;
    QPoint overlay;
    Where overlayWhere;
    QList<Entry> entries;
    QList<Drawing> drawings;
    QList<FillBox> fills;
    QList<TickBox> ticks;
    QList<ListenIcon> listens;
};

struct UnitWord {
    Where where;
    QString english;
    QString chinese;
    SuppliedFile audio;  // `audio:` field: the word's recording comes from this file
};

struct UnitSource {
    QString file;
    int unit = 0;
    QString name;  // `name:` line, the name in the unit choosers; empty: "Unit N"
    Where nameWhere;
    QList<UnitWord> words;
};

struct ClipSource {
    Where where;
    QString role;
    Recording recording;
};

struct PictureSource {
    Where where;
    QString name;
    QSize size;
    QString painter;
    QString text;
    QString format;
    SuppliedFile image;  // `image:` field: the picture comes from this file
};

// A line of book.txt that gives a name.
struct BookLine {
    Where where;
    QString text;
};

// The book's names (book.txt): the program title (start window title and banner), the start
// window's caption and the desktop shortcut's name.
struct BookNames {
    BookLine title;
    BookLine caption;
    BookLine shortcut;
};

// A section of the book (book.txt): its name in the section chooser and its first page.
struct SectionSource {
    Where where;
    QString name;
    int firstPage = 0;
};

struct BookSources {
    QString folder;
    QString bookFile;  // book.txt
    BookNames names;
    QList<SectionSource> sections;
    QList<int> pageNumbers;   // every page the book has, in order: the book's screens
    QList<PageSource> pages;  // the pages read (all of them, or those a run is limited to)
    QList<UnitSource> units;
    QList<ClipSource> clips;
    QList<PictureSource> pictures;
    QString aboutHtml;
    QString faqHtml;
    // The sources are the demonstration volume's (--built-in-volume): its facts are checked and
    // its pages keep the names and sizes they have always had in the program.
    bool builtInVolume = false;
};

// Reads book.txt: the book's names and sections; syntax problems are added to `problems`.
void parseBookFile(const QString& file, const QString& text, BookSources& book, Problems& problems);
// Reads one page file; syntax problems are added to `problems`.
PageSource parsePage(const QString& file, const QString& text, Problems& problems);
UnitSource parseUnit(const QString& file, int unit, const QString& text, Problems& problems);
QList<ClipSource> parseClips(const QString& file, const QString& text, Problems& problems);
QList<PictureSource> parsePictures(const QString& file, const QString& text, Problems& problems);

// The text files a read took in, as their bytes on disk by path: a program that writes the
// sources back (the studio) keeps them, so that a file nobody touched is written byte for byte.
using SourceBytes = QMap<QString, QByteArray>;

// Reads the whole folder: book.txt, every page file pages/pNN.txt (the book's pages, in the
// order of their numbers), every unit word list units/unitN.txt, the clips, pictures and start
// texts. `onlyPages` limits the page files read (empty: all); with `pages` false no page file is
// read, though the pages the book has are still listed. Supplied files are resolved against the
// folder. `bytes`, when given, receives every text file read.
BookSources readSources(const QString& folder, const QList<int>& onlyPages, Problems& problems,
                        bool pages = true, SourceBytes* bytes = nullptr);

// Gives every supplied file of the book (or of one page or unit) its path inside `folder` (the
// content folder).
void resolveSuppliedFiles(BookSources& book, const QString& folder);
void resolveSuppliedFiles(PageSource& page, const QString& folder);
void resolveSuppliedFiles(UnitSource& unit, const QString& folder);

QString pageFileName(int page);

// The book's shape as the program sees it. The screen of a page (its place among the book's
// pages; -1 when the book has no such page) and the section a page belongs to (the last one
// starting at or before it; empty when none does).
int screenOfPage(const BookSources& book, int page);
QString sectionOfPage(const BookSources& book, int page);
// The objectName of a screen's picture box, the name of a page's listen icon and the size of a
// page's picture in pixels: 图片框底图<screen + 1>, 图片框听录音s<page>_1 and 2150 x 1524 for any
// book; the built-in volume keeps its own.
QString pictureBoxName(const BookSources& book, int screen);
QString listenIconName(const BookSources& book, int page);
QSize pagePictureSize(const BookSources& book, int page);
// The entry whose hotspot holds the page's listen icon: its recording is the listening
// exercise. Null when the page has no icon or no hotspot holds it.
const Entry* listeningEntry(const PageSource& page);

// The recording a page entry (or word-list hotspot) and a unit word play.
Recording entryRecording(const Entry& entry);
Recording unitWordRecording(const UnitWord& word);

// Whether a codec name is one the book uses: msadpcm, ima, pcm8/R/C, pcm16/R/C, mp3/R/C.
bool isCodec(const QString& codec);

}  // namespace tool
