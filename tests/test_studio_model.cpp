// The studio's book model without widgets: files written back byte for byte, edits that touch
// only their own lines, undo and redo back to the exact bytes, reordering, gestures as undo
// steps, and the recovery file.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "build_book.h"
#include "model/book_document.h"
#include "sources/checks.h"
#include "sources/new_book.h"

namespace {

using namespace studio;

// Every file under `folder` by its path inside it, as its SHA-256.
QMap<QString, QByteArray> digests(const QString& folder) {
    QMap<QString, QByteArray> sums;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        sums.insert(QDir(folder).relativeFilePath(file.fileName()),
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return sums;
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).path());
        ASSERT_TRUE(QFile::copy(source, target));
    }
}

QString builtInCopy(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("book"));
    copyFolder(QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"), folder);
    return folder;
}

QString templateBook(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("new"));
    EXPECT_EQ(tool::writeNewBook(folder), 0);
    return folder;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Every file's bytes as the document would write them now.
QList<QByteArray> currentBytes(const BookDocument& document) {
    QList<QByteArray> all;
    for (int i = 0; i < document.fileCount(); ++i) {
        QByteArray bytes;
        EXPECT_TRUE(document.file(i).bytes(bytes));
        all.append(bytes);
    }
    return all;
}

QStringList entryTexts(const tool::PageSource& page) {
    QStringList texts;
    for (const tool::Entry& e : page.entries)
        texts.append(QString::number(e.number) + QLatin1Char(' ') + e.english);
    return texts;
}

