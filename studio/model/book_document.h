#pragma once

// The book a teacher edits in the studio, without any widget: its pages (entries with their
// rectangles and texts, drawings, answer boxes, the listen icon), units and words, its names and
// sections, read from a content folder by the content tool's own readers.
//
// Every text file is kept as its lines (SourceText); what the tool read from a file is read
// again from those lines after each change, so the book the editor shows is always the book
// the content check and build will read. An edit is a command on the undo stack that changes
// the lines of the records it edits and nothing else; saving writes, through QSaveFile, only the
// files whose text differs from the disk's, so a file nobody touched keeps every byte.

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <QUndoStack>

#include "book_items.h"
#include "source_text.h"
#include "sources/sources.h"

namespace studio {

class FileEditCommand;

// What an applied edit changed, for the signals: the page, unit or book; on a page the items
// whose geometry or texts changed, or none for a change to the page as a whole (entries added,
// removed or reordered, its scan).
struct Change {
    enum class Scope { Page, Unit, Book, OtherFile };
    Scope scope = Scope::Page;
    int index = -1;
    QList<ItemRef> items;
    // Both changes together: the items of both, or the whole page when either was.
    Change united(const Change& other) const;
};

class BookDocument : public QObject {
    Q_OBJECT

  public:
    explicit BookDocument(QObject* parent = nullptr);
    ~BookDocument() override;

    // Reads the content folder; false with `error` when it is not a book's folder (no
    // book.txt). Syntax problems of its files do not stop it: they are in readProblems().
    bool open(const QString& folder, QString* error = nullptr);
    const QString& folder() const { return sources_.folder; }

    // The book as the content tool reads it from the lines as they stand.
    const tool::BookSources& sources() const { return sources_; }
    int pageCount() const { return int(sources_.pages.size()); }
    const tool::PageSource& page(int page) const { return sources_.pages[page]; }
    int unitCount() const { return int(sources_.units.size()); }
    const tool::UnitSource& unit(int unit) const { return sources_.units[unit]; }
    // An entry's options field as written (`say: ...; by: 2`), empty when it has none.
    QString entryOptions(int page, int entry) const;
    // Where an item lies on the page in the 800 x 540 design space, answer boxes and the listen
    // icon with their fixed sizes; an empty rectangle for no such item.
    QRect itemRect(int page, ItemRef item) const;
    // The tool's syntax problems of the files as they stand.
    QList<tool::Problem> readProblems() const;

    // The text files, each as its lines.
    int fileCount() const { return int(files_.size()); }
    const SourceText& file(int file) const { return files_[file].text; }
    int fileOfPage(int page) const { return pageFiles_.value(page, -1); }
    int fileOfUnit(int unit) const { return unitFiles_.value(unit, -1); }
    int bookFile() const { return bookFile_; }

    // Edits. Each pushes one command on the undo stack and applies it; false, with nothing
    // pushed, when the edit cannot be made (no such item, a text that would break its line).
    bool setGeometry(int page, const QList<ItemGeometry>& moves);
    bool setText(int page, ItemRef item, TextField field, const QString& value);
    bool addEntry(int page, int position, const NewEntry& entry);
    bool removeEntry(int page, int position);
    bool moveEntry(int page, int from, int to);
    // Adds a fill or tick box with its top left corner at `pos`, numbered after the page's
    // others of its kind; removes one, renumbering those after it.
    bool addAnswerBox(int page, ItemKind kind, QPoint pos, const QString& answer = {});
    bool removeAnswerBox(int page, ItemRef box);
    // Several items as one undo step. removeItems takes entries and answer boxes away;
    // duplicateItems adds after the page's others a copy of each entry (its kind, texts and
    // options) and answer box, moved by `offset` and kept inside the page, and returns the
    // copies (empty, with nothing pushed, when none could be made).
    bool removeItems(int page, const QList<ItemRef>& items);
    QList<ItemRef> duplicateItems(int page, const QList<ItemRef>& items, QPoint offset);
    bool setPageImage(int page, const QString& file);
    bool setEntryAudio(int page, int entry, const QString& file);
    bool setWordText(int unit, int word, WordField field, const QString& value);
    bool setWordAudio(int unit, int word, const QString& file);
    bool addWord(int unit, int position, const NewWord& word);
    bool removeWord(int unit, int position);
    bool setUnitName(int unit, const QString& name);
    bool setNames(const NamesText& names);
    bool setSections(const QList<SectionText>& sections);

