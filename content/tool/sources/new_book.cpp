#include "sources/new_book.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRect>
#include <QStringList>
#include <cstdio>

#include "sources/book_profile.h"

namespace tool {

namespace {

// --------------------------------------------------------------------------------------------
// Page layout: a title band at the top, then a grid of hotspots four across. On an exercise
// page the top left of the grid is left to the listening strip, the answer boxes and the
// listen icon.

const QRect kTitle(16, 12, 300, 36);
const QRect kListeningStrip(20, 56, 300, 30);
const QPoint kListenIcon(24, 61);
// Where the answer boxes of an exercise page lie (the fill-in boxes' fixed places are inside).
const QRect kAnswerArea(0, 50, 400, 190);

QList<QRect> gridCells(bool exercise) {
    QList<QRect> cells;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRect cell(16 + column * 196, 60 + row * 48, 184, 36);
            if (!exercise || !cell.intersects(kAnswerArea)) cells.append(cell);
        }
    }
    return cells;
}

QList<QRect> wordListCells(int count) {
    QList<QRect> cells;
    for (int i = 0; i < count; ++i) cells.append(QRect(16 + i % 4 * 196, 12 + i / 4 * 31, 184, 26));
    return cells;
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString sectionChinese(const QString& section) {
    static const QStringList numbers{"一", "二", "三", "四", "五", "六"};
    if (section.startsWith(QLatin1String("Unit ")))
        return QStringLiteral("第%1单元").arg(numbers.value(section.mid(5).toInt() - 1));
    if (section.startsWith(QLatin1String("Recycle ")))
        return QStringLiteral("复习%1").arg(numbers.value(section.mid(8).toInt() - 1));
    return section;
}

QString themeOf(const QString& section) {
    static const QStringList sections{"Unit 1", "Unit 2", "Unit 3", "Recycle 1",
                                      "Unit 4", "Unit 5", "Unit 6", "Recycle 2"};
    static const QStringList themes{"sky", "grass", "sun", "rose", "lilac", "sea", "peach", "mint"};
    const qsizetype at = sections.indexOf(section);
    return at < 0 ? QStringLiteral("mint") : themes[at];
}

QString pageHeader(const ScreenProfile& screen) {
    const QString number = QString::number(screen.page);
    const QString file = QStringLiteral("p%1").arg(screen.page, 2, 10, QChar('0'));
    return QStringLiteral(
               "# 第%1页 · Page %1 (%2)\n"
               "# 每行一条：编号 | 类型 | 热区 x,y,宽,高 | 英文 | 中文 [| 选项]\n"
               "# One entry per line: number | kind | hotspot x,y,w,h | English | Chinese "
               "[| options]\n"
               "# 热区按 800 x 540 的页面计算 / hotspots are in the 800 x 540 page.\n"
               "# 录音 / recording: \"| audio: recordings/%3-05.wav\" "
               "(或在已有选项后写 / or after other options: \"; audio: ...\")\n"
               "page %1\n"
               "theme %4\n")
        .arg(number, QString::fromUtf8(screen.section), file,
             themeOf(QString::fromUtf8(screen.section)));
}

QString imageLine(int page) {
    return QStringLiteral(
               "# 扫描图 / scan: 去掉下一行的 # / remove the # below\n"
               "# image: scans/p%1.jpg\n\n")
        .arg(page, 2, 10, QChar('0'));
}

// Which entries of a page are placeholders ("$" in both lines): the last ones, never the
// title, the listening strip nor an entry that keeps its English line.
QList<int> placeholderEntries(const ScreenProfile& screen) {
    QList<int> chosen;
    for (int e = screen.entries; e > 1 && chosen.size() < screen.englishDollars; --e) {
        const bool listening = hasListenIcon(screen.page) && e == listeningEntry(screen.page);
        if (!listening && !isEnglishOnlyEntry(screen.page, e)) chosen.append(e);
    }
    return chosen;
}

QString answerLines(int page) {
    QString text;
    if (!hasListenIcon(page)) return text;
    text += QStringLiteral("\n# 答题框 / answer boxes\n");
    for (const FillBoxProfile& box : kFillBoxes) {
        if (box.page != page) continue;
        text += QStringLiteral("fill %1 | %2,%3 | %1\n").arg(box.number).arg(box.x).arg(box.y);
    }
    for (int k = 1; k <= tickBoxCount(page); ++k) {
        const QString key = !tickBoxesChecked(page) ? QStringLiteral("-")
                            : k % 2                 ? QStringLiteral("yes")
                                                    : QStringLiteral("no");
        text += QStringLiteral("tick %1 | %2,%3 | %4\n")
                    .arg(k)
                    .arg(20 + (k - 1) % 6 * 60)
                    .arg(110 + (k - 1) / 6 * 60)
                    .arg(key);
    }
    text += QStringLiteral("listen 1 | %1,%2\n").arg(kListenIcon.x()).arg(kListenIcon.y());
    return text;
}

QString bookPage(const ScreenProfile& screen) {
    const int page = screen.page;
    QString text = pageHeader(screen);
    text += QStringLiteral("overlay %1,%2\n").arg(screen.overlayX).arg(screen.overlayY);
    text += imageLine(page);
    const bool exercise = hasListenIcon(page);
    const QList<QRect> cells = gridCells(exercise);
    const QList<int> placeholders = placeholderEntries(screen);
    const bool ticks = tickBoxCount(page) > 0;
    int cell = 0;
    for (int e = 1; e <= screen.entries; ++e) {
        const QString n = QString::number(e);
        if (e == 1) {
            const QString section = QString::fromUtf8(screen.section);
            text += QStringLiteral("1 | title | %1 | %2 | %3\n")
                        .arg(rectText(kTitle), section, sectionChinese(section));
        } else if (exercise && e == listeningEntry(page)) {
            text += QStringLiteral(
                        "%1 | instr | %2 | %3 | %4 | say: Page %5, the listening "
                        "exercise.\n")
                        .arg(n, rectText(kListeningStrip),
                             ticks ? QStringLiteral("Listen and tick.")
                                   : QStringLiteral("Listen and number."),
                             ticks ? QStringLiteral("听录音，打钩。")
                                   : QStringLiteral("听录音，标序号。"))
                        .arg(page);
        } else if (placeholders.contains(e)) {
            text += QStringLiteral("%1 | instr | %2 | $ | $ | say: Page %3, sound %1.\n")
                        .arg(n, rectText(cells[cell++]))
                        .arg(page);
        } else {
            const QString chinese = isEnglishOnlyEntry(page, e)
                                        ? QStringLiteral("$")
                                        : QStringLiteral("第%1页，第%2句。").arg(page).arg(e);
            text += QStringLiteral("%1 | text | %2 | Page %3, line %1. | %4\n")
                        .arg(n, rectText(cells[cell++]))
                        .arg(page)
                        .arg(chinese);
        }
    }
    return text + answerLines(page);
}

QString wordListPage(const ScreenProfile& screen, int firstWord) {
    QString text = pageHeader(screen) + imageLine(screen.page);
    const QList<QRect> cells = wordListCells(screen.entries);
    for (int e = 1; e <= screen.entries; ++e) {
        const int word = firstWord + e - 1;
        text += QStringLiteral("%1 | word | %2 | Word %3 | 单词%3\n")
                    .arg(e)
                    .arg(rectText(cells[e - 1]))
                    .arg(word);
    }
    return text;
}

// --------------------------------------------------------------------------------------------
// Unit word lists: placeholder words of letters only. The lists keep the volume's traits that
// the checks ask for (unit 1 starts with "ruler", one two-word item, unit 2's meanings with
// two renderings, a meaning with a parenthesised part).

QString unitList(int unit) {
    static const QStringList numbers{"one",   "two",   "three", "four", "five",   "six",
                                     "seven", "eight", "nine",  "ten",  "eleven", "twelve"};
    QString text = QStringLiteral(
                       "# 第%1单元单词表 / Unit %1 words\n"
                       "# 英文 | 中文 [| audio: recordings/unit%1-01.wav]\n"
                       "# English | Chinese [| audio: FILE]; 英文只用字母，最多 10 个 / "
                       "letters only, at most 10\n")
                       .arg(unit);
    for (int w = 1; w <= kUnitSizes[size_t(unit - 1)]; ++w) {
        QString english = QStringLiteral("word") + numbers[w - 1];
        QString chinese = QStringLiteral("第%1单元词语%2").arg(unit).arg(w);
        if (unit == 1 && w == 1)
            english = QStringLiteral("ruler"), chinese = QStringLiteral("尺子");
        if (unit == 1 && w == 2) english = QStringLiteral("word two");
        if (unit == 2 && w <= 9) chinese += QStringLiteral("；词语%1").arg(w);
        if (unit == 3 && w == 1) chinese += QStringLiteral("（示例）");
        text += english + QStringLiteral(" | ") + chinese + QLatin1Char('\n');
    }
    return text;
}

const char kClips[] = R"(# 内置提示音 / built-in clips: role | voice | codec | text [| audio: FILE]
# voice: en (English), zh (普通话) or synth (a made sound). Codecs stay as they are.
# 用老师的录音 / a teacher's recording: add "| audio: recordings/praise1.wav" to the line.

praise1 | en | mp3/24000/1 | Great job!
praise2 | zh | mp3/24000/1 | 你真棒！
praise3 | en | mp3/24000/1 | Well done!
retry1 | zh | mp3/24000/1 | 差一点，再试试！
retry2 | en | mp3/24000/1 | Try once more!
retry3 | zh | mp3/24000/1 | 别着急，再听一听。
retry4 | en | mp3/24000/1 | Almost! Have another go.
done | zh | mp3/24000/1 | 太好了，你全部完成了！
practice_intro | zh | mp3/24000/1 | 听录音，点出你听到的图片或句子。
findit_intro | zh | mp3/24000/1 | 看黄色框里的中文，点出它的英文。
right_answer | synth | pcm16/22050/2 | chime
wrong1 | synth | mp3/16000/2 | buzz
wrong2 | en | mp3/16000/2 | Oops! Try again.
letter_click | synth | pcm8/22050/1 | click
match_select | synth | ima | pop
match_pair | synth | ima | sparkle
match_mismatch | synth | mp3/16000/2 | bonk
match_empty | synth | ima | tick
match_music | synth | mp3/16000/2 | tune
)";

