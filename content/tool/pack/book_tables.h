#pragma once

// The built book as the program's own tables (book::Book): the one model that both the embedded
// book (content_data.cpp and pack.bin) and the book file are written from, so the two cannot
// drift apart. Every pointer the tables hold points into storage owned here (or into the
// BuiltBook's bytes), whose elements never move once added.

#include <QByteArray>
#include <QHash>
#include <deque>
#include <vector>

#include "book/book_data.h"
#include "pack/pack.h"

namespace tool {

class BookTables {
  public:
    explicit BookTables(const BuiltBook& built);
    BookTables(const BookTables&) = delete;
    BookTables& operator=(const BookTables&) = delete;

    const book::Book& book() const { return book_; }

  private:
    const char* text(const QString& value);
    template <typename T>
    const T* store(std::deque<std::vector<T>>& lists, std::vector<T> values) {
        if (values.empty()) return nullptr;
        lists.push_back(std::move(values));
        return lists.back().data();
    }
    void numberClips();
    int clipIndex(const Recording& r) const { return clipIndex_.value(r.key(), -1); }
    void addPage(int index);
    void addSections();
    void addUnits();
    void addNamed();

    const BuiltBook& built_;
    QHash<QString, int> clipIndex_;
    std::deque<QByteArray> strings_;
    std::deque<std::vector<int>> intLists_;
    std::deque<std::vector<book::HotspotDef>> hotspotLists_;
    std::deque<std::vector<book::FillBoxDef>> fillLists_;
    std::deque<std::vector<book::TickBoxDef>> tickLists_;
    std::deque<book::ListenIconDef> listens_;
    std::vector<book::PageDef> pages_;
    std::vector<book::SectionDef> sections_;
    std::vector<book::UnitDef> units_;
    std::vector<book::Blob> clips_;
    std::vector<book::NamedClip> namedClips_;
    std::vector<book::NamedBlob> pictures_;
    book::Book book_{};
};

}  // namespace tool
