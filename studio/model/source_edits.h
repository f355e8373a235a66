#pragma once

// The edits the studio makes to a content folder's text files, as changes to their lines. Each
// takes the file's lines (with their endings) and what the content tool read from them, and
// changes only the lines of the records it edits: a changed field is written in place with the
// line's own spacing, a new line is spaced like the file's other lines of its kind and ends as
// most of the file's lines do. Each returns false, leaving the lines as they were, when the edit
// cannot be made (no such item, or a value that would break its line).

#include <QList>
#include <QString>
#include <QStringList>

#include "book_items.h"
#include "sources/sources.h"

namespace studio {

// Why a text cannot go into a field of a line (empty when it can): `|` separates fields, `;` the
// options of an entry, a line break ends the record, and every character must be one GBK writes.
QString valueProblem(const QString& value, bool isOption = false);

namespace edits {

// Page files.
bool setGeometry(QStringList& lines, const tool::PageSource& page,
                 const QList<ItemGeometry>& moves);
bool setText(QStringList& lines, const tool::PageSource& page, ItemRef item, TextField field,
             const QString& value);
bool setEntryAudio(QStringList& lines, const tool::PageSource& page, int entry,
                   const QString& file);
bool setImage(QStringList& lines, const QString& newline, const tool::PageSource& page,
              const QString& file);
// Entries are numbered 1..n in clip order: adding, removing or moving one renumbers those after
// it, and a `by:` option follows the entry it names (and goes with a removed one).
bool insertEntry(QStringList& lines, const QString& newline, const tool::PageSource& page,
                 int position, const NewEntry& entry);
bool removeEntry(QStringList& lines, const tool::PageSource& page, int position);
bool moveEntry(QStringList& lines, const tool::PageSource& page, int from, int to);
// Answer boxes (fill, tick) are numbered 1..n per kind in the file's order: a new one is written
// after the others of its kind with the next number, and removing one renumbers those after it.
// A fill box's answer may be empty (the check then asks for it); a tick box's is yes, no or -.
bool insertBox(QStringList& lines, const QString& newline, const tool::PageSource& page,
               ItemKind kind, QPoint pos, const QString& answer);
bool removeBox(QStringList& lines, const tool::PageSource& page, ItemRef box);

// Unit files.
bool setWordText(QStringList& lines, const tool::UnitSource& unit, int word, WordField field,
                 const QString& value);
bool setWordAudio(QStringList& lines, const tool::UnitSource& unit, int word, const QString& file);
bool insertWord(QStringList& lines, const QString& newline, const tool::UnitSource& unit,
                int position, const NewWord& word);
bool removeWord(QStringList& lines, const tool::UnitSource& unit, int position);
// The unit's `name:` line: changed in place, put first when missing, left out when empty.
bool setUnitName(QStringList& lines, const QString& newline, const tool::UnitSource& unit,
                 const QString& name);

// book.txt.
bool setNames(QStringList& lines, const QString& newline, const tool::BookSources& book,
              const NamesText& names);
bool setSections(QStringList& lines, const QString& newline, const tool::BookSources& book,
                 const QList<SectionText>& sections);

}  // namespace edits
}  // namespace studio
