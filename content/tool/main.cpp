// The content tool: reads the book's sources, checks them, renders the pictures, records the
// clips and writes what the program embeds.

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QThread>

#include "build_book.h"
#include "commands.h"
#include "sources/new_book.h"

namespace {

// Where finished recordings and pictures are kept between runs when no --out folder is given:
// the user's cache folder, so that a teacher's second build is quick.
QString defaultCacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/qcbook-content");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Builds the qcbook content from its sources.");
    parser.addHelpOption();
    const QCommandLineOption source("source", "Folder with the content sources.", "folder");
    const QCommandLineOption out(
        "out",
        "Folder for pack.bin, content_data.cpp and recordings.tsv (with --check: only "
        "recordings.tsv, the list of the book's recordings in clip order; with --split: the "
        "clips).",
        "folder");
    const QCommandLineOption cache("cache", "Folder that keeps finished recordings.", "folder");
    const QCommandLineOption bookFile(
        "book-file",
        "Write the whole book (names, pages, pictures, recordings) as one book file that the "
        "installed program opens: qcbook FILE.",
        "file");
    const QCommandLineOption preview(
        "preview",
        "Write each page's preview sheet (800 x 540 PNG): the page picture with every hotspot "
        "and answer box outlined and numbered.",
        "folder");
    const QCommandLineOption only(
        "only",
        "Only these pieces: pages, unit word lists, the built-in clips, the window pictures, "
        "e.g. p22,p24,unit1,clips,pictures. With --out each piece is written as a file of its "
        "own (pNN.jpg, pNN-EE.wav, unitN-WW.wav, clip-ROLE.wav, picture-NAME.FORMAT).",
        "pieces");
    const QCommandLineOption newBook(
        "new-book",
        "Write a new content folder with the book's shape, placeholder texts and a guide "
        "(README.md), ready to be filled in. The folder must not exist or be empty.",
        "folder");
    const QCommandLineOption check("check", "Only read and check the sources.");
    const QCommandLineOption listen(
        "listen",
        "With --check: listen to every English line's recording (the supplied one or the made "
        "one) with a speech recogniser and name each that sounds like another line of its page, "
        "or not like its own line, as file:line. Limited to the pages of --only.");
    const QCommandLineOption suppliedOnly(
        "supplied-only", "With --listen: listen to the supplied recordings (audio:) only.");
    const QCommandLineOption builtIn(
        "built-in-volume",
        "The sources are the demonstration volume built into the program: check them against "
        "its facts too (its pages, entry counts, sections, units and answer keys), and keep the "
        "names and sizes its pages have always had.");
    const QCommandLineOption jobs("jobs", "Recordings and pictures made at once.", "n");
    const QCommandLineOption icons("icons", "Only write the program's icons into this folder.",
                                   "folder");
    const QCommandLineOption measure(
        "measure", "Only measure the WAV files given as arguments: length, silence, loudness.");
    const QCommandLineOption finish(
        "finish",
        "Only finish one audio file (any kind a teacher's recording may be) as the book's "
        "recordings are "
        "finished: trimmed, levelled and encoded in the codec, e.g. --finish msadpcm IN OUT.wav.",
        "codec");
    const QCommandLineOption split(
        "split",
        "Only cut this take (an audio file of a whole page read aloud) into one clip per line "
        "of --lines, written into the --out folder as 01.wav, 02.wav ... (mono 16-bit PCM); "
        "prints each clip's start and end in milliseconds and its line, tab-separated. A take "
        "with a line missing or read twice is reported with the line, and nothing is written.",
        "take");
    const QCommandLineOption lines(
        "lines", "With --split: the page's lines, one a line, in reading order.", "file");
    const QCommandLineOption propose(
        "propose",
        "Only read the printed English of this page picture (any picture file; a scan is "
        "fitted as a page's image: is) and print one proposed hotspot a line: x, y, width and "
        "height in the 800 x 540 page space, the reader's confidence (0-100) and the text, "
        "tab-separated.",
        "picture");
    const QCommandLineOption decodeTo(
        "decode-to", "With --measure: also write each file decoded (mono 16-bit PCM) here.",
        "folder");
    parser.addOptions({source, out, cache, bookFile, preview, only, check, listen, suppliedOnly,
                       builtIn, jobs, icons, newBook, measure, decodeTo, finish, split, lines,
                       propose});
    parser.addPositionalArgument("files",
                                 "WAV files to measure (with --measure), or the input "
                                 "and output files (with --finish).",
                                 "[files...]");
    parser.process(app);
    if (parser.isSet(icons)) return tool::writeIcons(parser.value(icons));
    if (parser.isSet(newBook)) return tool::writeNewBook(parser.value(newBook));
    if (parser.isSet(measure))
        return tool::measureRecordings(parser.positionalArguments(), parser.value(decodeTo));
    if (parser.isSet(split)) {
        if (!parser.isSet(lines) || !parser.isSet(out)) {
            fprintf(stderr, "--split needs --lines FILE and --out FOLDER\n");
            return 2;
        }
        return tool::splitTakeFile(parser.value(split), parser.value(lines), parser.value(out));
    }
    if (parser.isSet(propose)) return tool::proposeHotspots(parser.value(propose));
    if (parser.isSet(finish)) {
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2) parser.showHelp(2);
        return tool::finishOneFile(files[0], parser.value(finish), files[1]);
    }

    tool::Options options;
    options.source = parser.value(source);
    options.out = parser.value(out);
    options.bookFile = parser.value(bookFile);
    options.cache = parser.isSet(cache)      ? parser.value(cache)
                    : !options.out.isEmpty() ? options.out + "/recordings"
                                             : defaultCacheFolder();
    options.preview = parser.value(preview);
    options.checkOnly = parser.isSet(check);
    options.listen = parser.isSet(listen) || parser.isSet(suppliedOnly);
    options.listenSuppliedOnly = parser.isSet(suppliedOnly);
    if (options.listen && !options.checkOnly) {
        fprintf(stderr, "--listen goes with --check\n");
        return 2;
    }
    options.builtInVolume = parser.isSet(builtIn);
    options.parallel =
        parser.isSet(jobs) ? parser.value(jobs).toInt() : std::max(2, QThread::idealThreadCount());
    QString error;
    if (!options.only.parse(parser.value(only), error)) {
        fprintf(stderr, "--only: %s\n", qPrintable(error));
        return 2;
    }
    if (options.source.isEmpty() || (options.out.isEmpty() && options.bookFile.isEmpty() &&
                                     !options.checkOnly && options.only.whole())) {
        parser.showHelp(2);
    }
    return tool::runContentBuild(options);
}
