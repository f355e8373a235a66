// Window pictures: every picture of pictures.txt renders and decodes at its size, the calm
// areas the windows write on stay calm, and the GIF writer's output decodes back exactly.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QMovie>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <vector>

#include "pictures/art/window_art.h"

namespace {

QList<art::PictureSpec> readPictureList() {
    QFile file(QStringLiteral(QCBOOK_CONTENT_DIR "/pictures.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)$"));
    QList<art::PictureSpec> specs;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QStringList f = line.split(QLatin1Char('|'));
        for (QString& field : f) field = field.trimmed();
        const auto match = size.match(f.value(1));
        if (f.size() != 5 || !match.hasMatch()) {
            ADD_FAILURE() << "malformed line: " << line.toStdString();
            continue;
        }
        specs.append(
            {f[0], QSize(match.captured(1).toInt(), match.captured(2).toInt()), f[2], f[3], f[4]});
    }
    return specs;
}

const QList<art::PictureSpec>& pictureList() {
    static const QList<art::PictureSpec> list = readPictureList();
    return list;
}

art::PictureSpec picture(const QString& name) {
    for (const art::PictureSpec& spec : pictureList()) {
        if (spec.name == name) return spec;
    }
    ADD_FAILURE() << "no picture named " << name.toStdString();
    return {};
}

QImage decode(const QByteArray& bytes) {
    QImage image;
    image.loadFromData(bytes);
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage renderImage(const QString& name) {
    QString error;
    const QByteArray bytes = art::renderWindowPicture(picture(name), &error);
    EXPECT_FALSE(bytes.isEmpty()) << name.toStdString() << ": " << error.toStdString();
    return decode(bytes);
}

int lightness(QRgb pixel) {
    return QColor(pixel).lightness();
}

// Largest difference of any channel from the area's mean colour.
struct AreaStats {
    int darkest = 255;
    int spread = 0;
};

AreaStats areaStats(const QImage& image, const QRect& area) {
    AreaStats stats;
    double sum[3] = {0, 0, 0};
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel), sum[1] += qGreen(pixel), sum[2] += qBlue(pixel);
            ++count;
            stats.darkest = std::min(stats.darkest, lightness(pixel));
        }
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int channels[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
            for (int c = 0; c < 3; ++c) {
                const int diff = int(std::lround(std::abs(channels[c] - sum[c] / count)));
                stats.spread = std::max(stats.spread, diff);
            }
        }
    }
    return stats;
}

bool isPureWhite(QRgb pixel) {
    return (pixel & 0xffffff) == 0xffffff;
}

// ---------------------------------------------------------------------------------------------

TEST(WindowPictureList, HoldsEveryPictureTheProgramLooksUp) {
    const QMap<QString, QSize> expected = {
        {"start_background", {803, 605}},  {"cover", {1092, 1512}},
        {"start_button", {100, 40}},       {"loading", {32, 32}},
        {"dictation_screen", {800, 560}},  {"dict_start", {60, 40}},
        {"dict_replay", {100, 40}},        {"dict_next", {100, 40}},
        {"dict_confirm", {60, 40}},        {"button_104x40", {104, 40}},
        {"button_100x40", {100, 40}},      {"button_72x32", {72, 32}},
        {"button_60x40", {60, 40}},        {"button_40x40", {40, 40}},
        {"fillin_background", {800, 600}}, {"order_background", {800, 600}},
        {"spell_background", {800, 600}},  {"match_background", {800, 600}},
        {"finder_background", {800, 600}}, {"flower", {96, 124}},
        {"tile_english", {80, 70}},        {"tile_chinese", {80, 70}},
        {"mark_right", {20, 20}},          {"mark_wrong", {20, 20}},
        {"listen_icon", {20, 20}}};
    QMap<QString, int> seen;
    for (const art::PictureSpec& spec : pictureList()) ++seen[spec.name];
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        EXPECT_EQ(seen.value(it.key()), 1) << it.key().toStdString();
        EXPECT_EQ(picture(it.key()).size, it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(picture("loading").format, "gif");
    EXPECT_EQ(picture("flower").format, "png");
}

TEST(WindowPictureList, EveryPictureRendersAndDecodesAtItsSize) {
    ASSERT_FALSE(pictureList().isEmpty());
    const QMap<QString, QByteArray> readerFormat = {
        {"jpg", "jpeg"}, {"png", "png"}, {"gif", "gif"}};
    for (const art::PictureSpec& spec : pictureList()) {
        SCOPED_TRACE(spec.name.toStdString());
        QString error;
        QByteArray bytes = art::renderWindowPicture(spec, &error);
        ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        EXPECT_EQ(reader.format(), readerFormat.value(spec.format));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), spec.size);
    }
}

