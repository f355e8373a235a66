#include "sources/new_book.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace tool {

namespace {

// --------------------------------------------------------------------------------------------
// The book's names and sections, a handful of pages and two units: a small book that shows
// every kind of line once and passes the check, for the school to grow into its own.

const char kBookFile[] = R"(# 课本的名称和目录 · The book's names and sections
#
# title:    软件的名称，显示在开始画面的标题栏和课本上方的横幅里
#           the program's title: the start window's title bar and the reader's banner
# caption:  开始画面上标题下面的一行字 · the line under it on the start window
# shortcut: 桌面快捷方式的名字 · the name of the desktop shortcut
# 改成贵校课本的名字 · write your book's names here
title: 我们的英语课本点读软件
caption: 我们的英语课本
shortcut: 我们的英语课本点读软件

# 目录：每行一个单元（或一课），按书里的顺序：名字 | 从第几页开始。
# 第一个单元从书的第一页开始；名字显示在课本下方的单元选择框里。
# Sections, one a line, in the book's order: the name in the section chooser | the page it
# starts on. The first section starts on the book's first page.
section: Unit 1 | page 1
section: Unit 2 | page 3
section: 单词表 | page 4
)";

QString pageHead(int page, const QString& what) {
    return QStringLiteral(
               "# 第%1页 · Page %1: %2\n"
               "# 每行一条：编号 | 类型 | 热区 x,y,宽,高 | 英文 | 中文 [| 选项]\n"
               "# One entry per line: number | kind | hotspot x,y,w,h | English | Chinese "
               "[| options]\n"
               "# 热区按 800 x 540 的页面计算 / hotspots are in the 800 x 540 page.\n"
               "# 录音 / recording: \"| audio: recordings/p%3-02.wav\" "
               "(或在已有选项后写 / or after other options: \"; audio: ...\")\n"
               "# 要加一条，就接着写下一个编号，热区放在页面上空着的地方。\n"
               "# To add an entry, write the next number with a hotspot where the page is free.\n"
               "page %1\n")
        .arg(page)
        .arg(what)
        .arg(page, 2, 10, QChar('0'));
}

QString imageLine(int page) {
    return QStringLiteral(
               "# 扫描图 / scan: 去掉下一行的 # / remove the # below\n"
               "# image: scans/p%1.jpg\n\n")
        .arg(page, 2, 10, QChar('0'));
}

QString firstPage() {
    return pageHead(1, QStringLiteral("Unit 1")) + QStringLiteral("theme sky\n") + imageLine(1) +
           QStringLiteral(
               "1 | title | 20,12,260,48 | Unit 1 | 第一单元\n"
               "2 | pic boy | 80,210,130,200 | Hello, I'm Tom. | 你好，我是汤姆。\n"
               "3 | text | 40,150,190,32 | Hello, I'm Tom. | 你好，我是汤姆。 | by: 2\n"
               "4 | pic girl | 340,210,130,200 | Hi, I'm Lily. | 嗨，我是莉莉。\n"
               "5 | text | 300,150,170,32 | Hi, I'm Lily. | 嗨，我是莉莉。 | by: 4\n\n") +
           QStringLiteral(
               "# 例如 / for example:\n"
               "# 6 | text | 540,150,200,32 | Goodbye! | 再见！\n");
}

// A listening exercise: the strip whose recording is the script holds the listen icon; the
// children write the numbers they hear into the boxes under the pictures.
QString exercisePage() {
    return pageHead(2, QStringLiteral("Unit 1, Let's check")) + QStringLiteral("theme sky\n") +
           imageLine(2) +
           QStringLiteral(
               "1 | title | 20,12,260,44 | Let's check | 我们来检查\n"
               "2 | instr | 20,70,320,30 | Listen and number. | 听录音，标序号。 | say: Number "
               "one: a bag. Number two: a book. Number three: a ruler.\n"
               "3 | pic ruler | 40,130,120,90 | a ruler | 一把尺子\n"
               "4 | pic bag | 200,130,120,90 | a bag | 一个书包\n"
               "5 | pic book | 360,130,120,90 | a book | 一本书\n\n"
               "# 答题框 / answer boxes: fill K | x,y | 答案 answer; tick K | x,y | yes|no|-\n"
               "# 听录音图标放在听力题的热区里 / the listen icon lies in the listening hotspot\n"
               "fill 1 | 92,236 | 3\n"
               "fill 2 | 252,236 | 1\n"
               "fill 3 | 412,236 | 2\n"
               "listen 1 | 26,75\n");
}

