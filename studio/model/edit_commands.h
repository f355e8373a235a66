#pragma once

// The undoable edits of a book, one command class per kind of edit. Each keeps the lines of the
// one file it edits before and after, so undo puts back exactly the bytes there were, and redo
// exactly those of the edit. A command made during a gesture (BookDocument::beginGesture)
// carries the gesture's id and merges with the command before it when that one belongs to the
// same gesture and edits the same target: one drag, one held key or one field's typing is one
// undo step, and two drags are always two.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUndoCommand>

#include "book_document.h"
#include "book_items.h"

namespace studio {

class FileEditCommand : public QUndoCommand {
  public:
    // Whether the edit could be made; an edit that could not is obsolete (QUndoStack drops it).
    bool isValid() const { return valid_; }
    int gestureId() const { return gesture_; }
    void undo() override;
    void redo() override;
    // The next undo takes the command off the stack (a cancelled gesture leaves no redo).
    void dropOnUndo() { dropOnUndo_ = true; }

  protected:
    FileEditCommand(BookDocument* document, int file, const Change& change, const QString& text);
    // The lines the edit gives; `made` false, or lines that do not read back with `delta` more
    // records of `kind` (and the rest as they were), make the command invalid.
    void setAfter(bool made, const QStringList& after, int delta = 0, int kind = 0);
    // Takes `other`'s result into this command when both belong to one gesture and edit the
    // same target; a command whose result is where it started becomes obsolete.
    bool absorb(const FileEditCommand* other, bool sameTarget);
    BookDocument* document() const { return document_; }
    int file() const { return file_; }

  private:
    BookDocument* document_;
    int file_;
    Change change_;
    QStringList before_;
    QStringList after_;
    int gesture_;
    bool valid_ = false;
    bool dropOnUndo_ = false;
};

// Moves or resizes items of one page (several selected move together).
class SetGeometryCommand : public FileEditCommand {
  public:
    SetGeometryCommand(BookDocument* document, int page, const QList<ItemGeometry>& moves);
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

  private:
    int page_;
};

class SetTextCommand : public FileEditCommand {
  public:
    SetTextCommand(BookDocument* document, int page, ItemRef item, TextField field,
                   const QString& value);
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override;

  private:
    int page_;
    ItemRef item_;
    TextField field_;
};

class AddEntryCommand : public FileEditCommand {
  public:
    AddEntryCommand(BookDocument* document, int page, int position, const NewEntry& entry);
};

class RemoveEntryCommand : public FileEditCommand {
  public:
    RemoveEntryCommand(BookDocument* document, int page, int position);
};

// Moves an entry to another place in the clip order.
class MoveEntryCommand : public FileEditCommand {
  public:
    MoveEntryCommand(BookDocument* document, int page, int from, int to);
};

// Adds a fill or tick box to a page.
class AddBoxCommand : public FileEditCommand {
  public:
    AddBoxCommand(BookDocument* document, int page, ItemKind kind, QPoint pos,
                  const QString& answer);
};

class RemoveBoxCommand : public FileEditCommand {
  public:
    RemoveBoxCommand(BookDocument* document, int page, ItemRef box);
};

// Gives a page its scan (`image:`), or takes it away with an empty file.
class SetPageImageCommand : public FileEditCommand {
  public:
    SetPageImageCommand(BookDocument* document, int page, const QString& file);
};

// Gives an entry or a unit word its recording file (`audio:`); an empty file takes it away.
// The file it had stays in the command, so undo gives it back.
class SetRecordingCommand : public FileEditCommand {
  public:
    static SetRecordingCommand* forEntry(BookDocument* document, int page, int entry,
                                         const QString& file);
    static SetRecordingCommand* forWord(BookDocument* document, int unit, int word,
                                        const QString& file);

  private:
    SetRecordingCommand(BookDocument* document, int file, const Change& change);
};

class SetWordTextCommand : public FileEditCommand {
  public:
    SetWordTextCommand(BookDocument* document, int unit, int word, WordField field,
                       const QString& value);
    int id() const override { return 3; }
    bool mergeWith(const QUndoCommand* other) override;

  private:
    int unit_;
    int word_;
    WordField field_;
};

class AddWordCommand : public FileEditCommand {
  public:
    AddWordCommand(BookDocument* document, int unit, int position, const NewWord& word);
};

class RemoveWordCommand : public FileEditCommand {
  public:
    RemoveWordCommand(BookDocument* document, int unit, int position);
};

// Names a unit in the unit choosers (its `name:` line); an empty name takes the line away.
class SetUnitNameCommand : public FileEditCommand {
  public:
    SetUnitNameCommand(BookDocument* document, int unit, const QString& name);
    int id() const override { return 6; }
    bool mergeWith(const QUndoCommand* other) override;

  private:
    int unit_;
};

class SetNamesCommand : public FileEditCommand {
  public:
    SetNamesCommand(BookDocument* document, const NamesText& names);
    int id() const override { return 4; }
    bool mergeWith(const QUndoCommand* other) override;
};

class SetSectionsCommand : public FileEditCommand {
  public:
    SetSectionsCommand(BookDocument* document, const QList<SectionText>& sections);
    int id() const override { return 5; }
    bool mergeWith(const QUndoCommand* other) override;
};

// Puts whole files' texts in place, all as one undo step: the work a recovery file brings back.
class RestoreFilesCommand : public QUndoCommand {
  public:
    explicit RestoreFilesCommand(BookDocument* document);
    // Adds a file's text to put back; a text the file already has is left out.
    void add(int file, const QStringList& lines);
    bool isEmpty() const { return files_.isEmpty(); }
    void undo() override;
    void redo() override;

  private:
    struct Texts {
        int file;
        QStringList before;
        QStringList after;
    };
    BookDocument* document_;
    QList<Texts> files_;
};

}  // namespace studio
