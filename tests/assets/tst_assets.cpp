// The properties of the pictures that the windows rely on: sizes and depth, the key colours that shape the
// windows, the painted parts under hot areas and labels, and the strips a docked main window leaves on screen.

#include "window/picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QRect>
#include <QResource>
#include <QtTest>

namespace {

template <typename Predicate> int countPixels(const QImage &image, const QRect &area, Predicate matches)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += matches(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool isBlack(QRgb pixel)
{
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

// Bit depth and colour type of a PNG file's header chunk; 8 and 2 make a 24-bit truecolour picture.
QPair<int, int> pngDepthAndColourType(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(26);
    if (head.size() < 26 || !head.startsWith("\x89PNG") || head.mid(12, 4) != "IHDR")
        return {};
    return {uchar(head.at(24)), uchar(head.at(25))};
}

// The picture at `path` as the program reads it in `locale`.
QImage pictureIn(const QLocale &locale, const QString &path, qreal devicePixelRatio)
{
    const QLocale before;
    QLocale::setDefault(locale);
    const QImage picture = loadPicture(path, devicePixelRatio);
    QLocale::setDefault(before);
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_Assets : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void keyOnlyAtTopLeft_data();
    void keyOnlyAtTopLeft();
    void mainKeyIsBlack();
    void rawMainPictureIsThePicture();
    void doubleSizeKeepsTheShape_data();
    void doubleSizeKeepsTheShape();
    void dialFaceIsBare();
    void themeIcons_data();
    void themeIcons();
    void mainOpaqueUnder_data();
    void mainOpaqueUnder();
    void dockingStripHoldsWindow_data();
    void dockingStripHoldsWindow();
    void chimeBesideExecutable();
    void englishPicturesKeepTheShape_data();
    void englishPicturesKeepTheShape();
};

void tst_Assets::format_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");

    QTest::newRow("main") << ":/assets/main.png" << QByteArray("png") << QSize(600, 300) << false;
    QTest::newRow("alert") << ":/assets/alert.png" << QByteArray("png") << QSize(600, 450) << false;
    QTest::newRow("manager") << ":/assets/manager.png" << QByteArray("png") << QSize(600, 450) << false;
    QTest::newRow("about") << ":/assets/about.jpg" << QByteArray("jpeg") << QSize(580, 321) << false;
    QTest::newRow("green beetle") << ":/assets/beetle-green.png" << QByteArray("png") << QSize(32, 32) << true;
    QTest::newRow("red beetle") << ":/assets/beetle-red.png" << QByteArray("png") << QSize(32, 32) << true;
    QTest::newRow("yellow beetle") << ":/assets/beetle-yellow.png" << QByteArray("png") << QSize(32, 32) << true;
    QTest::newRow("application icon") << ":/assets/app.png" << QByteArray("png") << QSize(64, 64) << true;
    QTest::newRow("main @2x") << ":/assets/main@2x.png" << QByteArray("png") << QSize(1200, 600) << false;
    QTest::newRow("alert @2x") << ":/assets/alert@2x.png" << QByteArray("png") << QSize(1200, 900) << false;
    QTest::newRow("manager @2x") << ":/assets/manager@2x.png" << QByteArray("png") << QSize(1200, 900) << false;
    QTest::newRow("about @2x") << ":/assets/about@2x.jpg" << QByteArray("jpeg") << QSize(1160, 642) << false;
    QTest::newRow("green beetle @2x") << ":/assets/beetle-green@2x.png" << QByteArray("png") << QSize(64, 64) << true;
    QTest::newRow("red beetle @2x") << ":/assets/beetle-red@2x.png" << QByteArray("png") << QSize(64, 64) << true;
    QTest::newRow("yellow beetle @2x") << ":/assets/beetle-yellow@2x.png" << QByteArray("png") << QSize(64, 64) << true;
}

void tst_Assets::format()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);

    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    QCOMPARE(image.hasAlphaChannel(), alpha);
    if (format == "png" && !alpha) // a window's picture
        QCOMPARE(pngDepthAndColourType(path), qMakePair(8, 2));
    if (alpha) // an icon: the tray shows through around the beetle
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void tst_Assets::keyOnlyAtTopLeft_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("alert") << ":/assets/alert.png";
    QTest::newRow("manager") << ":/assets/manager.png";
}

