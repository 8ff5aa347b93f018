#include "window/bmpshape.h"

#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSignalSpy>
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
QRegion columnRunsRegion(const QImage &image, bool dither)
{
    QRegion region;
    const QRgb key = image.pixel(0, 0);
    const auto isKey = [&](QRgb p) {
        if (!dither)
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

class TestBmpShape : public QObject
{
    Q_OBJECT

private slots:
    void buildRegionIsTheSetOfOpaquePixels_data();
    void buildRegionIsTheSetOfOpaquePixels();
    void buildRegionMatchesColumnRunsOnNoisyPictures_data();
    void buildRegionMatchesColumnRunsOnNoisyPictures();
    void shapeFormFitsTheWindowToThePicture();
    void shapeFormLeavesAControlOffATopLevelWindowAlone();
    void ditherChangesNothingUntilTheNextShapeForm();
    void pictureWithoutOpaquePixelsHidesTheWholeWindow_data();
    void pictureWithoutOpaquePixelsHidesTheWholeWindow();
    void mouseMovementCarriesTheShiftState();
    void shiftStateFlags_data();
    void shiftStateFlags();
};

void TestBmpShape::buildRegionIsTheSetOfOpaquePixels_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<QStringList>("expected");

    const QHash<QChar, QRgb> blackKey{{'K', kBlack}, {'W', kWhite}, {'n', qRgb(1, 1, 1)}, {'r', qRgb(9, 0, 0)}};
    QTest::newRow("key only at (0,0)") << picture({"KWWW", "WWWW", "WWWW"}, blackKey) << false
                                       << QStringList{".###", "####", "####"};
    QTest::newRow("near-black stays with Dither false")
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

    // Grey key: within 9 in every channel is key, 10 in any one channel is opaque.
    const QHash<QChar, QRgb> greyKey{{'K', kGrey},
                                     {'a', qRgb(109, 91, 100)},
                                     {'b', qRgb(91, 109, 109)},
                                     {'c', qRgb(110, 100, 100)},
                                     {'d', qRgb(100, 100, 90)},
                                     {'e', qRgb(100, 110, 100)}};
    const QImage tolerance = picture({"Kabcde"}, greyKey);
    QTest::newRow("Dither: 9 is key, 10 is opaque") << tolerance << true << QStringList{"...###"};
    QTest::newRow("no Dither: only the exact key") << tolerance << false << QStringList{".#####"};
}

void TestBmpShape::buildRegionIsTheSetOfOpaquePixels()
{
    QFETCH(QImage, image);
    QFETCH(bool, dither);
    QFETCH(QStringList, expected);

    TBmpShape shape(image);
    shape.setDither(dither);
    const QRegion region = shape.BuildRegion();

    QVERIFY2(samePixels(region, opaque(expected)), "the region differs from the opaque pixels");
    for (int y = 0; y < expected.size(); ++y) {
        for (int x = 0; x < expected[y].size(); ++x)
            QCOMPARE(region.contains(QPoint(x, y)), expected[y][x] == QLatin1Char('#'));
    }
}

// Pictures of a few colours in random patches, so that rows repeat, differ, and merge into bands in
// every way; the fast builder must cover the same pixels as the plain column-run reference.
void TestBmpShape::buildRegionMatchesColumnRunsOnNoisyPictures_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("dither");
    for (quint32 seed : {1u, 7u, 42u}) {
        QTest::addRow("seed %u", seed) << seed << false;
        QTest::addRow("seed %u, Dither", seed) << seed << true;
    }
}

void TestBmpShape::buildRegionMatchesColumnRunsOnNoisyPictures()
{
    QFETCH(quint32, seed);
    QFETCH(bool, dither);

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

    TBmpShape shape(image);
    shape.setDither(dither);
    QVERIFY(samePixels(shape.BuildRegion(), columnRunsRegion(image, dither)));
}

void TestBmpShape::shapeFormFitsTheWindowToThePicture()
{
    const QImage image = picture({"KWWK", "WWWW", "KWKW"}, {{'K', kBlack}, {'W', kWhite}});
    QWidget window;
    window.resize(200, 100);
    auto *shape = new TBmpShape(image, &window);
    shape->setGeometry(5, 7, 50, 50);

    shape->ShapeForm();

    QCOMPARE(shape->geometry(), QRect(0, 0, 4, 3));
    QCOMPARE(window.size(), QSize(4, 3));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(samePixels(window.mask(), opaque({".##.", "####", ".#.#"})));
}