    QUndoStack* undoStack() { return &undoStack_; }
    bool isModified() const { return !undoStack_.isClean(); }

    // A gesture (a drag, a held arrow key, typing in one field) is one undo step: every command
    // made between beginGesture() and endGesture() carries the gesture's id, and commands of one
    // gesture on the same target merge. Separate gestures never merge. cancelGesture() takes
    // back what the open gesture did (Esc during a drag) and leaves nothing to redo.
    int beginGesture();
    void endGesture();
    int gesture() const { return gesture_; }
    bool cancelGesture();

    // Writes every file whose text differs from what is on disk, each through its own
    // QSaveFile, and marks the document unmodified. Writes nothing when a character cannot be
    // written in its file's encoding, or a file to write was changed on disk since it was read
    // (unless `overwriteChangedFiles`); `error` names the file. A file that cannot be written
    // (a full disk, a read-only folder) is named in `error` and stays unsaved, its old bytes
    // untouched on disk; the others are written.
    bool save(QString* error = nullptr, bool overwriteChangedFiles = false);
    // Writes every text file as it stands into another folder (with pages/ and units/).
    bool writeCopy(const QString& folder, QString* error = nullptr) const;
    // Copies a file the teacher picked (a scan, a recording) into the content folder's
    // `subfolder` (scans, recordings) as `baseName` with the file's suffix, or -2, -3 ... after
    // the name when it is taken: a file the book named before is never overwritten, so undoing
    // setPageImage or setEntryAudio gives back the old file as it was. A file already inside the
    // folder is not copied. Returns the path relative to the folder, as `image:` and `audio:`
    // take it; empty with `error` when the file cannot be read or copied.
    QString importFile(const QString& source, const QString& subfolder, const QString& baseName,
                       QString* error = nullptr) const;
    // The files whose bytes on disk are no longer those read or last written.
    QStringList filesChangedOnDisk() const;

    // The unsaved work in one file: the folder and every file's current text. loadRecovery
    // opens that folder and puts the texts back as one undo step (the document is then
    // modified); false when the file is not a recovery file or is damaged.
    bool saveRecovery(const QString& path, QString* error = nullptr) const;
    bool loadRecovery(const QString& path, QString* error = nullptr);

    // For the commands: a file's lines, whether new lines for it read back with `delta` more
    // records of one kind (`kind`: on a page an ItemKind, elsewhere 0 for its main kind, words
    // or sections) and the rest as they are, and putting lines in place (read again, the change
    // signalled).
    const QStringList& lines(int file) const { return files_[file].text.lines(); }
    bool readsBack(int file, const QStringList& lines, int delta, int kind = 0) const;
    void applyLines(int file, const QStringList& lines, const Change& change);
    // The change that replacing a file's whole text makes.
    Change changeOfFile(int file) const;

  signals:
    void opened();
    void pageChanged(int page);
    void itemChanged(int page, studio::ItemRef item);
    void unitChanged(int unit);
    void bookChanged();
    void modifiedChanged(bool modified);

  private:
    enum class Role { Book, Page, Unit, Other };
    struct File {
        SourceText text;
        Role role = Role::Other;
        int index = -1;  // the page or unit it holds
        QList<tool::Problem> problems;
    };

    bool push(FileEditCommand* command);
    void endMacro(bool madeEdits);
    void readBack(int file);
    QList<int> recordCounts(int file, const QString& text) const;
    int fileByRelativePath(const QString& path) const;

    tool::BookSources sources_;
    QList<File> files_;
    QList<int> pageFiles_;
    QList<int> unitFiles_;
    int bookFile_ = -1;
    QList<tool::Problem> folderProblems_;
    QUndoStack undoStack_;
    int gesture_ = 0;
    int lastGesture_ = 0;
};

}  // namespace studio