const char kPictures[] =
    R"(# 窗口图片 / window pictures: name | WxH | painter | text | format [| image: FILE]
# 用自己的图片 / your own picture: add "| image: pictures/cover.jpg" (JPEG, PNG, WEBP, TIFF; GIF for
# an animation). It is scaled to the size with its aspect kept. Keep names, sizes and formats.

start_background | 803x605   | start_background |                                | jpg
cover            | 1092x1512 | cover            | English;三年级 上册;青橙英语    | jpg
start_button     | 100x40    | start_button     | 开始学习                        | png
loading          | 32x32     | spinner          |                                | gif

dictation_screen | 800x560 | dictation     | 背单词;单元;顺序 | jpg
dict_start       | 60x40   | button_green  | 开始             | png
dict_replay      | 100x40  | button_blue   | 再听一遍         | png
dict_next        | 100x40  | button_orange | 下一题           | png
dict_confirm     | 60x40   | button_pink   | 确定             | png

button_104x40 | 104x40 | button_plain | | png
button_100x40 | 100x40 | button_plain | | png
button_72x32  | 72x32  | button_plain | | png
button_60x40  | 60x40  | button_plain | | png
button_40x40  | 40x40  | button_plain | | png

fillin_background | 800x600 | classroom  | | jpg
order_background  | 800x600 | train      | | jpg
spell_background  | 800x600 | blocks     | | jpg
match_background  | 800x600 | playground | | jpg
finder_background | 800x600 | garden     | | jpg

