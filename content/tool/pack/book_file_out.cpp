#include "pack/book_file_out.h"

#include <QSaveFile>
#include <deque>
#include <vector>

#include "book/book_file.h"

namespace tool {

namespace {

// A book::Book over storage owned here: every pointer the program's tables hold points into
// these containers, whose elements never move once added.
class BookView {
  public:
    explicit BookView(const BuiltBook& built) : built_(built) {
        numberClips();
        for (int i = 0; i < built.sources->pages.size(); ++i) addPage(i);
        addSections();
        addUnits();
        addNamed();
        const BookSources& sources = *built.sources;
        book_ = {pages_.data(),
                 int(pages_.size()),
                 sections_.data(),
                 int(sections_.size()),
                 units_.data(),
                 int(units_.size()),
                 clips_.data(),
                 int(clips_.size()),
                 namedClips_.data(),
                 int(namedClips_.size()),
                 pictures_.data(),
                 int(pictures_.size()),
                 text(sources.aboutHtml),
                 text(sources.faqHtml),
                 0,
                 text(sources.names.title.text),
                 text(sources.names.caption.text),
                 text(sources.names.shortcut.text)};
    }

    const book::Book& book() const { return book_; }

  private:
    const char* text(const QString& value) {
        strings_.push_back(value.toUtf8());
        return strings_.back().constData();
    }

    static book::Blob blob(const QByteArray& bytes) {
        return {reinterpret_cast<const unsigned char*>(bytes.constData()),
                std::size_t(bytes.size())};
    }

    template <typename T>
    const T* store(std::deque<std::vector<T>>& lists, std::vector<T> values) {
        if (values.empty()) return nullptr;
        lists.push_back(std::move(values));
        return lists.back().data();
    }

    // Every distinct recording once, in the order of their keys, as the embedded book has them.
    void numberClips() {
        QStringList keys = built_.recordings.keys();
        keys.sort();
        for (const QString& key : keys) {
            clipIndex_.insert(key, int(clips_.size()));
            clips_.push_back(blob(*built_.recordings.constFind(key)));
        }
    }

    int clipIndex(const Recording& r) const { return clipIndex_.value(r.key(), -1); }

    void addPage(int index) {
        const BookSources& sources = *built_.sources;
        const PageSource& page = sources.pages[index];
        const bool wordList = page.wordList;
        QStringList lines;
        std::vector<int> clips;
        std::vector<book::HotspotDef> hotspots;
        for (const Entry& e : page.entries) {
            lines << e.english << e.chinese;
            clips.push_back(clipIndex(entryRecording(e)));
            hotspots.push_back({e.number,
                                {e.rect.x(), e.rect.y(), e.rect.width(), e.rect.height()},
                                wordList ? clipIndex(entryRecording(e)) : -1});
        }
        std::vector<book::FillBoxDef> fills;
        for (const FillBox& f : page.fills)
            fills.push_back({f.number, f.pos.x(), f.pos.y(), text(f.answer)});
        std::vector<book::TickBoxDef> ticks;
        for (const TickBox& t : page.ticks)
            ticks.push_back({t.number, t.pos.x(), t.pos.y(), t.expected});
        const book::ListenIconDef* listen = nullptr;
        if (!page.listens.isEmpty()) {
            listens_.push_back({text(listenIconName(sources, page.pageNumber)),
                                page.listens[0].pos.x(), page.listens[0].pos.y()});
            listen = &listens_.back();
        }
        const QSize size = built_.pagePictureSizes[index];
        book::PageDef def{};
        def.screen = index;
        def.pageNumber = page.pageNumber;
        def.pictureBox = text(pictureBoxName(sources, index));
        def.picture = blob(built_.pagePictures[index]);
        def.pictureWidth = size.width();
        def.pictureHeight = size.height();
        def.textTable = wordList ? nullptr : text(lines.join(QStringLiteral("\r\n")));
        def.entryCount = wordList ? 0 : int(page.entries.size());
        def.clips = wordList ? nullptr : store(intLists_, std::move(clips));
        def.hotspotCount = int(hotspots.size());
        def.hotspots = store(hotspotLists_, std::move(hotspots));
        // A text page always has its exercise overlay: at its corner unless the page says.
        def.hasOverlay = !wordList;
        def.overlayX = page.overlay.x();
        def.overlayY = page.overlay.y();
        def.fillBoxCount = int(fills.size());
        def.fillBoxes = store(fillLists_, std::move(fills));
        def.tickBoxCount = int(ticks.size());
        def.tickBoxes = store(tickLists_, std::move(ticks));
        def.listenIcon = listen;
        def.wordList = wordList;
        pages_.push_back(def);
    }

    void addSections() {
        const BookSources& sources = *built_.sources;
        for (int i = 0; i < sources.sections.size(); ++i) {
            const SectionSource& s = sources.sections[i];
            sections_.push_back({text(s.name), i + 1, screenOfPage(sources, s.firstPage)});
        }
    }

    void addUnits() {
        for (const UnitSource& unit : built_.sources->units) {
            QStringList lines;
            std::vector<int> clips;
            for (const UnitWord& w : unit.words) {
                lines << w.english << w.chinese;
                clips.push_back(clipIndex(unitWordRecording(w)));
            }
            const QString shown =
                unit.name.isEmpty() ? QStringLiteral("Unit %1").arg(unit.unit) : unit.name;
            const int count = int(clips.size());
            units_.push_back({text(lines.join(QStringLiteral("\r\n"))),
                              store(intLists_, std::move(clips)), count, text(shown)});
        }
    }

    void addNamed() {
        for (const ClipSource& c : built_.sources->clips)
            namedClips_.push_back({text(c.role), clipIndex(c.recording)});
        QStringList names = built_.pictures.keys();
        names.sort();
        for (const QString& name : names)
            pictures_.push_back({text(name), blob(*built_.pictures.constFind(name))});
    }

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

}  // namespace

QByteArray bookFileBytes(const BuiltBook& built) {
    const BookView view(built);
    return book::writeBookFile(view.book());
}

bool writeBookFileTo(const BuiltBook& built, const QString& path, QString* error) {
    QSaveFile file(path);
    const QByteArray bytes = bookFileBytes(built);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace tool