TEST(WindowPictureList, RenderingTwiceGivesTheSameBytes) {
    // Build outputs must not change from one build to the next.
    for (const char* name : {"start_background", "spell_background", "loading"}) {
        QString error;
        EXPECT_EQ(art::renderWindowPicture(picture(name), &error),
                  art::renderWindowPicture(picture(name), &error))
            << name;
    }
}

// ---------------------------------------------------------------------------------------------

TEST(WindowPictureErrors, RejectsUnknownPainterFormatAndSize) {
    QString error;
    EXPECT_TRUE(
        art::renderWindowPicture({"x", {40, 40}, "no_such_painter", "", "jpg"}, &error).isEmpty());
    EXPECT_TRUE(error.contains("no_such_painter")) << error.toStdString();

    error.clear();
    EXPECT_TRUE(art::renderWindowPicture({"x", {40, 40}, "tick", "", "bmp"}, &error).isEmpty());
    EXPECT_TRUE(error.contains("bmp")) << error.toStdString();

    for (const QSize size : {QSize(0, 20), QSize(20, -1), QSize(100000, 20)}) {
        error.clear();
        EXPECT_TRUE(art::renderWindowPicture({"x", size, "tick", "", "jpg"}, &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }

    error.clear();
    EXPECT_TRUE(art::renderWindowPicture({"x", {32, 32}, "spinner", "", "jpg"}, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());

    // A missing error slot is allowed.
    EXPECT_TRUE(art::renderWindowPicture({"x", {40, 40}, "nope", "", "jpg"}, nullptr).isEmpty());
}

TEST(WindowPictureErrors, FixedLayoutPaintersScaleToOtherSizes) {
    QString error;
    const QByteArray bytes =
        art::renderWindowPicture({"small", {200, 150}, "playground", "", "png"}, &error);
    ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();
    const QImage image = decode(bytes);
    EXPECT_EQ(image.size(), QSize(200, 150));
    // The board still sits in the middle, a quarter of the design size.
    EXPECT_LT(areaStats(image, QRect(30, 30, 140, 85)).spread, 12);
}

// ---------------------------------------------------------------------------------------------

TEST(WindowPictureLoading, IsAnEightFrameLoopingSpinner) {
    QString error;
    QByteArray bytes = art::renderWindowPicture(picture("loading"), &error);
    ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();

    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "gif");
    EXPECT_EQ(reader.imageCount(), 8);
    EXPECT_EQ(reader.loopCount(), -1);  // -1: forever
    QList<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read()) {
        EXPECT_EQ(frame.size(), QSize(32, 32));
        EXPECT_NEAR(reader.nextImageDelay(), 100, 20);
        frames.append(frame.convertToFormat(QImage::Format_ARGB32));
    }
    ASSERT_EQ(frames.size(), 8);
    for (int i = 1; i < frames.size(); ++i) EXPECT_NE(frames[i], frames[i - 1]) << i;
    // The background is transparent; the dots are not.
    EXPECT_EQ(qAlpha(frames[0].pixel(16, 16)), 0);
    EXPECT_EQ(qAlpha(frames[0].pixel(0, 0)), 0);

    QBuffer movieBuffer(&bytes);
    QMovie movie(&movieBuffer, "gif");
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 8);
    EXPECT_EQ(movie.loopCount(), -1);
}

// ---------------------------------------------------------------------------------------------

TEST(WindowPictureSmallPieces, MarksAreGreenTickAndRedCrossOnWhite) {
    const QImage tick = renderImage("mark_right");
    const QImage cross = renderImage("mark_wrong");
    ASSERT_EQ(tick.size(), QSize(20, 20));
    ASSERT_EQ(cross.size(), QSize(20, 20));
    auto count = [](const QImage& image, auto predicate) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) n += predicate(QColor(image.pixel(x, y)));
        }
        return n;
    };
    auto green = [](const QColor& c) { return c.green() > c.red() + 60 && c.green() > 120; };
    auto red = [](const QColor& c) { return c.red() > c.green() + 80 && c.red() > 150; };
    EXPECT_GT(count(tick, green), 30);
    EXPECT_EQ(count(tick, red), 0);
    EXPECT_GT(count(cross, red), 30);
    EXPECT_EQ(count(cross, green), 0);
    EXPECT_GT(lightness(tick.pixel(1, 18)), 245);
    EXPECT_GT(lightness(cross.pixel(10, 1)), 245);
    EXPECT_TRUE(red(QColor(cross.pixel(10, 10))));  // the cross meets in the middle
}