void tst_Assets::keyOnlyAtTopLeft()
{
    QFETCH(QString, path);
    const QImage image(path);
    const QRgb key = image.pixel(0, 0);
    QCOMPARE(countPixels(image, image.rect(), [key](QRgb pixel) { return pixel == key; }), 1);
}

// The main window shows the raw copy that the build makes of main.png: it must be the same picture, and
// stored uncompressed, or it would be decoded after all.
void tst_Assets::rawMainPictureIsThePicture()
{
    QCOMPARE(QResource(QStringLiteral(":/assets/main.rgb32")).compressionAlgorithm(), QResource::NoCompression);
    const QImage raw = loadPicture(QStringLiteral(":/assets/main.rgb32"));
    QCOMPARE(raw.format(), QImage::Format_RGB32);
    QCOMPARE(raw, QImage(QStringLiteral(":/assets/main.png")).convertToFormat(QImage::Format_RGB32));
}

void tst_Assets::doubleSizeKeepsTheShape_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("main, from its raw pixels") << ":/assets/main.rgb32";
    QTest::newRow("alert") << ":/assets/alert.png";
    QTest::newRow("manager") << ":/assets/manager.png";
}

// The windows take their shape from the picture itself: the double-size picture cuts away exactly the same
// parts, each pixel of the picture a square of four, or its soft edges would fall on the key colour.
void tst_Assets::doubleSizeKeepsTheShape()
{
    QFETCH(QString, path);
    const QImage single = loadPicture(path);
    const QImage twice = loadPicture(path, 2);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.size(), single.size() * 2);
    const QRgb key = single.pixel(0, 0) & 0xffffff;
    for (int y = 0; y < twice.height(); ++y) {
        for (int x = 0; x < twice.width(); ++x) {
            if (((twice.pixel(x, y) & 0xffffff) == key) != ((single.pixel(x / 2, y / 2) & 0xffffff) == key))
                QFAIL(qPrintable(QStringLiteral("the shapes differ at %1,%2 of the double size").arg(x).arg(y)));
        }
    }
}

// The window turns its own hands over the dial, so the picture has none: inside the ring of ticks, around
// the pin at (165, 143), the face is blue all round.
void tst_Assets::dialFaceIsBare()
{
    const QImage image(QStringLiteral(":/assets/main.png"));
    for (int degrees = 0; degrees < 360; degrees += 3) {
        for (int radius = 12; radius <= 90; radius += 2) {
            const qreal angle = qDegreesToRadians(qreal(degrees));
            const QPoint at(qRound(165 + radius * qSin(angle)), qRound(143 - radius * qCos(angle)));
            const QRgb pixel = image.pixel(at);
            if (qBlue(pixel) <= qRed(pixel) + 60)
                QFAIL(qPrintable(QStringLiteral("not the bare face at %1,%2").arg(at.x()).arg(at.y())));
        }
    }
}

void tst_Assets::themeIcons_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("size");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%d", size) << QStringLiteral("%1x%1/apps/orvane-reminder.png").arg(size) << size;
    QTest::newRow("scalable") << QStringLiteral("scalable/apps/orvane-reminder.svg") << 0;
}

// The icon for the desktop's menus and launchers, as a package installs it into the hicolor theme.
void tst_Assets::themeIcons()
{
    QFETCH(QString, file);
    QFETCH(int, size);
    const QString path = QStringLiteral(ORVANE_ASSETS "/icons/hicolor/") + file;
    if (size == 0) {
        QFile svg(path);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
        return;
    }
    const QImage icon(path);
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
}

void tst_Assets::mainKeyIsBlack()
{
    const QImage image(QStringLiteral(":/assets/main.png"));
    QVERIFY(isBlack(image.pixel(0, 0)));
    const QRect bottomRow(0, image.height() - 1, image.width(), 1);
    QCOMPARE(countPixels(image, bottomRow, isBlack), image.width());
}

void tst_Assets::mainOpaqueUnder_data()
{
    QTest::addColumn<QRect>("area");
    QTest::newRow("设置 button, Image1") << QRect(111, 230, 33, 25);
    QTest::newRow("退出 button, Image2") << QRect(147, 238, 33, 25);
    QTest::newRow("关于 button, Image3") << QRect(189, 233, 33, 25);
    QTest::newRow("caption, SkinLabel1") << QRect(328, 64, 201, 21);
    QTest::newRow("agenda, SkinPanel1") << QRect(328, 88, 202, 125);
    QTest::newRow("notice link, SkinLabel2") << QRect(328, 216, 202, 21);
}