TEST(StudioDocument, WritesTheBuiltInBookAndTheTemplateBackByteForByte) {
    QTemporaryDir dir;
    for (const QString& folder : {builtInCopy(dir), templateBook(dir)}) {
        BookDocument document;
        QString error;
        ASSERT_TRUE(document.open(folder, &error)) << qPrintable(error);
        const QString copy = folder + QStringLiteral("-copy");
        ASSERT_TRUE(document.writeCopy(copy, &error)) << qPrintable(error);
        const QMap<QString, QByteArray> before = digests(folder), written = digests(copy);
        EXPECT_GE(written.size(), 10);
        for (auto it = written.begin(); it != written.end(); ++it)
            EXPECT_EQ(it.value(), before.value(it.key())) << qPrintable(it.key());
        ASSERT_TRUE(document.save(&error));
        EXPECT_EQ(digests(folder), before);
    }
    BookDocument builtIn;
    ASSERT_TRUE(builtIn.open(dir.filePath(QStringLiteral("book"))));
    EXPECT_EQ(builtIn.pageCount(), 36);
    EXPECT_TRUE(builtIn.readProblems().isEmpty());
    QString error;
    EXPECT_FALSE(builtIn.open(dir.filePath(QStringLiteral("book/pages")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("book.txt")));
}

// A page file saved by Notepad (byte-order mark, CR LF) in its own compact spacing, and a unit
// list in GBK: an edit rewrites only its record's line, in the line's own style.
TEST(StudioDocument, AnEditChangesOnlyItsOwnLineInTheFilesOwnStyle) {
    QTemporaryDir dir;
    const QString folder = templateBook(dir);
    const QString pagePath = folder + QStringLiteral("/pages/p01.txt");
    QString page = QString::fromUtf8(readAll(pagePath));
    page.replace(
        QStringLiteral("3 | text | 40,150,190,32 | Hello, I'm Tom. | 你好，我是汤姆。 | by: 2"),
        QStringLiteral("3|text|40, 150, 190, 32|Hello, I'm Tom.|你好，我是汤姆。|by:2"));
    page.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    writeAll(pagePath, "\xEF\xBB\xBF" + page.toUtf8());
    const QString unitPath = folder + QStringLiteral("/units/unit1.txt");
    writeAll(unitPath, QStringEncoder("GBK").encode(QString::fromUtf8(readAll(unitPath))));
    const QMap<QString, QByteArray> before = digests(folder);

    BookDocument document;
    ASSERT_TRUE(document.open(folder));
    QSignalSpy items(&document, &BookDocument::itemChanged);
    EXPECT_TRUE(
        document.setText(0, {ItemKind::Entry, 2}, TextField::English, QStringLiteral("Hi!")));
    EXPECT_TRUE(document.setGeometry(0, {{{ItemKind::Entry, 2}, QRect(41, 150, 190, 32)}}));
    EXPECT_TRUE(
        document.setText(0, {ItemKind::Entry, 2}, TextField::Say, QStringLiteral("Hi, Lily!")));
    EXPECT_TRUE(document.addEntry(0, 5, {"text", QRect(540, 150, 200, 32), "Bye!", "再见！", ""}));
    EXPECT_EQ(items.size(), 3);
    EXPECT_EQ(items.last().at(1).value<ItemRef>(), (ItemRef{ItemKind::Entry, 2}));
    EXPECT_TRUE(document.setWordText(0, 1, WordField::Chinese, QStringLiteral("新书包")));
    // A text that would break its line is refused, and nothing is pushed.
    const int steps = document.undoStack()->count();
    EXPECT_FALSE(document.setText(0, {ItemKind::Entry, 1}, TextField::English, "a | b"));
    EXPECT_FALSE(document.setText(0, {ItemKind::Entry, 1}, TextField::Say, "a; voice: zh"));
    EXPECT_FALSE(document.setWordText(0, 0, WordField::English, "# ruler"));
    EXPECT_FALSE(document.setText(0, {ItemKind::Entry, 1}, TextField::Chinese, "笑😊"));
    EXPECT_EQ(document.undoStack()->count(), steps);
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.save());
    EXPECT_FALSE(document.isModified());

    const QByteArray saved = readAll(pagePath);
    ASSERT_TRUE(saved.startsWith("\xEF\xBB\xBF"));
    QStringList oldLines = page.split(QStringLiteral("\r\n"));
    const qsizetype fifth = oldLines.indexOf(QRegularExpression(QStringLiteral("^5 \\|.*")));
    oldLines.insert(fifth + 1, QStringLiteral("6 | text | 540,150,200,32 | Bye! | 再见！"));
    const QStringList newLines = QString::fromUtf8(saved.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(newLines.size(), oldLines.size());
    const QString touched =
        QStringLiteral("3|text|41, 150, 190, 32|Hi!|你好，我是汤姆。|by:2; say: Hi, Lily!");
    for (int i = 0; i < oldLines.size(); ++i)
        EXPECT_EQ(newLines[i], oldLines[i].startsWith("3|") ? touched : oldLines[i]);
    const QByteArray unit = readAll(unitPath);
    EXPECT_TRUE(
        QString(QStringDecoder("GBK").decode(unit)).contains(QStringLiteral("bag | 新书包\n")));
    EXPECT_TRUE(QString::fromUtf8(unit).contains(QChar::ReplacementCharacter));  // still GBK
    const QMap<QString, QByteArray> after = digests(folder);
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!it.key().endsWith(QLatin1String("p01.txt")) && !it.key().endsWith("unit1.txt")) {
            EXPECT_EQ(it.value(), before.value(it.key())) << qPrintable(it.key());
        }
    }

    // A file changed behind the document's back is not overwritten unless asked.
    writeAll(pagePath, saved + "# added elsewhere\r\n");
    EXPECT_TRUE(document.setText(0, {ItemKind::Entry, 0}, TextField::English, "Unit One"));
    QString error;
    EXPECT_FALSE(document.save(&error));
    EXPECT_EQ(document.filesChangedOnDisk(), QStringList{pagePath});
    EXPECT_TRUE(document.save(&error, true)) << qPrintable(error);
}