flower        | 96x124 | flower       | | png
tile_english  | 80x70  | tile_english | | jpg
tile_chinese  | 80x70  | tile_chinese | | jpg
mark_right    | 20x20  | tick         | | jpg
mark_wrong    | 20x20  | cross        | | jpg
listen_icon   | 20x20  | loudspeaker  | | jpg
)";

const char kAbout[] =
    R"(<p>欢迎使用三年级英语上册点读学习软件！</p>
<p>（请在 start_about.html 里写上贵校课本的介绍：课本名称、出版信息、录音老师等。）</p>
<p><b>点读：</b>书上的每个句子、单词和图片都能点，点一下就会听到英语朗读，旁边还会弹出中文翻译气泡。</p>
<p><b>背单词和游戏：</b>按单元听写单词，还有单词小游戏，边玩边记。</p>
)";

const char kFaq[] =
    R"(<p><b>问：点了书上的内容，却听不到声音？</b><br>答：请先看看电脑音量是否调低或静音，耳机、音箱是否插好，然后再点一次试试。</p>
<p><b>问：怎样关掉中文翻译？</b><br>答：点一下课本下方工具栏上的<b>中文翻译关</b>按钮就能关掉中文气泡，再点一下又会打开。</p>
<p><b>问：怎样全屏显示？</b><br>答：点工具栏上的<b>全屏</b>按钮；再点<b>退出全屏</b>就回到窗口。</p>
<p><b>问：怎样退出软件？</b><br>答：点工具栏上的<b>退出</b>按钮；关掉课本窗口则回到开始画面。</p>
)";