TEST(WindowPictureSmallPieces, FlowerHasWhiteOnlyAroundIt) {
    const QImage flower = renderImage("flower");
    ASSERT_EQ(flower.size(), QSize(96, 124));
    for (const QPoint corner : {QPoint(0, 0), QPoint(95, 0), QPoint(0, 123), QPoint(95, 123)}) {
        EXPECT_TRUE(isPureWhite(flower.pixel(corner)));
    }
    // Pure white is see-through, so no pixel enclosed by the flower may be pure white:
    // fill the outside from the border and every white pixel must be reached.
    const int w = flower.width(), h = flower.height();
    std::vector<bool> outside(size_t(w * h), false);
    QList<QPoint> todo;
    for (int x = 0; x < w; ++x) todo << QPoint(x, 0) << QPoint(x, h - 1);
    for (int y = 0; y < h; ++y) todo << QPoint(0, y) << QPoint(w - 1, y);
    while (!todo.isEmpty()) {
        const QPoint at = todo.takeLast();
        if (!flower.rect().contains(at) || outside[size_t(at.y() * w + at.x())]) continue;
        if (!isPureWhite(flower.pixel(at))) continue;
        outside[size_t(at.y() * w + at.x())] = true;
        todo << at + QPoint(1, 0) << at - QPoint(1, 0) << at + QPoint(0, 1) << at - QPoint(0, 1);
    }
    int enclosedWhite = 0, flowerPixels = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool white = isPureWhite(flower.pixel(x, y));
            flowerPixels += !white;
            enclosedWhite += white && !outside[size_t(y * w + x)];
        }
    }
    EXPECT_EQ(enclosedWhite, 0);
    EXPECT_GT(flowerPixels, 96 * 124 / 5);
}

TEST(WindowPictureSmallPieces, TilesAreCardsWithAPlainMiddle) {
    const QImage english = renderImage("tile_english");
    const QImage chinese = renderImage("tile_chinese");
    for (const QImage& tile : {english, chinese}) {
        ASSERT_EQ(tile.size(), QSize(80, 70));
        // The corners are white, the transparent colour (up to JPEG's small colour bleed).
        for (const QPoint corner : {QPoint(0, 0), QPoint(79, 0), QPoint(0, 69), QPoint(79, 69)}) {
            EXPECT_GT(lightness(tile.pixel(corner)), 235);
        }
        const AreaStats middle = areaStats(tile, QRect(14, 16, 52, 38));
        EXPECT_LT(middle.spread, 10);
        EXPECT_GT(middle.darkest, 180);  // light enough for dark text
    }
    const QColor blue(english.pixel(40, 35)), orange(chinese.pixel(40, 35));
    EXPECT_GT(blue.blue(), blue.red() + 20);
    EXPECT_GT(orange.red(), orange.blue() + 20);
}

TEST(WindowPictureSmallPieces, PlainButtonsCarryNoText) {
    // A face without a caption is smooth along each row just below its middle (under the gloss).
    auto roughestRow = [](const QImage& face) {
        int roughest = 0;
        for (int y = face.height() / 2 + 1; y <= face.height() / 2 + 5; ++y) {
            roughest =
                std::max(roughest, areaStats(face, QRect(8, y, face.width() - 16, 1)).spread);
        }
        return roughest;
    };
    for (const char* name :
         {"button_104x40", "button_100x40", "button_72x32", "button_60x40", "button_40x40"}) {
        EXPECT_LT(roughestRow(renderImage(name)), 16) << name;
    }
    for (const char* name :
         {"start_button", "dict_start", "dict_replay", "dict_next", "dict_confirm"}) {
        EXPECT_GT(roughestRow(renderImage(name)), 60) << name;  // the caption is there
    }
}

