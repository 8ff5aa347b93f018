#include "notice/textbetweentags.h"

#include <QTest>

class TestTextBetweenTags : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
};

void TestTextBetweenTags::pages_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QByteArray>("close");
    QTest::addColumn<QByteArray>("text");

    const QByteArray open = "<zeqa2>", close = "</zeqa2>";
    const auto row = [&](const char *name, const QByteArray &page, const QByteArray &text) {
        QTest::newRow(name) << page << open << close << text;
    };
    row("both tags", "head <zeqa2>http://a.example/</zeqa2> tail", "http://a.example/");
    row("tags touching", "<zeqa2></zeqa2>", "");
    row("blanks and line breaks kept", "<zeqa2> \r\nhttp://a/ \n</zeqa2>", " \r\nhttp://a/ \n");
    row("first of each tag", "<zeqa2>one</zeqa2><zeqa2>two</zeqa2>", "one");
    row("closing tag missing", "<zeqa2>http://a/", "");
    row("closing tag first", "</zeqa2>x<zeqa2>y", "");
    row("opening tag missing, closing at 20", "abcdefghijklmnopqrs</zeqa2>", "ghijklmnopqrs");
    row("opening tag missing, closing at 8", "abcdefg</zeqa2>", "g");
    row("opening tag missing, closing at 7", "abcdef</zeqa2>", "");
    row("both tags missing", "a plain page", "");
    row("empty page", "", "");
    row("double-byte text between", "<zeqa2>\xd6\xd0\xce\xc4</zeqa2>", "\xd6\xd0\xce\xc4");
    row("tags after double-byte text", "\xd6\xd0<zeqa2>x</zeqa2>", "x");
    row("opening tag on a trail byte passed over", "\x81<zeqa2>x</zeqa2>", "2>x");
    row("NUL before the tags", QByteArray("ab\0<zeqa2>x</zeqa2>", 19), "");
    row("NUL between the tags", QByteArray("<zeqa2>x\0</zeqa2>", 17), "");
    row("NUL after the tags", QByteArray("<zeqa2>x</zeqa2>\0tail", 21), "x");
    QTest::newRow("tag on a trail byte, then on a character")
        << QByteArray("\x81[[x]") << QByteArray("[") << QByteArray("]") << QByteArray("x");
    QTest::newRow("only tag on a trail byte")
        << QByteArray("\x81[x]") << QByteArray("[") << QByteArray("]") << QByteArray("\x81[x");
}

void TestTextBetweenTags::pages()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, open);
    QFETCH(QByteArray, close);
    QFETCH(QByteArray, text);
    QCOMPARE(textBetweenTags(page, open, close), text);
}

QTEST_GUILESS_MAIN(TestTextBetweenTags)
#include "tst_textbetweentags.moc"