const char kGuide[] = R"(# 我们自己的课本 · Our own book

这个文件夹是点读软件的课本内容，形状和软件要求的课本完全一样，现在填的是占位文字。
照原样就能通过检查、编出能用的软件；把扫描图、录音和文字一样一样换成自己的就行。

This folder holds the content of the click-to-hear program, in exactly the shape the program
needs, filled with placeholder texts. It passes the check and builds a working program as it
is; replace the scans, recordings and texts with your own, one piece at a time.

## 哪个文件放什么 · Which file holds what

| 文件 · file | 内容 · what it holds |
| --- | --- |
| `pages/p02.txt` … `p68.txt` | 每页一个文件：每条的热区、英文、中文、选项；练习页的答题框 · one file per page: each entry's hotspot, English, Chinese and options; the answer boxes of exercise pages |
| `pages/p70.txt`, `p74.txt` | 单词表页，每个词一个热区 · the word-list pages, one hotspot per word |
| `units/unit1.txt` … `unit6.txt` | 六个单元的单词和中文意思 · the six units' words and meanings |
| `clips.txt` | 表扬、鼓励等内置提示音 · the built-in praise and feedback clips |
| `pictures.txt` | 开始画面、游戏背景等窗口图片 · the window pictures (start window, game backgrounds) |
| `start_about.html`, `start_faq.html` | 开始画面上的介绍和常见问题 · the start window's two texts |
| `scans/` | 放页面扫描图或照片（JPEG、PNG、WEBP、TIFF，大小不限） · page scans or photos (JPEG, PNG, WEBP, TIFF, any size) |
| `recordings/` | 放老师的录音（手机录音 M4A、MP3、WAV、AMR 等） · the teacher's recordings (a phone's M4A, MP3, WAV, AMR and more) |

每个文件里的条数和编号不能改；`$` 表示占位条目（没有句子，只有录音）。
The number of entries and their numbers stay as they are; `$` marks a placeholder entry
(no sentence, only a recording).

## 三步 · Three steps

1. **扫描图 · Scans.** 把第 10 页的扫描图放到 `scans/p10.jpg`，在 `pages/p10.txt` 里去掉
   `# image: scans/p10.jpg` 前面的 `#`。图片会按原比例缩放到页面大小，多出的地方留白。
   Put page 10's scan at `scans/p10.jpg` and remove the `#` in front of
   `# image: scans/p10.jpg` in `pages/p10.txt`. It is scaled to the page with its aspect kept
   and a white margin where the aspect differs.
2. **热区和文字 · Hotspots and texts.** 生成预览图，看每个热区框是不是盖在对应的句子上：
   Make the preview sheets and look whether every hotspot sits on its sentence:

   ```sh
   qcbook-content --source 这个文件夹/this-folder --check --preview /tmp/preview
   ```

   `/tmp/preview/p10.png` 是 800 x 540 的页面，红框是热区（带编号），蓝框是答题框。
   按图上的像素位置改 `x,y,宽,高`，再把英文、中文换成课本上的句子。
   `/tmp/preview/p10.png` shows the page at 800 x 540 with the hotspots in red (numbered) and
   the answer boxes in blue; its pixel positions are the `x,y,w,h` to write. Then replace the
   English and Chinese lines with the book's.
