#include "source_edits.h"

#include <QMap>
#include <algorithm>

#include "record_line.h"
#include "source_text.h"
#include "sources/checks.h"

namespace studio {

QString valueProblem(const QString& value, bool isOption) {
    if (value.contains(QLatin1Char('|')))
        return QStringLiteral("\"|\" separates the fields of a line: a text cannot hold it");
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return QStringLiteral("a text is one line");
    if (isOption && value.contains(QLatin1Char(';')))
        return QStringLiteral("\";\" separates an entry's options: an option cannot hold it");
    if (!tool::encodesInGbk(value)) return QStringLiteral("a character cannot be written in GBK");
    return {};
}

namespace edits {

namespace {

// Entry fields: number | kind | x,y,w,h | English | Chinese [| options].
constexpr int kNumber = 0, kKind = 1, kRect = 2, kEnglish = 3, kChinese = 4, kOptions = 5;

int lineIndex(const tool::Where& where) {
    return where.line - 1;
}

bool fits(const QString& value, bool isOption = false) {
    return valueProblem(value, isOption).isEmpty();
}

void rewrite(QStringList& lines, int index, const RecordLine& record) {
    lines[index] = record.line();
}

// Inserts `text` as line `index`, ending as the file's lines end. A file whose last line had no
// ending keeps its last line without one.
void insertLine(QStringList& lines, int index, const QString& text, const QString& newline) {
    if (index >= lines.size() && !lines.isEmpty() && lineEnding(lines.last()).isEmpty()) {
        lines.last() += newline;
        lines.append(text);
        return;
    }
    lines.insert(index, text + newline);
}

void removeLine(QStringList& lines, int index) {
    if (index == lines.size() - 1 && index > 0 && lineEnding(lines[index]).isEmpty())
        lines[index - 1] = withoutEnding(lines[index - 1]);
    lines.removeAt(index);
}

// The options field of an entry line given a new value; an empty one is left out.
void setOptions(RecordLine& record, const QString& options) {
    if (record.size() > kOptions && options.isEmpty()) {
        record.removeLastField();
    } else if (record.size() > kOptions) {
        record.setField(kOptions, options);
    } else if (!options.isEmpty()) {
        record.appendField(options);
    }
}

bool setOption(QStringList& lines, const tool::Entry& entry, const QString& name,
               const QString& value) {
    if (!fits(value, true)) return false;
    RecordLine record(lines[lineIndex(entry.where)]);
    setOptions(record, withOption(record.field(kOptions), name, value));
    rewrite(lines, lineIndex(entry.where), record);
    return true;
}

QList<int> rectNumbers(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

const tool::Where* whereOf(const tool::PageSource& page, ItemRef item) {
    const auto at = [&item](const auto& list) -> const tool::Where* {
        return item.index >= 0 && item.index < list.size() ? &list[item.index].where : nullptr;
    };
    switch (item.kind) {
        case ItemKind::Entry:
            return at(page.entries);
        case ItemKind::Drawing:
            return at(page.drawings);
        case ItemKind::Fill:
            return at(page.fills);
        case ItemKind::Tick:
            return at(page.ticks);
        case ItemKind::Listen:
            return at(page.listens);
    }
    return nullptr;
}

bool moveItem(QStringList& lines, const tool::PageSource& page, const ItemGeometry& move) {
    const tool::Where* where = whereOf(page, move.item);
    if (!where) return false;
    RecordLine record(lines[lineIndex(*where)]);
    const QRect& r = move.rect;
    if (move.item.kind == ItemKind::Entry || move.item.kind == ItemKind::Drawing) {
        if (r.width() <= 0 || r.height() <= 0) return false;
        const int field = move.item.kind == ItemKind::Entry ? kRect : 1;
        record.setField(field, joinNumbers(rectNumbers(r), record.field(field)));
    } else {
        record.setField(1, joinNumbers({r.x(), r.y()}, record.field(1)));
    }
    rewrite(lines, lineIndex(*where), record);
    return true;
}

bool setEntryText(QStringList& lines, const tool::Entry& entry, TextField field,
                  const QString& value) {
    RecordLine record(lines[lineIndex(entry.where)]);
    switch (field) {
        case TextField::English:
            record.setField(kEnglish, value);
            break;
        case TextField::Chinese:
            record.setField(kChinese, value);
            break;
        case TextField::Kind:
            if (value.isEmpty()) return false;
            record.setField(kKind, value);
            break;
        case TextField::Options:
            setOptions(record, value);
            break;
        case TextField::Say:
            return setOption(lines, entry, QStringLiteral("say"), value);
        default:
            return false;
    }
    rewrite(lines, lineIndex(entry.where), record);
    return true;
}

// An entry line with its number given anew, and a `by:` option following the entry it names
// (`newNumbers` maps old numbers to new ones, 0 for an entry taken out).
QString renumbered(const QString& line, int number, const QMap<int, int>& newNumbers) {
    RecordLine record(line);
    if (record.field(kNumber) != QString::number(number))
        record.setField(kNumber, QString::number(number));
    bool named = false;
    const int speaker = optionValue(record.field(kOptions), QStringLiteral("by")).toInt(&named);
    if (named && newNumbers.contains(speaker) && newNumbers[speaker] != speaker) {
        const int now = newNumbers[speaker];
        setOptions(record, withOption(record.field(kOptions), QStringLiteral("by"),
                                      now > 0 ? QString::number(now) : QString()));
    }
    return record.line();
}

QList<int> entryLines(const tool::PageSource& page) {
    QList<int> places;
    for (const tool::Entry& e : page.entries) places.append(lineIndex(e.where));
    return places;
}

// Gives the entries that stay their new numbers: `newIndex(i)` is where entry i now stands.
template <typename NewIndex>
void renumberEntries(QStringList& lines, const tool::PageSource& page, NewIndex newIndex,
                     int removed = -1) {
    QMap<int, int> numbers;
    for (int i = 0; i < page.entries.size(); ++i)
        numbers[page.entries[i].number] = i == removed ? 0 : newIndex(i) + 1;
    for (int i = 0; i < page.entries.size(); ++i) {
        if (i == removed) continue;
        const int at = lineIndex(page.entries[i].where);
        lines[at] = renumbered(lines[at], newIndex(i) + 1, numbers);
    }
}

// A new line written like `model` (a line of the same kind in the file), or `fallback`.
RecordLine modelLine(const QStringList& lines, const tool::Where* model, const QString& fallback) {
    RecordLine record(model ? withoutEnding(lines[lineIndex(*model)]) : fallback);
    return record;
}

}  // namespace

bool setGeometry(QStringList& lines, const tool::PageSource& page,
                 const QList<ItemGeometry>& moves) {
    QStringList changed = lines;
    for (const ItemGeometry& move : moves) {
        if (!moveItem(changed, page, move)) return false;
    }
    lines = changed;
    return true;
}

bool setText(QStringList& lines, const tool::PageSource& page, ItemRef item, TextField field,
             const QString& text) {
    const QString value = text.trimmed();
    const tool::Where* where = whereOf(page, item);
    if (!where || !fits(value)) return false;
    if (item.kind == ItemKind::Entry)
        return setEntryText(lines, page.entries[item.index], field, value);
    RecordLine record(lines[lineIndex(*where)]);
    if (item.kind == ItemKind::Drawing) {
        const bool heading = page.drawings[item.index].kind == QLatin1String("heading");
        if (field == TextField::Text && heading) {
            record.setField(2, value);
        } else if (field == TextField::Kind && !heading && !value.isEmpty() &&
                   !value.startsWith(QLatin1String("heading"))) {
            record.setField(0, QStringLiteral("draw ") + value);
        } else {
            return false;
        }
    } else if (field == TextField::Answer && item.kind == ItemKind::Fill) {
        record.setField(2, value);
    } else if (field == TextField::Answer && item.kind == ItemKind::Tick &&
               QStringList{"yes", "no", "-"}.contains(value)) {
        record.setField(2, value);
    } else {
        return false;
    }
    rewrite(lines, lineIndex(*where), record);
    return true;
}

bool setEntryAudio(QStringList& lines, const tool::PageSource& page, int entry,
                   const QString& file) {
    if (entry < 0 || entry >= page.entries.size()) return false;
    return setOption(lines, page.entries[entry], QStringLiteral("audio"), file.trimmed());
}

bool setImage(QStringList& lines, const QString& newline, const tool::PageSource& page,
              const QString& path) {
    const QString file = path.trimmed();
    if (!fits(file)) return false;
    const tool::Where& where = page.image.where;
    if (where.line > 0 && file.isEmpty()) {
        removeLine(lines, lineIndex(where));
    } else if (where.line > 0) {
        RecordLine record(lines[lineIndex(where)]);
        record.setField(0, withNamedValue(record.field(0), QStringLiteral("image"), file));
        rewrite(lines, lineIndex(where), record);
    } else if (!file.isEmpty()) {
        // Right under `page N`, where a reader of the file looks for what the page shows.
        insertLine(lines, page.pageWhere.line, QStringLiteral("image: ") + file, newline);
    }
    return true;
}

bool insertEntry(QStringList& lines, const QString& newline, const tool::PageSource& page,
                 int position, const NewEntry& entry) {
    const int count = int(page.entries.size());
    if (position < 0 || position > count || entry.kind.trimmed().isEmpty() ||
        entry.rect.width() <= 0 || entry.rect.height() <= 0)
        return false;
    for (const QString& text : {entry.kind, entry.english, entry.chinese, entry.options}) {
        if (!fits(text)) return false;
    }
    const QList<int> places = entryLines(page);
    const int at = position > 0 ? places[position - 1] + 1 : count > 0 ? places[0] : lines.size();
    RecordLine record = modelLine(lines, count > 0 ? &page.entries[0].where : nullptr,
                                  QStringLiteral("0 | text | 0,0,0,0 | $ | $"));
    if (record.size() != kOptions && record.size() != kOptions + 1) return false;
    if (record.size() > kOptions) record.removeLastField();
    record.setField(kNumber, QString::number(position + 1));
    record.setField(kKind, entry.kind.trimmed());
    record.setField(kRect, joinNumbers(rectNumbers(entry.rect), record.field(kRect)));
    record.setField(kEnglish, entry.english.trimmed());
    record.setField(kChinese, entry.chinese.trimmed());
    setOptions(record, entry.options.trimmed());
    renumberEntries(lines, page, [position](int i) { return i < position ? i : i + 1; });
    insertLine(lines, at, record.line(), newline);
    return true;
}

bool removeEntry(QStringList& lines, const tool::PageSource& page, int position) {
    if (position < 0 || position >= page.entries.size()) return false;
    renumberEntries(
        lines, page, [position](int i) { return i < position ? i : i - 1; }, position);
    removeLine(lines, lineIndex(page.entries[position].where));
    return true;
}

bool moveEntry(QStringList& lines, const tool::PageSource& page, int from, int to) {
    const int count = int(page.entries.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return false;
    // The entries' lines stay where they are in the file (comments and blank lines between
    // them keep their places); what moves is the entries' contents among those lines.
    const QList<int> places = entryLines(page);
    QList<int> order;  // order[k]: the entry whose contents go to place k
    for (int i = 0; i < count; ++i) order.append(i);
    order.move(from, to);
    QStringList contents;
    for (int place : places) contents.append(lines[place]);
    for (int k = 0; k < count; ++k)
        lines[places[k]] = withoutEnding(contents[order[k]]) + lineEnding(lines[places[k]]);
    tool::PageSource moved = page;
    for (int k = 0; k < count; ++k) moved.entries[k] = page.entries[order[k]];
    for (int k = 0; k < count; ++k) moved.entries[k].where = page.entries[k].where;
    renumberEntries(lines, moved, [](int k) { return k; });
    return true;
}

namespace {

QString boxWord(ItemKind kind) {
    return kind == ItemKind::Fill ? QStringLiteral("fill") : QStringLiteral("tick");
}

QList<const tool::Where*> boxLines(const tool::PageSource& page, ItemKind kind) {
    QList<const tool::Where*> wheres;
    if (kind == ItemKind::Fill) {
        for (const tool::FillBox& box : page.fills) wheres.append(&box.where);
    } else if (kind == ItemKind::Tick) {
        for (const tool::TickBox& box : page.ticks) wheres.append(&box.where);
    }
    return wheres;
}

// Where a new box line goes: after the last box of its kind, else after the page's last answer
// box or entry, else at the end.
int newBoxLine(const QStringList& lines, const tool::PageSource& page, ItemKind kind) {
    int after = -1;
    for (const tool::Where* where : boxLines(page, kind))
        after = std::max(after, lineIndex(*where));
    if (after >= 0) return after + 1;
    for (const tool::Where* where :
         boxLines(page, kind == ItemKind::Fill ? ItemKind::Tick : ItemKind::Fill))
        after = std::max(after, lineIndex(*where));
    for (const tool::Entry& e : page.entries) after = std::max(after, lineIndex(e.where));
    return after >= 0 ? after + 1 : int(lines.size());
}

void setBoxNumber(RecordLine& record, ItemKind kind, int number) {
    record.setField(0, boxWord(kind) + QLatin1Char(' ') + QString::number(number));
}

}  // namespace

bool insertBox(QStringList& lines, const QString& newline, const tool::PageSource& page,
               ItemKind kind, QPoint pos, const QString& text) {
    const QString answer = text.trimmed();
    if (kind != ItemKind::Fill && kind != ItemKind::Tick) return false;
    if (kind == ItemKind::Tick && !QStringList{"yes", "no", "-"}.contains(answer)) return false;
    if (!fits(answer)) return false;
    const QList<const tool::Where*> same = boxLines(page, kind);
    RecordLine record = modelLine(lines, same.isEmpty() ? nullptr : same.first(),
                                  boxWord(kind) + QStringLiteral(" 1 | 0,0 | -"));
    if (record.size() != 3) return false;
    setBoxNumber(record, kind, int(same.size()) + 1);
    record.setField(1, joinNumbers({pos.x(), pos.y()}, record.field(1)));
    record.setField(2, answer);
    insertLine(lines, newBoxLine(lines, page, kind), record.line(), newline);
    return true;
}

bool removeBox(QStringList& lines, const tool::PageSource& page, ItemRef box) {
    const QList<const tool::Where*> same = boxLines(page, box.kind);
    if (box.index < 0 || box.index >= same.size()) return false;
    for (int k = box.index + 1; k < same.size(); ++k) {
        RecordLine record(lines[lineIndex(*same[k])]);
        setBoxNumber(record, box.kind, k);
        rewrite(lines, lineIndex(*same[k]), record);
    }
    removeLine(lines, lineIndex(*same[box.index]));
    return true;
}

namespace {

constexpr int kWordEnglish = 0, kWordChinese = 1, kWordAudio = 2;

bool wordFits(const QString& english, const QString& chinese) {
    return !english.isEmpty() && !chinese.isEmpty() && fits(english) && fits(chinese) &&
           !english.startsWith(QLatin1Char('#'));  // a line starting with # is a comment
}

void setAudioField(RecordLine& record, const QString& file) {
    const QString field = withNamedValue(record.field(kWordAudio), QStringLiteral("audio"), file);
    if (record.size() > kWordAudio && file.isEmpty()) {
        record.removeLastField();
    } else if (record.size() > kWordAudio) {
        record.setField(kWordAudio, field);
    } else if (!file.isEmpty()) {
        record.appendField(field);
    }
}

}  // namespace

bool setWordText(QStringList& lines, const tool::UnitSource& unit, int word, WordField field,
                 const QString& text) {
    if (word < 0 || word >= unit.words.size()) return false;
    const tool::UnitWord& w = unit.words[word];
    const QString value = text.trimmed();
    const bool english = field == WordField::English;
    if (!wordFits(english ? value : w.english, english ? w.chinese : value)) return false;
    RecordLine record(lines[lineIndex(w.where)]);
    record.setField(english ? kWordEnglish : kWordChinese, value);
    rewrite(lines, lineIndex(w.where), record);
    return true;
}

bool setWordAudio(QStringList& lines, const tool::UnitSource& unit, int word, const QString& path) {
    const QString file = path.trimmed();
    if (word < 0 || word >= unit.words.size() || !fits(file)) return false;
    RecordLine record(lines[lineIndex(unit.words[word].where)]);
    setAudioField(record, file);
    rewrite(lines, lineIndex(unit.words[word].where), record);
    return true;
}

bool insertWord(QStringList& lines, const QString& newline, const tool::UnitSource& unit,
                int position, const NewWord& word) {
    const int count = int(unit.words.size());
    const QString english = word.english.trimmed(), chinese = word.chinese.trimmed();
    const QString audio = word.audio.trimmed();
    if (position < 0 || position > count || !wordFits(english, chinese) || !fits(audio))
        return false;
    RecordLine record =
        modelLine(lines, count > 0 ? &unit.words[0].where : nullptr, QStringLiteral("a | b"));
    if (record.size() > kWordAudio) record.removeLastField();
    record.setField(kWordEnglish, english);
    record.setField(kWordChinese, chinese);
    setAudioField(record, audio);
    const int at = position > 0 ? lineIndex(unit.words[position - 1].where) + 1
                   : count > 0  ? lineIndex(unit.words[0].where)
                                : int(lines.size());
    insertLine(lines, at, record.line(), newline);
    return true;
}

bool removeWord(QStringList& lines, const tool::UnitSource& unit, int position) {
    if (position < 0 || position >= unit.words.size()) return false;
    removeLine(lines, lineIndex(unit.words[position].where));
    return true;
}

bool setUnitName(QStringList& lines, const QString& newline, const tool::UnitSource& unit,
                 const QString& name) {
    const QString value = name.trimmed();
    if (!fits(value)) return false;
    const bool named = unit.nameWhere.line > 0;
    if (named && value.isEmpty()) {
        removeLine(lines, lineIndex(unit.nameWhere));
    } else if (named) {
        RecordLine record(lines[lineIndex(unit.nameWhere)]);
        record.setField(0, withNamedValue(record.field(0), QStringLiteral("name"), value));
        rewrite(lines, lineIndex(unit.nameWhere), record);
    } else if (!value.isEmpty()) {
        // Before the first word, after the comments that open the file.
        const int first = unit.words.isEmpty() ? int(lines.size()) : lineIndex(unit.words[0].where);
        insertLine(lines, first, QStringLiteral("name: ") + value, newline);
    }
    return true;
}

bool setNames(QStringList& lines, const QString& newline, const tool::BookSources& book,
              const NamesText& names) {
    const QList<std::pair<const tool::BookLine*, QString>> wanted{
        {&book.names.title, names.title.trimmed()},
        {&book.names.caption, names.caption.trimmed()},
        {&book.names.shortcut, names.shortcut.trimmed()}};
    const QStringList keys{"title", "caption", "shortcut"};
    int anchor = -1;
    for (const auto& [line, value] : wanted) {
        if (!fits(value)) return false;
        if (line->where.line > 0) anchor = std::max(anchor, lineIndex(line->where));
    }
    // Lines that are there change in place; a missing one goes after the other names (before
    // the sections in a book.txt that has none).
    const int firstSection =
        book.sections.isEmpty() ? int(lines.size()) : lineIndex(book.sections[0].where);
    for (int i = 0; i < keys.size(); ++i) {
        const auto& [line, value] = wanted[i];
        if (line->where.line > 0 && value != line->text) {
            RecordLine record(lines[lineIndex(line->where)]);
            record.setField(0, withNamedValue(record.field(0), keys[i], value));
            rewrite(lines, lineIndex(line->where), record);
        }
    }
    for (int i = 0; i < keys.size(); ++i) {
        const auto& [line, value] = wanted[i];
        if (line->where.line > 0 || value.isEmpty()) continue;
        anchor = anchor >= 0 ? anchor + 1 : firstSection;
        insertLine(lines, anchor, keys[i] + QStringLiteral(": ") + value, newline);
    }
    return true;
}

namespace {

QString pageField(const QString& field, int page) {
    if (!field.startsWith(QLatin1String("page"))) return QStringLiteral("page %1").arg(page);
    const QString rest = field.mid(4);
    qsizetype space = 0;
    while (space < rest.size() && rest[space].isSpace()) ++space;
    return QStringLiteral("page") + (space > 0 ? rest.left(space) : QStringLiteral(" ")) +
           QString::number(page);
}

void writeSection(RecordLine& record, const SectionText& section) {
    record.setField(0, withNamedValue(record.field(0), QStringLiteral("section"), section.name));
    record.setField(1, pageField(record.field(1), section.firstPage));
}

}  // namespace

bool setSections(QStringList& lines, const QString& newline, const tool::BookSources& book,
                 const QList<SectionText>& wanted) {
    QList<SectionText> sections;
    for (const SectionText& s : wanted) {
        sections.append({s.name.trimmed(), s.firstPage});
        if (sections.last().name.isEmpty() || !fits(sections.last().name) || s.firstPage < 1)
            return false;
    }
    const QList<tool::SectionSource>& old = book.sections;
    const int kept = int(std::min(old.size(), sections.size()));
    for (int k = 0; k < kept; ++k) {
        if (old[k].name == sections[k].name && old[k].firstPage == sections[k].firstPage) continue;
        RecordLine record(lines[lineIndex(old[k].where)]);
        if (record.size() != 2) return false;
        writeSection(record, sections[k]);
        rewrite(lines, lineIndex(old[k].where), record);
    }
    int at = old.isEmpty() ? int(lines.size()) : lineIndex(old.last().where) + 1;
    for (int k = kept; k < sections.size(); ++k, ++at) {
        RecordLine record = modelLine(lines, old.isEmpty() ? nullptr : &old[0].where,
                                      QStringLiteral("section: a | page 1"));
        writeSection(record, sections[k]);
        insertLine(lines, at, record.line(), newline);
    }
    for (int k = int(old.size()) - 1; k >= kept; --k) removeLine(lines, lineIndex(old[k].where));
    return true;
}

}  // namespace edits
}  // namespace studio
