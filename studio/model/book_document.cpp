#include "book_document.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "common/parallel.h"
#include "edit_commands.h"
#include "record_line.h"
#include "sources/book_profile.h"

namespace studio {

Change Change::united(const Change& other) const {
    Change both = *this;
    if (items.isEmpty() || other.items.isEmpty()) {
        both.items.clear();
        return both;
    }
    for (const ItemRef& item : other.items) {
        if (!both.items.contains(item)) both.items.append(item);
    }
    return both;
}

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error) {
        *error = QStringLiteral("无法保存 %1：%2 (cannot save the file)")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return false;
}

void setError(QString* error, const QString& message) {
    if (error) *error = message;
}

// Writes files side by side: each through its own QSaveFile, whose commit waits for the disk,
// so that a whole book's files wait together rather than one after another. Returns, for each
// file, why it could not be written (empty when it was).
QStringList writeFiles(const QList<std::pair<QString, QByteArray>>& files) {
    constexpr int kWriters = 8;
    QStringList problems(files.size());
    QString* problem = problems.data();
    tool::forEachParallel(int(files.size()), kWriters, [&files, problem](int k) {
        writeFile(files.at(k).first, files.at(k).second, &problem[k]);
    });
    return problems;
}

constexpr char kRecoveryHead[] = "QCBOOK-STUDIO-RECOVERY 1\n";

}  // namespace

