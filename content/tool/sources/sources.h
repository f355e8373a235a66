#pragma once

// The content sources as read from content/book: pages, unit word lists, built-in clips,
// window pictures and the start window's texts. Every item remembers its file and line so
// that a check can point at it.

#include <QList>
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
    QString name;  // the name in the unit choosers; empty: "Unit N"
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

// The book's names: the program title (start window title and banner), the start window's
// caption and the desktop shortcut's name.
struct BookNames {
    QString title = QStringLiteral("青橙英语三年级上册点读软件");
    QString caption = QStringLiteral("英语三年级上册点读软件");
    QString shortcut = QStringLiteral("青橙点读软件三年级上册");
};

struct BookSources {
    QString folder;
    BookNames names;
    QList<PageSource> pages;
    QList<UnitSource> units;
    QList<ClipSource> clips;
    QList<PictureSource> pictures;
    QString aboutHtml;
    QString faqHtml;
};

// Reads one page file; syntax problems are added to `problems`.
PageSource parsePage(const QString& file, const QString& text, Problems& problems);
UnitSource parseUnit(const QString& file, int unit, const QString& text, Problems& problems);
QList<ClipSource> parseClips(const QString& file, const QString& text, Problems& problems);
QList<PictureSource> parsePictures(const QString& file, const QString& text, Problems& problems);

// Reads the whole folder. `onlyPages` limits the page files read (empty: all); with `pages`
// false no page file is read. Supplied files are resolved against the folder.
BookSources readSources(const QString& folder, const QList<int>& onlyPages, Problems& problems,
                        bool pages = true);

// Gives every supplied file of the book its path inside `folder` (the content folder).
void resolveSuppliedFiles(BookSources& book, const QString& folder);

QString pageFileName(int page);

// The recording a page entry (or word-list hotspot) and a unit word play.
Recording entryRecording(const Entry& entry);
Recording unitWordRecording(const UnitWord& word);

// Whether a codec name is one the book uses: msadpcm, ima, pcm8/R/C, pcm16/R/C, mp3/R/C.
bool isCodec(const QString& codec);

}  // namespace tool
