#include "edit_commands.h"

#include "source_edits.h"

namespace studio {

FileEditCommand::FileEditCommand(BookDocument* document, int file, const Change& change,
                                 const QString& text)
    : QUndoCommand(text),
      document_(document),
      file_(file),
      change_(change),
      before_(file >= 0 ? document->lines(file) : QStringList()),
      gesture_(document->gesture()) {
    setObsolete(true);
}

void FileEditCommand::setAfter(bool made, const QStringList& after, int delta, int kind) {
    valid_ = made && file_ >= 0 && document_->readsBack(file_, after, delta, kind);
    if (valid_) after_ = after;
    setObsolete(!valid_ || after_ == before_);
}

void FileEditCommand::undo() {
    if (valid_) document_->applyLines(file_, before_, change_);
    if (dropOnUndo_) setObsolete(true);
}

void FileEditCommand::redo() {
    if (valid_) document_->applyLines(file_, after_, change_);
}

bool FileEditCommand::absorb(const FileEditCommand* other, bool sameTarget) {
    if (gesture_ == 0 || other->gesture_ != gesture_ || other->file_ != file_ || !sameTarget ||
        !valid_ || !other->valid_)
        return false;
    after_ = other->after_;
    change_ = change_.united(other->change_);
    setObsolete(after_ == before_);
    return true;
}

namespace {

Change pageChange(int page, QList<ItemRef> items = {}) {
    return {Change::Scope::Page, page, items};
}

Change unitChange(int unit) {
    return {Change::Scope::Unit, unit, {}};
}

Change bookChange() {
    return {Change::Scope::Book, -1, {}};
}

bool hasPage(BookDocument* document, int page) {
    return page >= 0 && page < document->pageCount();
}

bool hasUnit(BookDocument* document, int unit) {
    return unit >= 0 && unit < document->unitCount();
}

QList<ItemRef> itemsOf(const QList<ItemGeometry>& moves) {
    QList<ItemRef> items;
    for (const ItemGeometry& move : moves) items.append(move.item);
    return items;
}

}  // namespace

SetGeometryCommand::SetGeometryCommand(BookDocument* document, int page,
                                       const QList<ItemGeometry>& moves)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page, itemsOf(moves)),
                      QStringLiteral("移动或改变大小")),
      page_(page) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::setGeometry(lines, document->page(page), moves),
             lines);
}

bool SetGeometryCommand::mergeWith(const QUndoCommand* other) {
    return absorb(static_cast<const SetGeometryCommand*>(other),
                  static_cast<const SetGeometryCommand*>(other)->page_ == page_);
}

SetTextCommand::SetTextCommand(BookDocument* document, int page, ItemRef item, TextField field,
                               const QString& value)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page, {item}),
                      QStringLiteral("修改文字")),
      page_(page),
      item_(item),
      field_(field) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(
        hasPage(document, page) && edits::setText(lines, document->page(page), item, field, value),
        lines);
}

bool SetTextCommand::mergeWith(const QUndoCommand* other) {
    const auto* text = static_cast<const SetTextCommand*>(other);
    return absorb(text, text->page_ == page_ && text->item_ == item_ && text->field_ == field_);
}

AddEntryCommand::AddEntryCommand(BookDocument* document, int page, int position,
                                 const NewEntry& entry)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("添加热区")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::insertEntry(lines, document->file(file()).newline(),
                                                           document->page(page), position, entry),
             lines, 1);
}

RemoveEntryCommand::RemoveEntryCommand(BookDocument* document, int page, int position)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("删除热区")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::removeEntry(lines, document->page(page), position),
             lines, -1);
}

MoveEntryCommand::MoveEntryCommand(BookDocument* document, int page, int from, int to)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("调整顺序")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::moveEntry(lines, document->page(page), from, to),
             lines);
}

AddBoxCommand::AddBoxCommand(BookDocument* document, int page, ItemKind kind, QPoint pos,
                             const QString& answer)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("添加答题框")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::insertBox(lines, document->file(file()).newline(),
                                                         document->page(page), kind, pos, answer),
             lines, 1, int(kind));
}

RemoveBoxCommand::RemoveBoxCommand(BookDocument* document, int page, ItemRef box)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("删除答题框")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::removeBox(lines, document->page(page), box), lines,
             -1, int(box.kind));
}

SetPageImageCommand::SetPageImageCommand(BookDocument* document, int page, const QString& image)
    : FileEditCommand(document, document->fileOfPage(page), pageChange(page),
                      QStringLiteral("更换扫描图")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasPage(document, page) && edits::setImage(lines, document->file(file()).newline(),
                                                        document->page(page), image),
             lines);
}

SetRecordingCommand::SetRecordingCommand(BookDocument* document, int file, const Change& change)
    : FileEditCommand(document, file, change, QStringLiteral("更换录音")) {}