BookDocument::BookDocument(QObject* parent) : QObject(parent) {
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

BookDocument::~BookDocument() {
    // The commands point at the document: they go before its files do.
    undoStack_.clear();
}

bool BookDocument::open(const QString& folder, QString* error) {
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString bookPath = QDir(path).filePath(QStringLiteral("book.txt"));
    if (!QFileInfo(bookPath).isFile()) {
        setError(error, QStringLiteral("%1 不是课本的文件夹：里面没有 book.txt (not a book's "
                                       "content folder: it has no book.txt)")
                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    tool::Problems problems;
    tool::SourceBytes bytes;
    tool::BookSources sources = tool::readSources(path, {}, problems, true, &bytes);
    if (!bytes.contains(bookPath)) {
        setError(error, problems.report());
        return false;
    }
    QList<File> files;
    QList<int> pageFiles, unitFiles;
    const auto add = [&](const QString& file, Role role, int index) {
        File f{SourceText(), role, index, {}};
        SourceText::fromBytes(file, bytes.take(file), f.text);
        files.append(f);
        return int(files.size() - 1);
    };
    add(bookPath, Role::Book, -1);
    for (int i = 0; i < sources.pages.size(); ++i)
        pageFiles.append(add(sources.pages[i].file, Role::Page, i));
    for (int i = 0; i < sources.units.size(); ++i)
        unitFiles.append(add(sources.units[i].file, Role::Unit, i));
    for (const QString& other : bytes.keys()) add(other, Role::Other, -1);

    undoStack_.clear();
    gesture_ = 0;
    sources_ = std::move(sources);
    files_ = files;
    pageFiles_ = pageFiles;
    unitFiles_ = unitFiles;
    bookFile_ = 0;
    folderProblems_.clear();
    for (const tool::Problem& problem : problems.list()) {
        const int file = fileByRelativePath(QDir(path).relativeFilePath(problem.where.file));
        (file >= 0 ? files_[file].problems : folderProblems_).append(problem);
    }
    emit opened();
    return true;
}

int BookDocument::fileByRelativePath(const QString& relative) const {
    const QString path = QDir::cleanPath(QDir(sources_.folder).filePath(relative));
    for (int i = 0; i < files_.size(); ++i) {
        if (files_[i].text.path() == path) return i;
    }
    return -1;
}

QString BookDocument::entryOptions(int page, int entry) const {
    const tool::Entry& e = sources_.pages[page].entries[entry];
    return RecordLine(lines(fileOfPage(page))[e.where.line - 1]).field(5);
}

QRect BookDocument::itemRect(int page, ItemRef item) const {
    if (page < 0 || page >= pageCount()) return {};
    const tool::PageSource& p = sources_.pages[page];
    const auto box = [&item](const auto& list, int width, int height) {
        return item.index >= 0 && item.index < list.size()
                   ? QRect(list[item.index].pos, QSize(width, height))
                   : QRect();
    };
    switch (item.kind) {
        case ItemKind::Entry:
            return item.index < p.entries.size() ? p.entries.value(item.index).rect : QRect();
        case ItemKind::Drawing:
            return item.index < p.drawings.size() ? p.drawings.value(item.index).rect : QRect();
        case ItemKind::Fill:
            return box(p.fills, tool::kFillBoxSize, tool::kFillBoxSize);
        case ItemKind::Tick:
            return box(p.ticks, tool::kTickBoxWidth, tool::kTickBoxHeight);
        case ItemKind::Listen:
            return box(p.listens, tool::kListenIconSize, tool::kListenIconSize);
    }
    return {};
}

QList<tool::Problem> BookDocument::readProblems() const {
    QList<tool::Problem> all = folderProblems_;
    for (const File& f : files_) all.append(f.problems);
    return all;
}

// ---------------------------------------------------------------------------------------------
// Reading the lines back through the tool.

void BookDocument::readBack(int index) {
    File& f = files_[index];
    const QString& path = f.text.path();
    const QString text = f.text.text();
    tool::Problems problems;
    if (f.role == Role::Page) {
        tool::PageSource page = tool::parsePage(path, text, problems);
        tool::resolveSuppliedFiles(page, sources_.folder);
        page.section = tool::sectionOfPage(sources_, page.pageNumber);
        sources_.pages[f.index] = page;
    } else if (f.role == Role::Unit) {
        tool::UnitSource& unit = sources_.units[f.index];
        unit = tool::parseUnit(path, unit.unit, text, problems);
        tool::resolveSuppliedFiles(unit, sources_.folder);
    } else if (f.role == Role::Book) {
        tool::BookSources book;
        tool::parseBookFile(path, text, book, problems);
        sources_.names = book.names;
        sources_.sections = book.sections;
        for (tool::PageSource& page : sources_.pages)
            page.section = tool::sectionOfPage(sources_, page.pageNumber);
    } else if (path.endsWith(QLatin1String("/clips.txt"))) {
        sources_.clips = tool::parseClips(path, text, problems);
    } else if (path.endsWith(QLatin1String("/pictures.txt"))) {
        sources_.pictures = tool::parsePictures(path, text, problems);
    } else if (path.endsWith(QLatin1String("/start_about.html"))) {
        sources_.aboutHtml = text;
    } else if (path.endsWith(QLatin1String("/start_faq.html"))) {
        sources_.faqHtml = text;
    }
    f.problems = problems.list();
}

// How many records of each kind the text gives, the main kind (entries, words, sections) first.
QList<int> BookDocument::recordCounts(int index, const QString& text) const {
    const File& f = files_[index];
    tool::Problems problems;
    if (f.role == Role::Page) {
        const tool::PageSource p = tool::parsePage(f.text.path(), text, problems);
        return {int(p.entries.size()), int(p.drawings.size()), int(p.fills.size()),
                int(p.ticks.size()),   int(p.listens.size()),  p.pageNumber,
                int(p.wordList),       int(p.hasOverlay)};
    }
    if (f.role == Role::Unit) {
        const tool::UnitSource u = tool::parseUnit(f.text.path(), 1, text, problems);
        return {int(u.words.size()), int(u.name.isEmpty())};
    }
    if (f.role == Role::Book) {
        tool::BookSources book;
        tool::parseBookFile(f.text.path(), text, book, problems);
        return {int(book.sections.size())};
    }
    return {};
}

bool BookDocument::readsBack(int file, const QStringList& lines, int delta, int kind) const {
    QList<int> expected = recordCounts(file, files_[file].text.text());
    if (kind >= 0 && kind < expected.size()) expected[kind] += delta;
    return recordCounts(file, lines.join(QString())) == expected;
}

void BookDocument::applyLines(int file, const QStringList& lines, const Change& change) {
    files_[file].text.setLines(lines);
    readBack(file);
    switch (change.scope) {
        case Change::Scope::Page:
            if (change.items.isEmpty()) emit pageChanged(change.index);
            for (const ItemRef& item : change.items) emit itemChanged(change.index, item);
            break;
        case Change::Scope::Unit:
            emit unitChanged(change.index);
            break;
        case Change::Scope::Book:
            emit bookChanged();
            break;
        case Change::Scope::OtherFile:
            break;
    }
}

Change BookDocument::changeOfFile(int file) const {
    const File& f = files_[file];
    switch (f.role) {
        case Role::Page:
            return {Change::Scope::Page, f.index, {}};
        case Role::Unit:
            return {Change::Scope::Unit, f.index, {}};
        case Role::Book:
            return {Change::Scope::Book, -1, {}};
        case Role::Other:
            break;
    }
    return {Change::Scope::OtherFile, file, {}};
}

// ---------------------------------------------------------------------------------------------
// Edits.

bool BookDocument::push(FileEditCommand* command) {
    if (!command->isValid()) {
        delete command;
        return false;
    }
    undoStack_.push(command);
    return true;
}

bool BookDocument::setGeometry(int page, const QList<ItemGeometry>& moves) {
    return push(new SetGeometryCommand(this, page, moves));
}

bool BookDocument::setText(int page, ItemRef item, TextField field, const QString& value) {
    return push(new SetTextCommand(this, page, item, field, value));
}

bool BookDocument::addEntry(int page, int position, const NewEntry& entry) {
    return push(new AddEntryCommand(this, page, position, entry));
}

bool BookDocument::removeEntry(int page, int position) {
    return push(new RemoveEntryCommand(this, page, position));
}

bool BookDocument::moveEntry(int page, int from, int to) {
    return push(new MoveEntryCommand(this, page, from, to));
}

bool BookDocument::addAnswerBox(int page, ItemKind kind, QPoint pos, const QString& answer) {
    return push(new AddBoxCommand(this, page, kind, pos, answer));
}

bool BookDocument::removeAnswerBox(int page, ItemRef box) {
    return push(new RemoveBoxCommand(this, page, box));
}

namespace {

bool isAnswerBox(ItemKind kind) {
    return kind == ItemKind::Fill || kind == ItemKind::Tick;
}

// The items an edit of several takes, each once, last first: taking one away or adding one
// after it then leaves the places of the others as they were.
QList<ItemRef> editableItems(const BookDocument& document, int page, QList<ItemRef> items) {
    QList<ItemRef> kept;
    for (const ItemRef& item : items) {
        const bool editable = item.kind == ItemKind::Entry || isAnswerBox(item.kind);
        if (editable && document.itemRect(page, item).isValid() && !kept.contains(item))
            kept.append(item);
    }
    std::sort(kept.begin(), kept.end(),
              [](const ItemRef& a, const ItemRef& b) { return a.index > b.index; });
    return kept;
}

}  // namespace

void BookDocument::endMacro(bool madeEdits) {
    undoStack_.endMacro();
    if (madeEdits) return;
    // A step that changed nothing is taken off the stack rather than left to undo nothing.
    const_cast<QUndoCommand*>(undoStack_.command(undoStack_.index() - 1))->setObsolete(true);
    undoStack_.undo();
}

bool BookDocument::removeItems(int page, const QList<ItemRef>& items) {
    const QList<ItemRef> gone = editableItems(*this, page, items);
    if (gone.isEmpty()) return false;
    undoStack_.beginMacro(QStringLiteral("删除"));
    bool removed = false;
    for (const ItemRef& item : gone) {
        removed |= item.kind == ItemKind::Entry ? removeEntry(page, item.index)
                                                : removeAnswerBox(page, item);
    }
    endMacro(removed);
    return removed;
}

QList<ItemRef> BookDocument::duplicateItems(int page, const QList<ItemRef>& items, QPoint offset) {
    QList<ItemRef> copies;
    QList<ItemRef> originals = editableItems(*this, page, items);
    if (originals.isEmpty()) return copies;
    std::reverse(originals.begin(), originals.end());
    const QRect paper(0, 0, tool::kPageWidth, tool::kPageHeight);
    const auto placed = [&paper, offset](QRect r) {
        r.translate(offset);
        r.moveLeft(std::clamp(r.left(), 0, std::max(0, paper.width() - r.width())));
        r.moveTop(std::clamp(r.top(), 0, std::max(0, paper.height() - r.height())));
        return r;
    };
    undoStack_.beginMacro(QStringLiteral("复制"));
    for (const ItemRef& item : originals) {
        const tool::PageSource& p = sources_.pages[page];
        const QRect rect = placed(itemRect(page, item));
        if (item.kind == ItemKind::Entry) {
            const tool::Entry& e = p.entries[item.index];
            const QString kind = QStringList{e.kind, e.thing, e.colour}.join(QLatin1Char(' '));
            const int at = int(p.entries.size());
            if (addEntry(page, at,
                         {kind.simplified(), rect, e.english, e.chinese,
                          entryOptions(page, item.index)}))
                copies.append({ItemKind::Entry, at});
        } else {
            const int at = int(item.kind == ItemKind::Fill ? p.fills.size() : p.ticks.size());
            const QString answer = item.kind == ItemKind::Fill        ? p.fills[item.index].answer
                                   : p.ticks[item.index].expected < 0 ? QStringLiteral("-")
                                   : p.ticks[item.index].expected     ? QStringLiteral("yes")
                                                                      : QStringLiteral("no");
            if (addAnswerBox(page, item.kind, rect.topLeft(), answer))
                copies.append({item.kind, at});
        }
    }
    endMacro(!copies.isEmpty());
    return copies;
}

bool BookDocument::setPageImage(int page, const QString& file) {
    return push(new SetPageImageCommand(this, page, file));
}

bool BookDocument::setEntryAudio(int page, int entry, const QString& file) {
    return push(SetRecordingCommand::forEntry(this, page, entry, file));
}

bool BookDocument::setWordText(int unit, int word, WordField field, const QString& value) {
    return push(new SetWordTextCommand(this, unit, word, field, value));
}

bool BookDocument::setUnitName(int unit, const QString& name) {
    return push(new SetUnitNameCommand(this, unit, name));
}

bool BookDocument::setWordAudio(int unit, int word, const QString& file) {
    return push(SetRecordingCommand::forWord(this, unit, word, file));
}

bool BookDocument::addWord(int unit, int position, const NewWord& word) {
    return push(new AddWordCommand(this, unit, position, word));
}

bool BookDocument::removeWord(int unit, int position) {
    return push(new RemoveWordCommand(this, unit, position));
}

bool BookDocument::setNames(const NamesText& names) {
    return push(new SetNamesCommand(this, names));
}

bool BookDocument::setSections(const QList<SectionText>& sections) {
    return push(new SetSectionsCommand(this, sections));
}

int BookDocument::beginGesture() {
    gesture_ = ++lastGesture_;
    return gesture_;
}

void BookDocument::endGesture() {
    gesture_ = 0;
}

bool BookDocument::cancelGesture() {
    bool cancelled = false;
    while (gesture_ != 0 && undoStack_.index() > 0 && undoStack_.index() == undoStack_.count()) {
        const auto* top =
            dynamic_cast<const FileEditCommand*>(undoStack_.command(undoStack_.index() - 1));
        if (!top || top->gestureId() != gesture_) break;
        const_cast<FileEditCommand*>(top)->dropOnUndo();
        undoStack_.undo();
        cancelled = true;
    }
    return cancelled;
}

// ---------------------------------------------------------------------------------------------
// Saving.

bool BookDocument::save(QString* error, bool overwriteChangedFiles) {
    QList<std::pair<int, QByteArray>> toWrite;
    for (int i = 0; i < files_.size(); ++i) {
        const SourceText& text = files_[i].text;
        QByteArray bytes;
        if (!text.bytes(bytes)) {
            setError(error, QStringLiteral("无法保存 %1：有字不能用这个文件的编码写 (a character "
                                           "cannot be written in the file's encoding)")
                                .arg(QDir::toNativeSeparators(text.path())));
            return false;
        }
        if (bytes != text.diskBytes()) toWrite.append({i, bytes});
    }
    if (!overwriteChangedFiles) {
        const QStringList changed = filesChangedOnDisk();
        for (const auto& [file, bytes] : toWrite) {
            const QString& path = files_[file].text.path();
            if (!changed.contains(path)) continue;
            setError(error, QStringLiteral("%1 在别处被改过了 (the file was changed on disk since "
                                           "it was read)")
                                .arg(QDir::toNativeSeparators(path)));
            return false;
        }
    }
    QList<std::pair<QString, QByteArray>> writes;
    for (const auto& [file, bytes] : toWrite) writes.append({files_[file].text.path(), bytes});
    QStringList problems = writeFiles(writes);
    for (int k = 0; k < toWrite.size(); ++k) {
        if (problems[k].isEmpty()) files_[toWrite[k].first].text.markWritten(toWrite[k].second);
    }
    problems.removeAll(QString());
    if (!problems.isEmpty()) {
        setError(error, problems.join(QLatin1Char('\n')));
        return false;
    }
    undoStack_.setClean();
    return true;
}

bool BookDocument::writeCopy(const QString& folder, QString* error) const {
    const QDir from(sources_.folder), to(folder);
    QList<std::pair<QString, QByteArray>> copies;
    for (const File& f : files_) {
        QByteArray bytes;
        const QString target = to.filePath(from.relativeFilePath(f.text.path()));
        if (!f.text.bytes(bytes) || !QDir().mkpath(QFileInfo(target).path())) {
            setError(error, QStringLiteral("无法写 %1 (cannot write the file)").arg(target));
            return false;
        }
        copies.append({target, bytes});
    }
    QStringList problems = writeFiles(copies);
    problems.removeAll(QString());
    setError(error, problems.join(QLatin1Char('\n')));
    return problems.isEmpty();
}

QString BookDocument::importFile(const QString& source, const QString& subfolder,
                                 const QString& baseName, QString* error) const {
    const QDir folder(sources_.folder);
    const QFileInfo picked(source);
    const QString inside = folder.relativeFilePath(picked.absoluteFilePath());
    if (picked.isFile() && !inside.startsWith(QLatin1String("../")) &&
        !QDir::isAbsolutePath(inside))
        return inside;
    const QString suffix =
        picked.suffix().isEmpty() ? QString() : QLatin1Char('.') + picked.suffix().toLower();
    QString relative = subfolder + QLatin1Char('/') + baseName + suffix;
    for (int n = 2; QFileInfo::exists(folder.filePath(relative)); ++n)
        relative = QStringLiteral("%1/%2-%3%4").arg(subfolder, baseName).arg(n).arg(suffix);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("无法读 %1：%2 (cannot read the file)")
                            .arg(QDir::toNativeSeparators(source), file.errorString()));
        return {};
    }
    if (!QDir().mkpath(folder.filePath(subfolder))) {
        setError(error, QStringLiteral("无法建文件夹 %1 (cannot make the folder)")
                            .arg(QDir::toNativeSeparators(folder.filePath(subfolder))));
        return {};
    }
    if (!writeFile(folder.filePath(relative), file.readAll(), error)) return {};
    return relative;
}

QStringList BookDocument::filesChangedOnDisk() const {
    QStringList changed;
    for (const File& f : files_) {
        QFile file(f.text.path());
        if (file.open(QIODevice::ReadOnly) && file.readAll() != f.text.diskBytes())
            changed.append(f.text.path());
    }
    return changed;
}

// ---------------------------------------------------------------------------------------------
// The recovery file: a head line, the SHA-256 of the rest, then the folder and every file's
// path (relative to it) and current bytes.

bool BookDocument::saveRecovery(const QString& path, QString* error) const {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << sources_.folder << qint32(files_.size());
    const QDir folder(sources_.folder);
    for (const File& f : files_) {
        QByteArray bytes;
        // A text its file's encoding cannot hold is kept as UTF-8: what comes back is the text.
        if (!f.text.bytes(bytes))
            tool::encodeText(f.text.text(), tool::TextEncoding::Utf8Bom, bytes);
        out << folder.relativeFilePath(f.text.path()) << bytes;
    }
    const QByteArray hash = QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
    return writeFile(path, QByteArray(kRecoveryHead) + hash + payload, error);
}

bool BookDocument::loadRecovery(const QString& path, QString* error) {
    QFile file(path);
    const QByteArray head(kRecoveryHead);
    const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QByteArray hash = all.mid(head.size(), 32), payload = all.mid(head.size() + 32);
    const QString damaged = QStringLiteral(
                                "%1 不是完好的恢复文件 (not a recovery file, or a "
                                "damaged one)")
                                .arg(QDir::toNativeSeparators(path));
    if (!all.startsWith(head) ||
        hash != QCryptographicHash::hash(payload, QCryptographicHash::Sha256)) {
        setError(error, damaged);
        return false;
    }
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    QString folder;
    qint32 count = 0;
    in >> folder >> count;
    QList<std::pair<QString, QByteArray>> texts;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString relative;
        QByteArray bytes;
        in >> relative >> bytes;
        texts.append({relative, bytes});
    }
    if (in.status() != QDataStream::Ok) {
        setError(error, damaged);
        return false;
    }
    if (!open(folder, error)) return false;
    auto* restore = new RestoreFilesCommand(this);
    QStringList lost;
    for (const auto& [relative, bytes] : texts) {
        const int index = fileByRelativePath(relative);
        SourceText text;
        if (index < 0 || !SourceText::fromBytes(relative, bytes, text)) {
            lost.append(relative);
            continue;
        }
        restore->add(index, text.lines());
    }
    if (restore->isEmpty()) {
        delete restore;
    } else {
        undoStack_.push(restore);
    }
    if (!lost.isEmpty()) {
        setError(error, QStringLiteral("这些文件已不在课本的文件夹里，没能恢复：%1 (these files "
                                       "are no longer in the folder)")
                            .arg(lost.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

}  // namespace studio