QString secondUnitPage() {
    return pageHead(3, QStringLiteral("Unit 2")) + QStringLiteral("theme grass\n") + imageLine(3) +
           QStringLiteral(
               "1 | title | 20,12,260,48 | Unit 2 | 第二单元\n"
               "2 | pic cat | 60,120,140,140 | a cat | 一只猫\n"
               "3 | pic dog | 260,120,140,140 | a dog | 一只狗\n"
               "4 | text | 460,140,240,32 | I have a cat. | 我有一只猫。\n"
               "5 | instr | 460,200,240,30 | Look and tick. | 看一看，打钩。\n"
               "tick 1 | 110,270 | yes\n"
               "tick 2 | 310,270 | no\n");
}

// The word list: the units' words, each a hotspot that plays it, a column for each unit.
QString wordListPage() {
    static const QStringList words{"ruler|尺子", "bag|书包", "book|书", "pencil|铅笔",
                                   "cat|猫",     "dog|狗",   "bird|鸟", "fish|鱼"};
    QString text = pageHead(4, QStringLiteral("单词表 · word list")) +
                   QStringLiteral(
                       "theme sun\n"
                       "# 这一行说明这是单词表页 / this line makes it a word-list "
                       "page\n"
                       "word list\n") +
                   imageLine(4);
    for (int i = 0; i < words.size(); ++i) {
        const QStringList word = words[i].split(QLatin1Char('|'));
        text += QStringLiteral("%1 | word | %2,%3,180,24 | %4 | %5\n")
                    .arg(i + 1)
                    .arg(16 + i / 4 * 196)
                    .arg(16 + i % 4 * 30)
                    .arg(word[0], word[1]);
    }
    return text;
}

