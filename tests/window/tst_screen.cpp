#include "window/screen.h"

#include <QTest>

class TestScreen : public QObject
{
    Q_OBJECT

private slots:
    void centredOn_data();
    void centredOn();
};

void TestScreen::centredOn_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("even") << QRect(0, 0, 1280, 800) << QPoint(340, 175);
    QTest::newRow("odd halves toward zero") << QRect(0, 0, 1025, 769) << QPoint(212, 159);
    QTest::newRow("smaller than the window") << QRect(0, 0, 599, 300) << QPoint(0, 0);
    QTest::newRow("screen not at the origin") << QRect(1920, 100, 1280, 800) << QPoint(2260, 275);
    QTest::newRow("screen left of the origin") << QRect(-1280, 0, 1280, 800) << QPoint(-940, 175);
}

void TestScreen::centredOn()
{
    QFETCH(QRect, screen);
    QFETCH(QPoint, place);
    QCOMPARE(::centredOn(screen, QSize(600, 450)), place);
}

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
