#include "window/shapedpicture.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picture drawn in letters: K is the key colour unless the palette says otherwise.
QImage picture(const QStringList &rows, const QHash<QChar, QRgb> &palette)
{
    const int width = rows.isEmpty() ? 0 : int(rows.first().size());
    QImage image(width, int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, palette.value(rows[y][x]));
    }
    return image;
}

// The pixels marked '#' in a map of the picture.
QRegion opaque(const QStringList &rows)
{
    QRegion region;
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            if (rows[y][x] == QLatin1Char('#'))
                region += QRect(x, y, 1, 1);
        }
    }
    return region;
}

// The region as the shape's outline is first described: one-column runs of opaque pixels, column by
// column, united one at a time. Slow and plain, so it serves as the reference for the fast builder.
QRegion columnRunsRegion(const QImage &image, bool tolerant)
{
    QRegion region;
    const QRgb key = image.pixel(0, 0);
    const auto isKey = [&](QRgb p) {
        if (!tolerant)
            return (p & 0xffffff) == (key & 0xffffff);
        return qAbs(qRed(p) - qRed(key)) <= 9 && qAbs(qGreen(p) - qGreen(key)) <= 9 && qAbs(qBlue(p) - qBlue(key)) <= 9;
    };
    for (int x = 0; x < image.width(); ++x) {
        int start = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (isKey(image.pixel(x, y))) {
                if (start >= 0)
                    region += QRect(x, start, 1, y - start);
                start = -1;
            } else {
                if (start < 0)
                    start = y;
                if (y == image.height() - 1)
                    region += QRect(x, start, 1, image.height() - start);
            }
        }
    }
    return region;
}

// Two regions cover exactly the same pixels, however each is cut into rectangles.
bool samePixels(const QRegion &a, const QRegion &b)
{
    return a.xored(b).isEmpty();
}

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGrey = qRgb(100, 100, 100);

} // namespace

class TestShapedPicture : public QObject
{
    Q_OBJECT

private slots:
    void regionIsTheSetOfOpaquePixels_data();
    void regionIsTheSetOfOpaquePixels();
    void regionMatchesColumnRunsOnNoisyPictures_data();
    void regionMatchesColumnRunsOnNoisyPictures();
    void pictureShapesItsWindow_data();
    void pictureShapesItsWindow();
    void pictureWithoutOpaquePixelsHidesTheWholeWindow_data();
    void pictureWithoutOpaquePixelsHidesTheWholeWindow();
    void doubleSizePictureOnSharperScreens_data();
    void doubleSizePictureOnSharperScreens();
};

void TestShapedPicture::regionIsTheSetOfOpaquePixels_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("tolerant");
    QTest::addColumn<QStringList>("expected");

    const QHash<QChar, QRgb> blackKey{{'K', kBlack}, {'W', kWhite}, {'n', qRgb(1, 1, 1)}, {'r', qRgb(9, 0, 0)}};
    QTest::newRow("key only at (0,0)") << picture({"KWWW", "WWWW", "WWWW"}, blackKey) << false
                                       << QStringList{".###", "####", "####"};
    QTest::newRow("near-black stays when exact")
        << picture({"KnrK", "KKnK", "rKKK"}, blackKey) << false << QStringList{".##.", "..#.", "#..."};
    QTest::newRow("key pixels inside the outline are holes")
        << picture({"KKKKK", "KWWWK", "KWKWK", "KWWWK", "KKKKK"}, blackKey) << false
        << QStringList{".....", ".###.", ".#.#.", ".###.", "....."};
    QTest::newRow("height 1") << picture({"KWKWWK"}, blackKey) << false << QStringList{".#.##."};
    QTest::newRow("width 1") << picture({"K", "W", "K", "W"}, blackKey) << false << QStringList{".", "#", ".", "#"};
    QTest::newRow("run down to the last row")
        << picture({"KK", "KW", "WW"}, blackKey) << false << QStringList{"..", ".#", "##"};
    QTest::newRow("empty picture") << QImage() << false << QStringList{};
    QTest::newRow("only the key colour") << picture({"KKK", "KKK"}, blackKey) << false << QStringList{"...", "..."};
    QTest::newRow("24 bits per pixel") << picture({"KWK", "WKW"}, blackKey).convertToFormat(QImage::Format_RGB888)
                                       << false << QStringList{".#.", "#.#"};

    // Grey key: within 9 in every channel is key, 10 in any one channel is opaque.
    const QHash<QChar, QRgb> greyKey{{'K', kGrey},
                                     {'a', qRgb(109, 91, 100)},
                                     {'b', qRgb(91, 109, 109)},
                                     {'c', qRgb(110, 100, 100)},
                                     {'d', qRgb(100, 100, 90)},
                                     {'e', qRgb(100, 110, 100)}};
    const QImage tolerance = picture({"Kabcde"}, greyKey);
    QTest::newRow("tolerant: 9 is key, 10 is opaque") << tolerance << true << QStringList{"...###"};
    QTest::newRow("exact: only the key itself") << tolerance << false << QStringList{".#####"};
}

void TestShapedPicture::regionIsTheSetOfOpaquePixels()
{
    QFETCH(QImage, image);
    QFETCH(bool, tolerant);
    QFETCH(QStringList, expected);

    const QRegion region = regionFromPicture(image, tolerant);

    QVERIFY2(samePixels(region, opaque(expected)), "the region differs from the opaque pixels");
    for (int y = 0; y < expected.size(); ++y) {
        for (int x = 0; x < expected[y].size(); ++x)
            QCOMPARE(region.contains(QPoint(x, y)), expected[y][x] == QLatin1Char('#'));
    }
}