QString unitList(int unit, const QString& words) {
    return QStringLiteral(
               "# 第%1单元的单词 · Unit %1's words\n"
               "# 单元的名字（单元选择框里显示）/ the unit's name in the unit choosers\n"
               "name: Unit %1\n"
               "# 每行一个：英文 | 中文 [| audio: "
               "recordings/unit%1-01.wav]，按课本的顺序，多少个都行\n"
               "# One a line, in the book's order, as many as the unit has: English | Chinese "
               "[| audio: FILE]\n")
               .arg(unit) +
           words;
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
cover            | 1092x1512 | cover            | English;英语课本;点读软件       | jpg
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
    R"(<p>欢迎使用英语课本点读学习软件！</p>
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

这个文件夹是点读软件的课本内容。现在里面是一本很小的示范课本：四页、两个单元。
照原样就能通过检查、编出能用的软件；把它一点一点改成贵校的课本就行。

This folder holds the content of the click-to-hear program. It now holds a very small sample
book: four pages and two units. It passes the check and builds a working program as it is;
turn it into your own book one piece at a time.

## 课本的样子 · The book's shape

- **名字和目录 · Names and sections.** `book.txt` 写软件的名字（开始画面和横幅）、开始画面上的
  一行字、桌面快捷方式的名字，还有目录：每个单元叫什么、从第几页开始。
  `book.txt` gives the program's title (start window and banner), the start window's caption,
  the desktop shortcut's name and the sections: each one's name and the page it starts on.
- **页面 · Pages.** 书有几页，`pages/` 里就放几个文件，一页一个：`p01.txt`、`p02.txt`……
  页码可以从任何数开始、可以跳着编（比如只放有内容的页）；软件按页码从小到大一页一页翻。
  要加一页，就加一个文件，再看看 `book.txt` 的目录要不要改。
  One file per page in `pages/`, named by the page number. Numbers may start anywhere and
  skip pages; the reader turns the pages in the order of their numbers. To add a page, add a
  file (and a section in `book.txt` if it starts one).
- **条目 · Entries.** 每页上能点的地方，一行一条，编号从 1 开始连着往下编，多少条都行。
  Each place a child can press is one line, numbered 1, 2, 3 ... on each page, as many as the
  page has.
- **单词表页 · Word-list pages.** 写了 `word list` 这一行的页是单词表：每个热区是一个单词。
  A page with the line `word list` is a word list: each hotspot is a word.
- **单元 · Units.** `units/unit1.txt`、`unit2.txt`……一个单元一个文件，几个单元都行，每个单元
  几个单词都行；`name:` 一行是单元选择框里显示的名字（不写就是 Unit 1、Unit 2……）。
  One file per unit, as many units and words as the book has; the `name:` line is the unit's
  name in the unit choosers (Unit 1, Unit 2 ... when left out).

## 哪个文件放什么 · Which file holds what

| 文件 · file | 内容 · what it holds |
| --- | --- |
| `book.txt` | 软件和快捷方式的名字，目录 · the program's and shortcut's names, the sections |
| `pages/p01.txt` … | 每页一个文件：每条的热区、英文、中文、选项；练习题的答题框 · one file per page: each entry's hotspot, English, Chinese and options; the answer boxes of exercises |
| `pages/p04.txt` | 示范的单词表页 · the sample word-list page |
| `units/unit1.txt` … | 每个单元的单词和中文意思 · each unit's words and meanings |
| `clips.txt` | 表扬、鼓励等内置提示音 · the built-in praise and feedback clips |
| `pictures.txt` | 开始画面、游戏背景等窗口图片 · the window pictures (start window, game backgrounds) |
| `start_about.html`, `start_faq.html` | 开始画面上的介绍和常见问题 · the start window's two texts |
| `scans/` | 放页面扫描图或照片（JPEG、PNG、WEBP、TIFF，大小不限） · page scans or photos (JPEG, PNG, WEBP, TIFF, any size) |
| `recordings/` | 放老师的录音（手机录音 M4A、MP3、WAV、AMR 等） · the teacher's recordings (a phone's M4A, MP3, WAV, AMR and more) |

`$` 表示只有录音、没有句子的条目（比如门铃声），这时要用 `say:` 写出录音说的是什么。
`$` marks an entry with a recording but no sentence (a doorbell, say); its `say:` option tells
what the recording says.

## 三步 · Three steps

1. **扫描图 · Scans.** 把第 1 页的扫描图放到 `scans/p01.jpg`，在 `pages/p01.txt` 里去掉
   `# image: scans/p01.jpg` 前面的 `#`。图片会按原比例缩放到页面大小，多出的地方留白。
   Put page 1's scan at `scans/p01.jpg` and remove the `#` in front of
   `# image: scans/p01.jpg` in `pages/p01.txt`. It is scaled to the page with its aspect kept
   and a white margin where the aspect differs.
2. **热区和文字 · Hotspots and texts.** 生成预览图，看每个热区框是不是盖在对应的句子上：
   Make the preview sheets and look whether every hotspot sits on its sentence:

   ```sh
   qcbook-content --source 这个文件夹/this-folder --check --preview /tmp/preview
   ```

   `/tmp/preview/p01.png` 是 800 x 540 的页面，红框是热区（带编号），蓝框是答题框。
   按图上的像素位置改 `x,y,宽,高`，再把英文、中文换成课本上的句子。
   `/tmp/preview/p01.png` shows the page at 800 x 540 with the hotspots in red (numbered) and
   the answer boxes in blue; its pixel positions are the `x,y,w,h` to write. Then replace the
   English and Chinese lines with the book's.
