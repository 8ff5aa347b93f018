// The program's message boxes: their captions and icons, stored or received text shown literally, and the
// message dialog centred on the primary screen.

#include "core/apptitle.h"
#include "tests/support/fakescreen.h"
#include "window/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox
{
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPoint centre;
};

// Shows a box through `show` and reads it while it stands, then closes it.
SeenBox seeBox(const std::function<void()> &show)
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->textFormat(), box->icon(), box->frameGeometry().center()};
        box->accept();
    });
    show();
    return seen;
}

// The error boxes on screen.
QList<QMessageBox *> standingErrorBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (box && box->isVisible() && box->icon() == QMessageBox::Critical)
            boxes << box;
    }
    return boxes;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void textShowsLiterally_data();
    void textShowsLiterally();
    void messageDialogIsCentredOnThePrimaryScreen();
    void loneErrorBoxDoesNotWait();
};

void TestDialogs::textShowsLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("markup") << "<b>x</b>";
    QTest::newRow("an entity") << "a &lt; b";
    QTest::newRow("a server's status line with a picture") << "HTTP/1.1 404 <img src=\"http://example.com/x.png\">";
}

void TestDialogs::textShowsLiterally()
{
    QFETCH(QString, text);
    FakeScreen screen;
    QtDialogs dialogs(screen);
    const SeenBox error = seeBox([&] { dialogs.errorBox(text); });
    QCOMPARE(error.text, errorBoxText(text));
    QCOMPARE(error.format, Qt::PlainText);
    QCOMPARE(error.caption, kApplicationTitle);
    QCOMPARE(error.icon, QMessageBox::Critical);
    const SeenBox information = seeBox([&] { dialogs.informationBox(text, QStringLiteral("提示")); });
    QCOMPARE(information.text, text);
    QCOMPARE(information.format, Qt::PlainText);
    QCOMPARE(information.caption, QStringLiteral("提示"));
    const SeenBox message = seeBox([&] { dialogs.messageDialog(text); });
    QCOMPARE(message.text, text);
    QCOMPARE(message.format, Qt::PlainText);
}

void TestDialogs::messageDialogIsCentredOnThePrimaryScreen()
{
    FakeScreen screen(QRect(1920, 0, 1280, 800), QRect(1920, 0, 1280, 770));
    QtDialogs dialogs(screen);
    const SeenBox message = seeBox([&] { dialogs.messageDialog(QStringLiteral("删除成功！")); });
    QVERIFY(qAbs(message.centre.x() - screen.geometry().center().x()) <= 1);
    QVERIFY(qAbs(message.centre.y() - screen.geometry().center().y()) <= 1);
}

// The program's work goes on while the box of a failure stands; the next failure shows no second box, and
// one after the box is closed shows again.
void TestDialogs::loneErrorBoxDoesNotWait()
{
    FakeScreen screen;
    QtDialogs dialogs(screen);
    LoneErrorBox errors(dialogs);
    QSignalSpy closed(&errors, &LoneErrorBox::closed);
    const auto fail = [](const char *message) { return [message] { throw AppError(QString::fromUtf8(message)); }; };
    QVERIFY(!errors.run(fail("database is locked")));
    QTRY_COMPARE(standingErrorBoxes().size(), 1); // it returned while the box stands
    QMessageBox *box = standingErrorBoxes().first();
    QCOMPARE(box->text(), QStringLiteral("database is locked."));
    QCOMPARE(box->windowTitle(), kApplicationTitle);
    QVERIFY(!errors.run(fail("second")));
    QCOMPARE(standingErrorBoxes().size(), 1);
    QPointer<QMessageBox> gone(box);
    box->accept();
    QCOMPARE(closed.size(), 1);
    QTRY_VERIFY(!gone); // it goes once closed
    QVERIFY(!errors.run(fail("third")));
    QTRY_COMPARE(standingErrorBoxes().size(), 1);
    QCOMPARE(standingErrorBoxes().first()->text(), QStringLiteral("third."));
    standingErrorBoxes().first()->accept();
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
