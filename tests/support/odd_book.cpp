#include "support/odd_book.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "book/book.h"

namespace testing_support {

namespace {

const char* const kRoles[] = {"praise1",        "praise2",      "praise3",      "retry1",
                              "retry2",         "retry3",       "retry4",       "done",
                              "practice_intro", "findit_intro", "right_answer", "wrong1",
                              "wrong2",         "letter_click", "match_select", "match_pair",
                              "match_mismatch", "match_empty",  "match_music"};

const char* const kWords[30][2] = {
    {"cat", "猫"},     {"dog", "狗"},     {"pig", "猪"},     {"hen", "母鸡"},   {"cow", "奶牛"},
    {"fox", "狐狸"},   {"owl", "猫头鹰"}, {"bee", "蜜蜂"},   {"ant", "蚂蚁"},   {"bat", "蝙蝠"},
    {"duck", "鸭子"},  {"goat", "山羊"},  {"frog", "青蛙"},  {"fish", "鱼"},    {"bird", "鸟"},
    {"lion", "狮子"},  {"bear", "熊"},    {"deer", "鹿"},    {"wolf", "狼"},    {"seal", "海豹"},
    {"crab", "螃蟹"},  {"swan", "天鹅"},  {"mole", "鼹鼠"},  {"mouse", "老鼠"}, {"horse", "马"},
    {"sheep", "绵羊"}, {"tiger", "老虎"}, {"zebra", "斑马"}, {"camel", "骆驼"}, {"panda", "熊猫"},
};

// A 5 ms mono 16-bit PCM clip at 8000 Hz whose first sample is `id`: every clip differs.
QByteArray wavClip(int id) {
    constexpr int kFrames = 40;
    QByteArray wav(44 + 2 * kFrames, '\0');
    char* d = wav.data();
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, d + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, d + at); };
    std::memcpy(d, "RIFF", 4);
    put32(4, quint32(wav.size() - 8));
    std::memcpy(d + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);  // PCM
    put16(22, 1);  // mono
    put32(24, 8000);
    put32(28, 16000);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(d + 36, "data", 4);
    put32(40, 2 * kFrames);
    for (int i = 0; i < kFrames; ++i) put16(44 + 2 * i, quint16(i == 0 ? id : (i % 8) * 500));
    return wav;
}

// A small page picture, JPEG on even screens and PNG on odd ones.
QByteArray pagePicture(int screen) {
    QImage image(160, 108, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((screen * 47) % 360, 60, 250));
    QPainter painter(&image);
    painter.fillRect(QRect(10 + 8 * screen, 20, 30, 30), Qt::darkGreen);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, screen % 2 == 0 ? "JPG" : "PNG");
    return bytes;
}

// Entry i (0-based) of a page of n entries on a grid of five columns.
book::Rect gridRect(int i, int n) {
    const int rows = (n + 4) / 5;
    const int height = std::min(50, 480 / rows - 6);
    return {20 + (i % 5) * 155, 20 + (i / 5) * (height + 6), 140, height};
}

}  // namespace

namespace odd {

QString sectionName(int section) {
    return section == 12 ? QStringLiteral("Words") : QStringLiteral("Lesson %1").arg(section);
}

QString unitName(int unit) {
    return unit == 1 ? QStringLiteral("Starter") : QStringLiteral("Module %1").arg(unit - 1);
}

int entryCount(int screen) {
    switch (screen) {
        case kOneEntryScreen:
            return 1;
        case kFortyEntryScreen:
            return 40;
        case kPlaceholderScreen:
            return 3;
        case kWordListScreen:
            return 0;
        default:
            return 2 + screen % 4;
    }
}

QString englishLine(int screen, int entry) {
    if (screen == kOneEntryScreen) return QStringLiteral("Hello!");
    if (screen == kPlaceholderScreen) return QStringLiteral("$");
    if (screen == kFortyEntryScreen) return QStringLiteral("This is line %1.").arg(entry);
    return QStringLiteral("Page %1 line %2.").arg(kFirstPageNumber + screen).arg(entry);
}

QString chineseLine(int screen, int entry) {
    if (screen == kOneEntryScreen) return QStringLiteral("你好！");
    if (screen == kPlaceholderScreen) return QStringLiteral("$");
    return QStringLiteral("第%1页第%2句。").arg(kFirstPageNumber + screen).arg(entry);
}

}  // namespace odd