3. **录音 · Recordings.** 在条目行末尾加 `| audio: recordings/p01-02.wav`（已有选项时用
   `; audio: ...`）。单词表行写成 `ruler | 尺子 | audio: recordings/unit1-01.wav`，
   提示音行末尾加 `| audio: FILE`。M4A、MP3、WAV、AAC、AMR、Opus、WebM、Ogg Vorbis、FLAC
   都可以，采样率和声道不限。
   录音会自动去掉开头和结尾的空白、调到统一音量、转成软件要的格式；没改过的录音下次编译时不再转换。
   Add `| audio: recordings/p01-02.wav` at the end of an entry line (`; audio: ...` after
   other options), `| audio: FILE` at the end of a unit word or clip line. M4A (a phone's voice
   memo), MP3, WAV, AAC, AMR, Opus, WebM, Ogg Vorbis and FLAC all do, at any sample rate and
   channel count. Leading and trailing silence is
   trimmed, the loudness levelled and the recording converted to the format the program plays;
   a recording that has not changed is not converted again on the next build.

没有写 `image:` 的页面由程序画出来，没有写 `audio:` 的条目由语音合成朗读。
A page without `image:` is drawn by the tool; an entry without `audio:` is read by the speech
synthesizer.

## 检查会拦下什么 · What the check stops

检查只拦软件真正处理不了的东西，并说明原因，例如：热区要在 800 x 540 的页面里面、不能太小
（孩子点不到）也不能太大、同一页的热区不能重叠（点一下不知道该读哪一条）；文字要能用 GBK
（中文编码）写出来；单元里的英文单词最多 15 个字母和符号（拼单词游戏只有 15 个字母块）；
每页至少一条、每个单元至少一个单词；目录的第一个单元从第一页开始，后面的按页码往后排。
The check stops only what the program cannot handle, and says why: a hotspot inside the
800 x 540 page, neither too small for a child to hit nor too big, not overlapping another (a
press could not tell which to play); texts that GBK, the Chinese code page, can hold; unit
words of at most 15 letters and signs (the spelling game has 15 letter tiles); at least one
entry on every page and one word in every unit; sections in page order, the first on the first
page.

## 检查、做成课本文件、打开 · Check, make the book file, open it

```sh
# 只检查，写预览图 · check only, with preview sheets
qcbook-content --source /path/to/this/folder --check --preview /tmp/preview
# 只做几页试听 · make a few pieces to look at and listen to
qcbook-content --source /path/to/this/folder --only p01,unit1 --out /tmp/pieces
# 做成一个课本文件 · write the whole book as one book file
qcbook-content --source /path/to/this/folder --book-file our-book.qcbook
# 用点读软件打开（在文件管理器里双击也行）· open it (a double click does the same)
qcbook our-book.qcbook
```

第一次打开课本文件时，桌面上会出现以 `shortcut:` 命名的快捷方式，以后双击它就能打开这本书。
The first time a book file is opened, a desktop shortcut named after `shortcut:` appears; it
opens this book next time.

有问题时会停下，并写出 `文件:行号: 哪里不对`，例如缺少的录音、不是图片的文件、没有声音的录音或太长的录音。
Any problem stops the check or the book file with `file:line: what is wrong`: a missing
recording, a file that is not a picture, a silent recording or one that is too long.
The full format is described in `content/FORMAT.md` of the program's source.
)";

}  // namespace

QMap<QString, QByteArray> newBookFiles() {
    QMap<QString, QByteArray> files;
    files.insert(QStringLiteral("book.txt"), kBookFile);
    files.insert(QStringLiteral("pages/p01.txt"), firstPage().toUtf8());
    files.insert(QStringLiteral("pages/p02.txt"), exercisePage().toUtf8());
    files.insert(QStringLiteral("pages/p03.txt"), secondUnitPage().toUtf8());
    files.insert(QStringLiteral("pages/p04.txt"), wordListPage().toUtf8());
    files.insert(QStringLiteral("units/unit1.txt"),
                 unitList(1, QStringLiteral("ruler | 尺子\nbag | 书包\nbook | 书\npencil | 铅笔\n"))
                     .toUtf8());
    files.insert(
        QStringLiteral("units/unit2.txt"),
        unitList(2, QStringLiteral("cat | 猫\ndog | 狗\nbird | 鸟\nfish | 鱼\n")).toUtf8());
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
