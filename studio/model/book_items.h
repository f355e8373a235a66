#pragma once

// How the studio names the things of a book it edits: the items of a page (hotspot entries,
// drawings, answer boxes, the listen icon), their text fields, and what a new entry, word or
// section is made of.

#include <QList>
#include <QMetaType>
#include <QRect>
#include <QString>

namespace studio {

enum class ItemKind { Entry, Drawing, Fill, Tick, Listen };

// An item of a page by its kind and its place among the page's items of that kind (entries in
// clip order, boxes in their numbering order).
struct ItemRef {
    ItemKind kind = ItemKind::Entry;
    int index = -1;
    friend bool operator==(const ItemRef&, const ItemRef&) = default;
};

// The texts of a page item. Entries: English, Chinese, Say (the `say:` option), Kind (`pic boy
// red`), Options (the whole options field). Drawings: Kind (`boy red`, after `draw`) and Text (a
// heading's words). Answer boxes: Answer (a fill-in box's character; a tick box's yes, no or -).
enum class TextField { English, Chinese, Say, Kind, Options, Text, Answer };

// A unit word's texts.
enum class WordField { English, Chinese };

// Where an item goes: for an entry or a drawing its rectangle, for an answer box or the listen
// icon the rectangle's top left corner (their sizes are fixed).
struct ItemGeometry {
    ItemRef item;
    QRect rect;
};

struct NewEntry {
    QString kind = QStringLiteral("text");
    QRect rect;
    QString english;
    QString chinese;
    QString options;  // empty: none
};

struct NewWord {
    QString english;
    QString chinese;
    QString audio;  // empty: none
};

struct SectionText {
    QString name;
    int firstPage = 0;
    friend bool operator==(const SectionText&, const SectionText&) = default;
};

struct NamesText {
    QString title;
    QString caption;
    QString shortcut;
};

}  // namespace studio

Q_DECLARE_METATYPE(studio::ItemRef)