// Moving, adding and removing entries keeps them numbered 1..n in clip order, a `by:` option
// naming the entry it named, the comments where they were, and the page passing the check.
TEST(StudioDocument, ReorderingRenumbersEntriesAndTheirSpeakers) {
    QTemporaryDir dir;
    BookDocument document;
    ASSERT_TRUE(document.open(templateBook(dir)));
    const QList<QByteArray> start = currentBytes(document);
    const auto check = [&document] {
        tool::Problems problems;
        tool::checkPage(document.page(0), tool::bookVocabulary(), problems);
        EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
    };
    ASSERT_EQ(entryTexts(document.page(0)),
              (QStringList{"1 Unit 1", "2 Hello, I'm Tom.", "3 Hello, I'm Tom.", "4 Hi, I'm Lily.",
                           "5 Hi, I'm Lily."}));
    QSignalSpy pages(&document, &BookDocument::pageChanged);
    ASSERT_TRUE(document.moveEntry(0, 1, 4));  // Tom's picture goes last
    EXPECT_EQ(pages.size(), 1);
    EXPECT_EQ(entryTexts(document.page(0)),
              (QStringList{"1 Unit 1", "2 Hello, I'm Tom.", "3 Hi, I'm Lily.", "4 Hi, I'm Lily.",
                           "5 Hello, I'm Tom."}));
    EXPECT_EQ(document.page(0).entries[1].speaker, 5);
    EXPECT_EQ(document.page(0).entries[3].speaker, 3);
    check();
    ASSERT_TRUE(
        document.addEntry(0, 0,
                          {QStringLiteral("text"), QRect(540, 150, 200, 32),
                           QStringLiteral("Goodbye!"), QStringLiteral("再见！"), QString()}));
    EXPECT_EQ(document.page(0).entries[0].english, QStringLiteral("Goodbye!"));
    EXPECT_EQ(document.page(0).entries[2].speaker, 6);
    check();
    ASSERT_TRUE(document.removeEntry(0, 5));  // Tom's picture: his line loses its speaker
    EXPECT_EQ(document.page(0).entries[2].speaker, 0);
    EXPECT_EQ(document.entryOptions(0, 2), QString());
    EXPECT_EQ(document.page(0).entries.size(), 5);
    check();
    const QString text = document.file(document.fileOfPage(0)).text();
    EXPECT_TRUE(text.contains(QStringLiteral("# 例如 / for example:\n# 6 | text | 540,150")));
    EXPECT_FALSE(document.moveEntry(0, 0, 5));
    while (document.undoStack()->canUndo()) document.undoStack()->undo();
    EXPECT_EQ(currentBytes(document), start);
}

// One drag is one undo step however many moves it makes; two drags are two. Typing merges
// within one field of one gesture. Esc (cancelGesture) takes a drag back with nothing to redo.
TEST(StudioDocument, EachGestureIsOneUndoStep) {
    QTemporaryDir dir;
    BookDocument document;
    ASSERT_TRUE(document.open(templateBook(dir)));
    QUndoStack& stack = *document.undoStack();
    const ItemRef boy{ItemKind::Entry, 1}, fill{ItemKind::Fill, 0};
    const QRect start = document.itemRect(0, boy);
    const auto drag = [&](int steps, QPoint by) {
        const QRect from = document.itemRect(0, boy);
        document.beginGesture();
        for (int i = 1; i <= steps; ++i)
            document.setGeometry(0, {{boy, from.translated(by * i / steps)}});
        document.endGesture();
    };
    drag(40, {30, 10});
    EXPECT_EQ(stack.count(), 1);
    drag(3, {-5, 0});
    EXPECT_EQ(stack.count(), 2);
    EXPECT_EQ(document.itemRect(0, boy), start.translated(25, 10));
    stack.undo();
    EXPECT_EQ(document.itemRect(0, boy), start.translated(30, 10));
    stack.undo();
    EXPECT_EQ(document.itemRect(0, boy), start);
    stack.redo();
    stack.redo();

    document.beginGesture();
    for (const char* typed : {"H", "He", "Hey"})
        document.setText(0, boy, TextField::English, typed);
    document.setText(0, boy, TextField::Chinese, QStringLiteral("嘿"));
    document.endGesture();
    EXPECT_EQ(stack.count(), 4);
    document.setText(0, boy, TextField::Chinese, QStringLiteral("嘿！"));
    document.setText(0, boy, TextField::Chinese, QStringLiteral("嘿！！"));
    EXPECT_EQ(stack.count(), 6);  // outside a gesture nothing merges

    // An answer box's drag, then Esc: the box is back and there is nothing to redo.
    const QRect box = document.itemRect(1, fill);
    document.beginGesture();
    document.setGeometry(1, {{fill, box.translated(3, 3)}});
    document.setGeometry(1, {{fill, box.translated(9, 4)}});
    EXPECT_TRUE(document.cancelGesture());
    document.endGesture();
    EXPECT_EQ(document.itemRect(1, fill), box);
    EXPECT_EQ(stack.count(), 6);
    EXPECT_FALSE(stack.canRedo());
}