SetRecordingCommand* SetRecordingCommand::forEntry(BookDocument* document, int page, int entry,
                                                   const QString& audio) {
    auto* command = new SetRecordingCommand(document, document->fileOfPage(page),
                                            pageChange(page, {{ItemKind::Entry, entry}}));
    QStringList lines = command->file() >= 0 ? document->lines(command->file()) : QStringList();
    command->setAfter(
        hasPage(document, page) && edits::setEntryAudio(lines, document->page(page), entry, audio),
        lines);
    return command;
}

SetRecordingCommand* SetRecordingCommand::forWord(BookDocument* document, int unit, int word,
                                                  const QString& audio) {
    auto* command = new SetRecordingCommand(document, document->fileOfUnit(unit), unitChange(unit));
    QStringList lines = command->file() >= 0 ? document->lines(command->file()) : QStringList();
    command->setAfter(
        hasUnit(document, unit) && edits::setWordAudio(lines, document->unit(unit), word, audio),
        lines);
    return command;
}

SetWordTextCommand::SetWordTextCommand(BookDocument* document, int unit, int word, WordField field,
                                       const QString& value)
    : FileEditCommand(document, document->fileOfUnit(unit), unitChange(unit),
                      QStringLiteral("修改单词")),
      unit_(unit),
      word_(word),
      field_(field) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasUnit(document, unit) &&
                 edits::setWordText(lines, document->unit(unit), word, field, value),
             lines);
}

bool SetWordTextCommand::mergeWith(const QUndoCommand* other) {
    const auto* text = static_cast<const SetWordTextCommand*>(other);
    return absorb(text, text->unit_ == unit_ && text->word_ == word_ && text->field_ == field_);
}

AddWordCommand::AddWordCommand(BookDocument* document, int unit, int position, const NewWord& word)
    : FileEditCommand(document, document->fileOfUnit(unit), unitChange(unit),
                      QStringLiteral("添加单词")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasUnit(document, unit) && edits::insertWord(lines, document->file(file()).newline(),
                                                          document->unit(unit), position, word),
             lines, 1);
}

RemoveWordCommand::RemoveWordCommand(BookDocument* document, int unit, int position)
    : FileEditCommand(document, document->fileOfUnit(unit), unitChange(unit),
                      QStringLiteral("删除单词")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasUnit(document, unit) && edits::removeWord(lines, document->unit(unit), position),
             lines, -1);
}

SetUnitNameCommand::SetUnitNameCommand(BookDocument* document, int unit, const QString& name)
    : FileEditCommand(document, document->fileOfUnit(unit), unitChange(unit),
                      QStringLiteral("修改单元名称")),
      unit_(unit) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(hasUnit(document, unit) && edits::setUnitName(lines, document->file(file()).newline(),
                                                           document->unit(unit), name),
             lines);
}

bool SetUnitNameCommand::mergeWith(const QUndoCommand* other) {
    return absorb(static_cast<const SetUnitNameCommand*>(other),
                  static_cast<const SetUnitNameCommand*>(other)->unit_ == unit_);
}

SetNamesCommand::SetNamesCommand(BookDocument* document, const NamesText& names)
    : FileEditCommand(document, document->bookFile(), bookChange(), QStringLiteral("修改书名")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    setAfter(file() >= 0 && edits::setNames(lines, document->file(file()).newline(),
                                            document->sources(), names),
             lines);
}

bool SetNamesCommand::mergeWith(const QUndoCommand* other) {
    return absorb(static_cast<const SetNamesCommand*>(other), true);
}

SetSectionsCommand::SetSectionsCommand(BookDocument* document, const QList<SectionText>& sections)
    : FileEditCommand(document, document->bookFile(), bookChange(), QStringLiteral("修改目录")) {
    QStringList lines = file() >= 0 ? document->lines(file()) : QStringList();
    const int delta = int(sections.size() - document->sources().sections.size());
    setAfter(file() >= 0 && edits::setSections(lines, document->file(file()).newline(),
                                               document->sources(), sections),
             lines, delta);
}

bool SetSectionsCommand::mergeWith(const QUndoCommand* other) {
    return absorb(static_cast<const SetSectionsCommand*>(other), true);
}

RestoreFilesCommand::RestoreFilesCommand(BookDocument* document)
    : QUndoCommand(QStringLiteral("恢复未保存的工作")), document_(document) {}

void RestoreFilesCommand::add(int file, const QStringList& lines) {
    if (document_->lines(file) != lines) files_.append({file, document_->lines(file), lines});
}

void RestoreFilesCommand::undo() {
    for (qsizetype i = files_.size() - 1; i >= 0; --i) {
        const Texts& t = files_[i];
        document_->applyLines(t.file, t.before, document_->changeOfFile(t.file));
    }
}

void RestoreFilesCommand::redo() {
    for (const Texts& t : files_)
        document_->applyLines(t.file, t.after, document_->changeOfFile(t.file));
}

}  // namespace studio