TEST(WindowPictureSmallPieces, CaptionsComeFromTheTextAndFitTheButton) {
    QString error;
    const art::PictureSpec replay = picture("dict_replay");
    art::PictureSpec other = replay;
    other.text = "Go";
    EXPECT_NE(art::renderWindowPicture(replay, &error), art::renderWindowPicture(other, &error));

    // A caption too long for the face is made smaller instead of running over the edges.
    art::PictureSpec crowded = picture("dict_start");
    crowded.text = "再听一遍再听一遍";
    const QImage face = decode(art::renderWindowPicture(crowded, &error));
    ASSERT_EQ(face.size(), QSize(60, 40));
    int whiteAtEdges = 0;
    for (int y = 8; y < 32; ++y) {
        for (const int x : {4, 5, 6, 53, 54, 55}) whiteAtEdges += lightness(face.pixel(x, y)) > 245;
    }
    EXPECT_EQ(whiteAtEdges, 0);
}

// ---------------------------------------------------------------------------------------------
// The areas the windows write on or place controls over must stay calm.

struct CalmArea {
    const char* picture;
    QRect area;
    int maxSpread;
};

TEST(WindowPictureLayout, ControlAreasAreCalmAndLight) {
    const QList<CalmArea> areas = {
        {"match_background", QRect(89, 80, 632, 414), 16},    // the tile board
        {"start_background", QRect(432, 124, 328, 142), 16},  // text panels
        {"start_background", QRect(432, 345, 328, 200), 16},
        {"dictation_screen", QRect(198, 145, 478, 48), 24},  // red status line
        {"dictation_screen", QRect(196, 197, 312, 48), 24},  // typing box
        {"dictation_screen", QRect(195, 261, 391, 48), 24},  // meaning
        {"fillin_background", QRect(190, 154, 464, 36), 14},
        {"fillin_background", QRect(188, 354, 378, 36), 14},
        {"order_background", QRect(32, 244, 736, 49), 14},
        {"spell_background", QRect(112, 117, 516, 56), 14},
        {"spell_background", QRect(104, 285, 528, 64), 14},
        {"finder_background", QRect(376, 90, 168, 154), 14},  // answer fields
        {"finder_background", QRect(596, 296, 168, 148), 14},
    };
    QMap<QString, QImage> rendered;
    for (const CalmArea& calm : areas) {
        if (!rendered.contains(calm.picture)) rendered[calm.picture] = renderImage(calm.picture);
        const AreaStats stats = areaStats(rendered[calm.picture], calm.area);
        EXPECT_LE(stats.spread, calm.maxSpread) << calm.picture;
        EXPECT_GT(stats.darkest, 190) << calm.picture;
    }
}

TEST(WindowPictureLayout, FinderLabelStripIsDarkForWhiteText) {
    const QImage finder = renderImage("finder_background");
    int brightest = 0;
    for (int y = 530; y < 560; ++y) {
        for (int x = 168; x < 330; ++x)
            brightest = std::max(brightest, lightness(finder.pixel(x, y)));
    }
    EXPECT_LT(brightest, 130);
}

// ---------------------------------------------------------------------------------------------
// The GIF writer on its own

QList<QImage> readGifFrames(QByteArray bytes, int* loopCount = nullptr) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "gif");
    QList<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read()) {
        frames.append(frame.convertToFormat(QImage::Format_ARGB32));
    }
    if (loopCount) *loopCount = reader.loopCount();
    return frames;
}

QImage noiseImage(QSize size, int colours, quint32 seed) {
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            const int index = int((seed >> 16) % quint32(colours));
            image.setPixel(x, y, qRgb(index * 37 % 256, index * 91 % 256, index * 13 % 256));
        }
    }
    return image;
}

TEST(GifWriter, FewColoursRoundTripExactly) {
    // Noise with 200 colours fills the code table many times over, so the code width grows to
    // 12 bits and the table restarts; any slip there shows as wrong pixels.
    const QList<QImage> frames = {noiseImage({257, 131}, 200, 1), noiseImage({257, 131}, 200, 2)};
    int loops = 0;
    const QList<QImage> decoded = readGifFrames(art::writeAnimatedGif(frames, 50), &loops);
    ASSERT_EQ(decoded.size(), 2);
    EXPECT_EQ(decoded[0], frames[0]);
    EXPECT_EQ(decoded[1], frames[1]);
    EXPECT_EQ(loops, -1);
}

TEST(GifWriter, SmallPalettesAndTinyImagesRoundTrip) {
    for (const int colours : {1, 2, 3, 5, 17, 256}) {
        SCOPED_TRACE(colours);
        const QImage image = noiseImage({40, 9}, colours, 7);
        const QList<QImage> decoded = readGifFrames(art::writeAnimatedGif({image}, 100));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded[0], image);
    }
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(qRgb(10, 200, 30));
    const QList<QImage> decoded = readGifFrames(art::writeAnimatedGif({dot}, 100));
    ASSERT_EQ(decoded.size(), 1);
    EXPECT_EQ(decoded[0].pixel(0, 0), qRgb(10, 200, 30));
}

