#include "pack/book_tables.h"

namespace tool {

namespace {

book::Blob blob(const QByteArray& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())};
}

}  // namespace

BookTables::BookTables(const BuiltBook& built) : built_(built) {
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

const char* BookTables::text(const QString& value) {
    strings_.push_back(value.toUtf8());
    return strings_.back().constData();
}

// Every distinct recording once, in the order of their keys, as the embedded book has them.
void BookTables::numberClips() {
    QStringList keys = built_.recordings.keys();
    keys.sort();
    for (const QString& key : keys) {
        clipIndex_.insert(key, int(clips_.size()));
        clips_.push_back(blob(*built_.recordings.constFind(key)));
    }
}

void BookTables::addPage(int index) {
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
        listens_.push_back({text(listenIconName(sources, page.pageNumber)), page.listens[0].pos.x(),
                            page.listens[0].pos.y()});
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

void BookTables::addSections() {
    const BookSources& sources = *built_.sources;
    for (int i = 0; i < sources.sections.size(); ++i) {
        const SectionSource& s = sources.sections[i];
        sections_.push_back({text(s.name), i + 1, screenOfPage(sources, s.firstPage)});
    }
}

void BookTables::addUnits() {
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

void BookTables::addNamed() {
    for (const ClipSource& c : built_.sources->clips)
        namedClips_.push_back({text(c.role), clipIndex(c.recording)});
    QStringList names = built_.pictures.keys();
    names.sort();
    for (const QString& name : names)
        pictures_.push_back({text(name), blob(*built_.pictures.constFind(name))});
}

}  // namespace tool