OddBook::OddBook(bool onePage) {
    for (const char* role : kRoles) namedClips_.push_back({role, addClip()});
    addUnits(onePage ? 1 : 8);
    fillBoxes_ = {{1, 700, 480, "7"}};
    tickBoxes_ = {{1, 740, 480, 1}};
    for (int screen = 0; screen < (onePage ? 1 : odd::kScreens); ++screen) {
        if (screen == odd::kWordListScreen)
            addWordListPage(screen);
        else
            addPage(screen);
    }
    for (int i = 0; i < (onePage ? 1 : 12); ++i) {
        sections_.push_back(
            {keep(odd::sectionName(i + 1).toUtf8()), i + 1, odd::kSectionFirstScreens[i]});
    }
    const book::Book& builtIn = book::builtInBook();
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
             builtIn.pictures,
             builtIn.pictureCount,
             keep("<p>一本形状不同的课本。</p>"),
             keep("<p><b>问：</b>这是哪本书？</p>"),
             0,
             odd::kTitle,
             odd::kCaption,
             odd::kShortcutName};
}

const char* OddBook::keep(const QByteArray& bytes) {
    bytes_.push_back(bytes);
    return bytes_.back().constData();
}

int OddBook::addClip() {
    const int id = int(clips_.size()) + 1;
    const QByteArray& wav = bytes_.emplace_back(wavClip(id));
    clips_.push_back(
        {reinterpret_cast<const unsigned char*>(wav.constData()), std::size_t(wav.size())});
    return id - 1;
}

void OddBook::addUnits(int count) {
    for (int unit = 1; unit <= count; ++unit) {
        const int n = odd::kUnitWords[unit - 1];
        QByteArray table;
        std::vector<int>& clips = clipLists_.emplace_back();
        for (int j = 0; j < n; ++j) {
            if (j > 0) table += "\r\n";
            table += QByteArray(kWords[j][0]) + "\r\n" + kWords[j][1];
            clips.push_back(addClip());
        }
        units_.push_back({keep(table), clips.data(), n, keep(odd::unitName(unit).toUtf8())});
    }
}

void OddBook::addPage(int screen) {
    const int n = odd::entryCount(screen);
    const int pageNumber = odd::kFirstPageNumber + screen;
    QByteArray table;
    std::vector<int>& clips = clipLists_.emplace_back();
    std::vector<book::HotspotDef>& hotspots = hotspots_.emplace_back();
    for (int j = 1; j <= n; ++j) {
        if (j > 1) table += "\r\n";
        table += (odd::englishLine(screen, j) + "\r\n" + odd::chineseLine(screen, j)).toUtf8();
        clips.push_back(addClip());
        hotspots.push_back({j, gridRect(j - 1, n), -1});
    }
    const bool boxes = screen == odd::kFortyEntryScreen;
    if (boxes) {
        const book::Rect third = hotspots[2].rect;
        listenIcon_ = {keep("图片框听录音奇3"), third.x + 4, third.y + 4};
    }
    const QByteArray picture = pagePicture(screen);
    const char* pictureBytes = keep(picture);
    pages_.push_back(
        {screen,
         pageNumber,
         keep(QStringLiteral("图片框底图奇%1").arg(pageNumber).toUtf8()),
         {reinterpret_cast<const unsigned char*>(pictureBytes), std::size_t(picture.size())},
         160,
         108,
         keep(table),
         clips.data(),
         n,
         hotspots.data(),
         n,
         true,
         12,
         8,
         boxes ? fillBoxes_.data() : nullptr,
         boxes ? int(fillBoxes_.size()) : 0,
         boxes ? tickBoxes_.data() : nullptr,
         boxes ? int(tickBoxes_.size()) : 0,
         boxes ? &listenIcon_ : nullptr,
         false});
}

void OddBook::addWordListPage(int screen) {
    const int pageNumber = odd::kFirstPageNumber + screen;
    std::vector<book::HotspotDef>& hotspots = hotspots_.emplace_back();
    const book::UnitDef& unit2 = units_[1];
    for (int j = 0; j < 6; ++j) hotspots.push_back({j + 1, gridRect(j, 6), unit2.clips[j]});
    const QByteArray picture = pagePicture(screen);
    const char* pictureBytes = keep(picture);
    pages_.push_back(
        {screen,
         pageNumber,
         keep(QStringLiteral("图片框底图奇%1").arg(pageNumber).toUtf8()),
         {reinterpret_cast<const unsigned char*>(pictureBytes), std::size_t(picture.size())},
         160,
         108,
         nullptr,
         nullptr,
         0,
         hotspots.data(),
         int(hotspots.size()),
         false,
         0,
         0,
         nullptr,
         0,
         nullptr,
         0,
         nullptr,
         true});
}

BookInUse::BookInUse(const book::Book& book) {
    book::useBook(&book);
}

BookInUse::~BookInUse() {
    book::useBook(nullptr);
}

}  // namespace testing_support