void TestBmpShape::shapeFormLeavesAControlOffATopLevelWindowAlone()
{
    const QImage image = picture({"KW", "WW"}, {{'K', kBlack}, {'W', kWhite}});
    QWidget window;
    window.resize(200, 100);
    auto *panel = new QWidget(&window);
    panel->setGeometry(10, 10, 100, 50);
    auto *shape = new TBmpShape(image, panel);
    shape->move(3, 4);
    TBmpShape orphan(image);

    shape->ShapeForm();
    orphan.ShapeForm();

    QCOMPARE(shape->pos(), QPoint(3, 4));
    QCOMPARE(panel->size(), QSize(100, 50));
    QCOMPARE(window.size(), QSize(200, 100));
    QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(window.mask().isEmpty());
    QVERIFY(orphan.mask().isEmpty());
}

void TestBmpShape::ditherChangesNothingUntilTheNextShapeForm()
{
    const QImage image = picture({"Ka", "aW"}, {{'K', kGrey}, {'a', qRgb(105, 100, 100)}, {'W', kWhite}});
    QWidget window;
    auto *shape = new TBmpShape(image, &window);
    shape->ShapeForm();
    const QRegion exact = window.mask();

    shape->setDither(true);
    QVERIFY(samePixels(window.mask(), exact));

    shape->ShapeForm();
    QVERIFY(samePixels(window.mask(), opaque({"..", ".#"})));
}

void TestBmpShape::pictureWithoutOpaquePixelsHidesTheWholeWindow_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("empty picture") << QImage() << QSize(0, 0);
    QTest::newRow("only the key colour") << picture({"KKK", "KKK"}, {{'K', kWhite}}) << QSize(3, 2);
}

// Qt takes an empty mask for "no mask": the window must still show none of its pixels.
void TestBmpShape::pictureWithoutOpaquePixelsHidesTheWholeWindow()
{
    QFETCH(QImage, image);
    QFETCH(QSize, windowSize);

    QWidget window;
    window.resize(50, 50);
    auto *shape = new TBmpShape(image, &window);
    shape->ShapeForm();

    QCOMPARE(window.size(), windowSize);
    QVERIFY(!window.mask().isEmpty());
    QVERIFY(window.mask().intersected(QRect(QPoint(0, 0), QSize(50, 50))).isEmpty());
}

void TestBmpShape::mouseMovementCarriesTheShiftState()
{
    TBmpShape shape(QImage(20, 20, QImage::Format_RGB32));
    QSignalSpy moved(&shape, &TBmpShape::mouseMoved);

    QMouseEvent drag(QEvent::MouseMove, QPointF(7, 9), QPointF(107, 109), Qt::NoButton,
                     Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&shape, &drag);
    QMouseEvent hover(QEvent::MouseMove, QPointF(3, 4), QPointF(103, 104), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&shape, &hover);

    QCOMPARE(moved.size(), 2);
    QCOMPARE(moved[0][0].value<ShiftState>(), ShiftState(ssCtrl | ssLeft | ssRight));
    QCOMPARE(moved[0][1].toPoint(), QPoint(7, 9));
    QCOMPARE(moved[1][0].value<ShiftState>(), ShiftState());
}

void TestBmpShape::shiftStateFlags_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<int>("flags");
    QTest::newRow("nothing") << Qt::KeyboardModifiers() << Qt::MouseButtons() << 0;
    QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << Qt::MouseButtons() << 1;
    QTest::newRow("alt") << Qt::KeyboardModifiers(Qt::AltModifier) << Qt::MouseButtons() << 2;
    QTest::newRow("ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << Qt::MouseButtons() << 4;
    QTest::newRow("left") << Qt::KeyboardModifiers() << Qt::MouseButtons(Qt::LeftButton) << 8;
    QTest::newRow("right") << Qt::KeyboardModifiers() << Qt::MouseButtons(Qt::RightButton) << 16;
    QTest::newRow("middle") << Qt::KeyboardModifiers() << Qt::MouseButtons(Qt::MiddleButton) << 32;
    QTest::newRow("all") << (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)
                         << (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton | Qt::BackButton) << 63;
}

void TestBmpShape::shiftStateFlags()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(int, flags);
    QCOMPARE(int(shiftState(modifiers, buttons)), flags);
}

QTEST_MAIN(TestBmpShape)
#include "tst_bmpshape.moc"