// 200 random edits of every kind, some of them in gestures: undoing them all gives the files'
// first bytes, redoing them all the edited bytes, and the saved folder reads back as edited.
TEST(StudioDocument, UndoingRandomEditsGivesTheFirstBytesBack) {
    QTemporaryDir dir;
    const QString folder = builtInCopy(dir);
    BookDocument document;
    ASSERT_TRUE(document.open(folder));
    const QList<QByteArray> start = currentBytes(document);
    QRandomGenerator random(26);
    const auto pick = [&random](qsizetype count) {
        return count > 0 ? int(random.bounded(int(count))) : 0;
    };
    const auto word = [&random](const char* prefix) {
        return QStringLiteral("%1 %2").arg(QLatin1String(prefix)).arg(random.bounded(1000));
    };
    int made = 0;
    for (int step = 0; step < 200; ++step) {
        const int p = pick(document.pageCount()), u = pick(document.unitCount());
        const tool::PageSource& page = document.page(p);
        const int e = pick(page.entries.size()), w = pick(document.unit(u).words.size());
        const QRect r(pick(400), pick(300), 30 + pick(200), 20 + pick(100));
        if (random.bounded(4) == 0) document.beginGesture();
        switch (random.bounded(15)) {
            case 0:
                made += document.setGeometry(p, {{{ItemKind::Entry, e}, r}});
                break;
            case 1:
                made += document.setText(p, {ItemKind::Entry, e}, TextField::English, word("Hi"));
                break;
            case 2:
                made += document.setText(p, {ItemKind::Entry, e}, TextField::Say, word("say"));
                break;
            case 3:
                made += document.addEntry(p, pick(page.entries.size() + 1),
                                          {"word", r, word("new"), "新", ""});
                break;
            case 4:
                made += document.removeEntry(p, e);
                break;
            case 5:
                made += document.moveEntry(p, e, pick(page.entries.size()));
                break;
            case 6:
                made += document.setPageImage(p, random.bounded(3) ? word("scans/p") : "");
                break;
            case 7:
                made += document.setEntryAudio(p, e, random.bounded(3) ? word("rec/e") : "");
                break;
            case 8:
                made += document.setWordText(u, w, WordField::English, word("cat"));
                break;
            case 9:
                made += document.setWordAudio(u, w, random.bounded(2) ? word("rec/w") : "");
                break;
            case 10:
                made += document.addWord(u, pick(document.unit(u).words.size() + 1),
                                         {word("dog"), "狗", ""});
                break;
            case 11:
                made += document.removeWord(u, w);
                break;
            case 12:
                made += document.setNames({word("书"), word("Caption"), word("Shortcut")});
                break;
            case 13: {
                QList<SectionText> sections;
                for (const tool::SectionSource& s : document.sources().sections)
                    sections.append({s.name, s.firstPage});
                if (random.bounded(2) && sections.size() > 1)
                    sections.removeLast();
                else
                    sections.append({word("Unit"), sections.last().firstPage + 2});
                made += document.setSections(sections);
                break;
            }
            case 14:
                made += document.setUnitName(u, random.bounded(3) ? word("Unit") : QString());
                break;
        }
        document.endGesture();
    }
    EXPECT_GT(made, 150);
    const QList<QByteArray> edited = currentBytes(document);
    ASSERT_NE(edited, start);
    QUndoStack& stack = *document.undoStack();
    while (stack.canUndo()) stack.undo();
    EXPECT_EQ(currentBytes(document), start);
    while (stack.canRedo()) stack.redo();
    EXPECT_EQ(currentBytes(document), edited);

    ASSERT_TRUE(document.save());
    BookDocument reread;
    ASSERT_TRUE(reread.open(folder));
    EXPECT_EQ(currentBytes(reread), edited);
    for (int p = 0; p < document.pageCount(); ++p)
        EXPECT_EQ(entryTexts(reread.page(p)), entryTexts(document.page(p)));
}