// Pictures of a few colours in random patches, so that rows repeat, differ, and merge into bands in
// every way; the fast builder must cover the same pixels as the plain column-run reference.
void TestShapedPicture::regionMatchesColumnRunsOnNoisyPictures_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("tolerant");
    for (quint32 seed : {1u, 7u, 42u}) {
        QTest::addRow("seed %u", seed) << seed << false;
        QTest::addRow("seed %u, tolerant", seed) << seed << true;
    }
}

void TestShapedPicture::regionMatchesColumnRunsOnNoisyPictures()
{
    QFETCH(quint32, seed);
    QFETCH(bool, tolerant);

    QRandomGenerator random(seed);
    const QRgb colours[] = {kGrey, qRgb(105, 95, 100), qRgb(110, 100, 100), kWhite};
    QImage image(61, 47, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            // Mostly copies of the row above, so that bands form, with noise in between.
            const bool copy = y > 0 && random.bounded(4) != 0;
            image.setPixel(x, y, copy ? image.pixel(x, y - 1) : colours[random.bounded(4)]);
        }
    }
    image.setPixel(0, 0, kGrey);

    QVERIFY(samePixels(regionFromPicture(image, tolerant), columnRunsRegion(image, tolerant)));
}

void TestShapedPicture::pictureShapesItsWindow_data()
{
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("before the window shows") << false;
    QTest::newRow("on a window already shown") << true; // taking the frame away hides it
}

void TestShapedPicture::pictureShapesItsWindow()
{
    QFETCH(bool, shownFirst);

    const QImage image = picture({"KWWK", "WWWW", "KWKW"}, {{'K', kBlack}, {'W', kWhite}});
    QWidget window;
    window.resize(200, 100);
    auto *control = new QWidget(&window); // made before the picture, still above it
    control->setGeometry(1, 1, 2, 1);
    if (shownFirst)
        window.show();

    auto *shape = new ShapedPicture(image, &window);

    QCOMPARE(shape->geometry(), QRect(0, 0, 4, 3));
    QCOMPARE(window.size(), QSize(4, 3));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(samePixels(window.mask(), opaque({".##.", "####", ".#.#"})));
    QCOMPARE(window.childAt(1, 1), control);
    QCOMPARE(window.childAt(1, 2), shape);
    QCOMPARE(window.isVisible(), shownFirst);
}

void TestShapedPicture::pictureWithoutOpaquePixelsHidesTheWholeWindow_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("empty picture") << QImage() << QSize(0, 0);
    QTest::newRow("only the key colour") << picture({"KKK", "KKK"}, {{'K', kWhite}}) << QSize(3, 2);
}

// Qt takes an empty mask for "no mask": the window must still show none of its pixels.
void TestShapedPicture::pictureWithoutOpaquePixelsHidesTheWholeWindow()
{
    QFETCH(QImage, image);
    QFETCH(QSize, windowSize);

    QWidget window;
    window.resize(50, 50);
    new ShapedPicture(image, &window);

    QCOMPARE(window.size(), windowSize);
    QVERIFY(!window.mask().isEmpty());
    QVERIFY(window.mask().intersected(QRect(QPoint(0, 0), QSize(50, 50))).isEmpty());
}

void TestShapedPicture::doubleSizePictureOnSharperScreens_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("doubleSizeBeside");
    QTest::addColumn<bool>("sharp"); // whether the double-size picture is shown
    QTest::newRow("ratio 1") << qreal(1) << true << false;
    QTest::newRow("ratio 2") << qreal(2) << true << true;
    QTest::newRow("ratio 1.5") << qreal(1.5) << true << true;
    QTest::newRow("ratio 2, no double size") << qreal(2) << false << false;
}

// The window keeps the shape of the picture itself; on a sharper screen it shows the double-size picture,
// each of its pixels as drawn, where there is one.
void TestShapedPicture::doubleSizePictureOnSharperScreens()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, doubleSizeBeside);
    QFETCH(bool, sharp);

    const QStringList rows{"KWWK", "WWWW", "KWKW"};
    const QImage single = picture(rows, {{'K', kBlack}, {'W', kWhite}});
    QImage twice(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x)
            twice.setPixel(x, y, single.pixel(x / 2, y / 2) == kBlack ? kBlack : qRgb(30 * x, 40 * y, 200));
    }
    QTemporaryDir folder;
    QVERIFY(single.save(folder.filePath(QStringLiteral("picture.png"))));
    if (doubleSizeBeside)
        QVERIFY(twice.save(folder.filePath(QStringLiteral("picture@2x.png"))));
    QWidget window;
    auto *shape = new ShapedPicture(folder.filePath(QStringLiteral("picture.png")), &window);

    QCOMPARE(window.size(), QSize(4, 3));
    QVERIFY(samePixels(window.mask(), opaque({".##.", "####", ".#.#"})));
    QCOMPARE(shape->picture(), single);

    QImage shown(qCeil(4 * ratio), qCeil(3 * ratio), QImage::Format_RGB32);
    shown.setDevicePixelRatio(ratio);
    shown.fill(Qt::black);
    shape->render(&shown);
    // The picture itself is black and white only: any colour comes from the double-size picture.
    bool coloured = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            coloured = coloured || qRed(shown.pixel(x, y)) != qBlue(shown.pixel(x, y));
    }
    QCOMPARE(coloured, sharp);
    shown.setDevicePixelRatio(1);
    if (ratio == 2 && sharp) // drawn pixel for pixel, not scaled
        QCOMPARE(shown.copy(2, 0, 4, 6), twice.copy(2, 0, 4, 6));
}

QTEST_MAIN(TestShapedPicture)
#include "tst_shapedpicture.moc"