3. **录音 · Recordings.** 在条目行末尾加 `| audio: recordings/p10-05.wav`（已有选项时用
   `; audio: ...`）。单词表行写成 `ruler | 尺子 | audio: recordings/unit1-01.wav`，
   提示音行末尾加 `| audio: FILE`。M4A、MP3、WAV、AAC、AMR、Opus、WebM、Ogg Vorbis、FLAC
   都可以，采样率和声道不限。
   录音会自动去掉开头和结尾的空白、调到统一音量、转成软件要的格式；没改过的录音下次编译时不再转换。
   Add `| audio: recordings/p10-05.wav` at the end of an entry line (`; audio: ...` after
   other options), `| audio: FILE` at the end of a unit word or clip line. M4A (a phone's voice
   memo), MP3, WAV, AAC, AMR, Opus, WebM, Ogg Vorbis and FLAC all do, at any sample rate and
   channel count. Leading and trailing silence is
   trimmed, the loudness levelled and the recording converted to the format the program plays;
   a recording that has not changed is not converted again on the next build.

没有写 `image:` 的页面由程序画出来，没有写 `audio:` 的条目由语音合成朗读。
A page without `image:` is drawn by the tool; an entry without `audio:` is read by the speech
synthesizer.

## 检查和编译 · Check and build

```sh
# 只检查，写预览图 · check only, with preview sheets
qcbook-content --source /path/to/this/folder --check --preview /tmp/preview
# 只做几页试听 · make a few pieces to look at and listen to
qcbook-content --source /path/to/this/folder --only p10,unit1 --out /tmp/pieces
# 编出软件 · build the program (in the program's source folder)
QCBOOK_CONTENT_DIR=/path/to/this/folder bash scripts/setup.sh
```

有问题时会停下，并写出 `文件:行号: 哪里不对`，例如缺少的录音、不是图片的文件、没有声音的录音或太长的录音。
Any problem stops the check or the build with `file:line: what is wrong`: a missing
recording, a file that is not a picture, a silent recording or one that is too long.
The full format is described in `content/FORMAT.md` of the program's source.
)";

}  // namespace

QMap<QString, QByteArray> newBookFiles() {
    QMap<QString, QByteArray> files;
    int nextWord = 1;
    for (const ScreenProfile& screen : kScreens) {
        const QString path = QStringLiteral("pages/p%1.txt").arg(screen.page, 2, 10, QChar('0'));
        if (isWordListPage(screen.page)) {
            files.insert(path, wordListPage(screen, nextWord).toUtf8());
            nextWord += screen.entries;
        } else {
            files.insert(path, bookPage(screen).toUtf8());
        }
    }
    for (int unit = 1; unit <= int(kUnitSizes.size()); ++unit) {
        files.insert(QStringLiteral("units/unit%1.txt").arg(unit), unitList(unit).toUtf8());
    }
    files.insert(QStringLiteral("clips.txt"), kClips);
    files.insert(QStringLiteral("pictures.txt"), kPictures);
    files.insert(QStringLiteral("start_about.html"), kAbout);
    files.insert(QStringLiteral("start_faq.html"), kFaq);
    files.insert(QStringLiteral("README.md"), kGuide);
    return files;
}

int writeNewBook(const QString& folder) {
    const QDir dir(folder);
    if (dir.exists() && !dir.isEmpty()) {
        std::fprintf(stderr, "%s is not empty: a new book goes into a new or empty folder\n",
                     qPrintable(folder));
        return 1;
    }
    const QMap<QString, QByteArray> files = newBookFiles();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = dir.filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    for (const char* sub : {"scans", "recordings", "pictures"}) {
        if (!QDir().mkpath(dir.filePath(QLatin1String(sub)))) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(dir.filePath(QLatin1String(sub))));
            return 1;
        }
    }
    std::printf("new book written to %s: fill it in as %s/README.md tells\n", qPrintable(folder),
                qPrintable(folder));
    return 0;
}

}  // namespace tool