TEST(GifWriter, ManyColoursAreReducedToANearPalette) {
    QImage gradient(256, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) gradient.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    }
    const QList<QImage> decoded = readGifFrames(art::writeAnimatedGif({gradient}, 100));
    ASSERT_EQ(decoded.size(), 1);
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = gradient.pixel(x, y), b = decoded[0].pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    EXPECT_LT(worst, 40);
}

TEST(GifWriter, TransparentPixelsStayTransparentAcrossFrames) {
    QImage first(10, 10, QImage::Format_ARGB32);
    first.fill(Qt::transparent);
    first.setPixel(2, 2, qRgb(255, 0, 0));
    QImage second(10, 10, QImage::Format_ARGB32);
    second.fill(Qt::transparent);
    second.setPixel(7, 7, qRgb(0, 0, 255));
    const QList<QImage> decoded = readGifFrames(art::writeAnimatedGif({first, second}, 100));
    ASSERT_EQ(decoded.size(), 2);
    EXPECT_EQ(decoded[0].pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(decoded[0].pixel(7, 7)), 0);
    EXPECT_EQ(decoded[1].pixel(7, 7), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(decoded[1].pixel(2, 2)), 0);  // the first frame's dot is gone
}

TEST(GifWriter, WritesTheHeaderDelayAndRejectsNoFrames) {
    EXPECT_TRUE(art::writeAnimatedGif({}, 100).isEmpty());
    EXPECT_TRUE(art::writeAnimatedGif({QImage()}, 100).isEmpty());

    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes = art::writeAnimatedGif({image, image}, 230);
    EXPECT_TRUE(bytes.startsWith("GIF89a"));
    EXPECT_TRUE(bytes.endsWith(";"));
    EXPECT_TRUE(bytes.contains("NETSCAPE2.0\x03\x01"));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "gif");
    EXPECT_EQ(reader.size(), QSize(3, 2));
    reader.read();
    EXPECT_EQ(reader.nextImageDelay(), 230);

    // The delay is stored in hundredths of a second; out-of-range delays are clamped.
    auto storedDelay = [&image](int delayMs) {
        const QByteArray gif = art::writeAnimatedGif({image}, delayMs);
        const int block = int(gif.indexOf("\x21\xf9\x04"));
        if (block < 0) return -1;
        return quint8(gif[block + 4]) | (quint8(gif[block + 5]) << 8);
    };
    EXPECT_EQ(storedDelay(100), 10);
    EXPECT_EQ(storedDelay(104), 10);
    EXPECT_EQ(storedDelay(-5), 0);
    EXPECT_EQ(storedDelay(1 << 30), 65535);
}

}  // namespace

TEST(WindowPictureList, RoundedButtonsArePngsWithSeeThroughCorners) {
    for (const char* name :
         {"start_button", "dict_start", "dict_replay", "dict_next", "dict_confirm", "button_104x40",
          "button_100x40", "button_72x32", "button_60x40", "button_40x40"}) {
        SCOPED_TRACE(name);
        const art::PictureSpec spec = picture(QString::fromLatin1(name));
        EXPECT_EQ(spec.format, "png");
        QString error;
        const QImage face = decode(art::renderWindowPicture(spec, &error));
        ASSERT_FALSE(face.isNull()) << error.toStdString();
        ASSERT_TRUE(face.hasAlphaChannel());
        const int right = face.width() - 1;
        const int bottom = face.height() - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
            EXPECT_EQ(qAlpha(face.pixel(corner)), 0) << corner.x() << "," << corner.y();
        }
        EXPECT_EQ(qAlpha(face.pixel(face.width() / 2, face.height() / 2)), 255);
        EXPECT_EQ(qAlpha(face.pixel(face.width() / 2, 1)), 255) << "the edge is drawn";
    }
    // As a JPEG the same face keeps a paper-coloured backdrop in its corners, never black.
    art::PictureSpec jpeg = picture(QStringLiteral("button_60x40"));
    jpeg.format = QStringLiteral("jpg");
    const QImage flat = decode(art::renderWindowPicture(jpeg, nullptr));
    ASSERT_FALSE(flat.isNull());
    EXPECT_GT(QColor(flat.pixel(0, 0)).lightness(), 235);
}