// Nothing the program puts on the main window may fall into a cut-away hole.
void tst_Assets::mainOpaqueUnder()
{
    QFETCH(QRect, area);
    const QImage image(QStringLiteral(":/assets/main.png"));
    QCOMPARE(countPixels(image, area, isBlack), 0);
}

void tst_Assets::dockingStripHoldsWindow_data()
{
    QTest::addColumn<QRect>("strip");
    QTest::newRow("hidden at the top edge") << QRect(0, 260, 600, 40);
    QTest::newRow("hidden at the left edge") << QRect(560, 0, 40, 300);
    QTest::newRow("hidden at the right edge") << QRect(0, 0, 40, 300);
}

// A docked, hidden main window comes back only when the pointer touches what is left of it on screen.
void tst_Assets::dockingStripHoldsWindow()
{
    QFETCH(QRect, strip);
    const QImage image(QStringLiteral(":/assets/main.png"));
    const int opaque = countPixels(image, strip, [](QRgb pixel) { return !isBlack(pixel); });
    QVERIFY2(opaque >= 1000, qPrintable(QStringLiteral("only %1 opaque pixels").arg(opaque)));
}

void tst_Assets::chimeBesideExecutable()
{
    QFile chime(QCoreApplication::applicationDirPath() + QStringLiteral("/1.mp3"));
    QVERIFY(chime.open(QIODevice::ReadOnly));
    const QByteArray head = chime.read(3);
    QCOMPARE(head.size(), 3);
    const bool frameSync = uchar(head.at(0)) == 0xff && (uchar(head.at(1)) & 0xe0) == 0xe0;
    QVERIFY(head.startsWith("ID3") || frameSync);
}

void tst_Assets::englishPicturesKeepTheShape_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("englishFile");
    QTest::addColumn<qreal>("devicePixelRatio");
    QTest::addColumn<bool>("shaped");
    QTest::newRow("main, from its raw pixels") << ":/assets/main.rgb32"
                                               << "main.png" << 1.0 << true;
    QTest::newRow("main @2x") << ":/assets/main.rgb32"
                              << "main@2x.png" << 2.0 << true;
    QTest::newRow("alert") << ":/assets/alert.png"
                           << "alert.png" << 1.0 << true;
    QTest::newRow("alert @2x") << ":/assets/alert.png"
                               << "alert@2x.png" << 2.0 << true;
    QTest::newRow("manager") << ":/assets/manager.png"
                             << "manager.png" << 1.0 << true;
    QTest::newRow("manager @2x") << ":/assets/manager.png"
                                 << "manager@2x.png" << 2.0 << true;
    QTest::newRow("about") << ":/assets/about.jpg"
                           << "about.jpg" << 1.0 << false;
    QTest::newRow("about @2x") << ":/assets/about.jpg"
                               << "about@2x.jpg" << 2.0 << false;
}

// In an English locale the program reads the English drawing of each picture under the same name: other
// captions, but the same size and, where the picture shapes its window, exactly the same parts cut away, so
// that the hot areas and the docking strips lie where they do in Chinese.
void tst_Assets::englishPicturesKeepTheShape()
{
    QFETCH(QString, path);
    QFETCH(QString, englishFile);
    QFETCH(qreal, devicePixelRatio);
    QFETCH(bool, shaped);
    const QImage chinese = pictureIn(QLocale(QLocale::Chinese, QLocale::China), path, devicePixelRatio);
    const QImage english = pictureIn(QLocale(QLocale::English, QLocale::UnitedKingdom), path, devicePixelRatio);
    QCOMPARE(pictureIn(QLocale::c(), path, devicePixelRatio), chinese);
    QCOMPARE(english, QImage(QStringLiteral(ORVANE_ASSETS "/en/") + englishFile).convertToFormat(QImage::Format_RGB32));
    QCOMPARE(english.size(), chinese.size());
    QVERIFY(english != chinese);
    if (!shaped)
        return;
    const QRgb key = chinese.pixel(0, 0);
    QCOMPARE(english.pixel(0, 0), key);
    for (int y = 0; y < english.height(); ++y) {
        for (int x = 0; x < english.width(); ++x) {
            if ((english.pixel(x, y) == key) != (chinese.pixel(x, y) == key))
                QFAIL(qPrintable(QStringLiteral("the shapes differ at %1,%2").arg(x).arg(y)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_Assets)
#include "tst_assets.moc"