// A second recording for an entry is copied in beside the first, never over it: undo gives
// back the first file as it was.
TEST(StudioDocument, AnotherRecordingKeepsTheOldOneForUndo) {
    QTemporaryDir dir;
    BookDocument document;
    ASSERT_TRUE(document.open(templateBook(dir)));
    writeAll(dir.filePath(QStringLiteral("take1.WAV")), "first take");
    writeAll(dir.filePath(QStringLiteral("take2.wav")), "second take");
    const QString first =
        document.importFile(dir.filePath(QStringLiteral("take1.WAV")), "recordings", "p01-03");
    ASSERT_EQ(first, QStringLiteral("recordings/p01-03.wav"));
    ASSERT_TRUE(document.setEntryAudio(0, 2, first));
    const QString second =
        document.importFile(dir.filePath(QStringLiteral("take2.wav")), "recordings", "p01-03");
    ASSERT_EQ(second, QStringLiteral("recordings/p01-03-2.wav"));
    ASSERT_TRUE(document.setEntryAudio(0, 2, second));
    EXPECT_EQ(document.entryOptions(0, 2), QStringLiteral("by: 2; audio: ") + second);
    document.undoStack()->undo();
    const tool::Entry& entry = document.page(0).entries[2];
    EXPECT_EQ(entry.recording.file, first);
    EXPECT_EQ(readAll(entry.recording.path), "first take");
    EXPECT_EQ(document.importFile(entry.recording.path, "recordings", "again"), first);
    EXPECT_TRUE(document.importFile(dir.filePath("missing.wav"), "recordings", "x").isEmpty());
}

TEST(StudioDocument, TheRecoveryFileBringsBackUnsavedWork) {
    QTemporaryDir dir;
    const QString folder = templateBook(dir);
    BookDocument document;
    ASSERT_TRUE(document.open(folder));
    const QList<QByteArray> onDisk = currentBytes(document);
    document.setText(1, {ItemKind::Entry, 2}, TextField::English, QStringLiteral("a long ruler"));
    document.addWord(1, 4, {QStringLiteral("duck"), QStringLiteral("鸭子"), QString()});
    document.setSections({{QStringLiteral("第一单元"), 1}, {QStringLiteral("Unit 2"), 3}});
    const QString recovery = dir.filePath(QStringLiteral("work.recovery"));
    QString error;
    ASSERT_TRUE(document.saveRecovery(recovery, &error)) << qPrintable(error);

    BookDocument recovered;
    ASSERT_TRUE(recovered.loadRecovery(recovery, &error)) << qPrintable(error);
    EXPECT_EQ(currentBytes(recovered), currentBytes(document));
    EXPECT_EQ(recovered.unit(1).words.last().english, QStringLiteral("duck"));
    EXPECT_TRUE(recovered.isModified());
    recovered.undoStack()->undo();
    EXPECT_EQ(currentBytes(recovered), onDisk);

    QByteArray damaged = readAll(recovery);
    damaged[damaged.size() - 5] = damaged[damaged.size() - 5] ^ 0x20;
    writeAll(recovery, damaged);
    EXPECT_FALSE(recovered.loadRecovery(recovery, &error));
    EXPECT_EQ(currentBytes(recovered), onDisk);  // a refused recovery leaves the book as it was
}

}  // namespace
