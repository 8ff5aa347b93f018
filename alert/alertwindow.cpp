#include "alert/alertwindow.h"

#include "alert/shake.h"
#include "core/text.h"
#include "store/datamodule.h"
#include "store/textformats.h"
#include "window/bmpshape.h"
#include "window/dialogs.h"
#include "window/fieldstyle.h"
#include "window/hotarea.h"
#include "window/picture.h"
#include "window/windowdrag.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace {

template <typename Field> Field *readOnlyField(QWidget *parent, const QRect &geometry)
{
    auto *field = new Field(parent);
    field->setGeometry(geometry);
    setReadOnlyLook(field);
    return field;
}

QLabel *caption(QWidget *parent, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

TForm3::TForm3(Tdm &dm, Dialogs &dialogs, std::function<void()> minimizeProgram, std::unique_ptr<SoundPlayer> player,
               QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , m_dm(dm)
    , m_dialogs(dialogs)
    , m_minimizeProgram(std::move(minimizeProgram))
    , WindowsMediaPlayer1(std::move(player))
{
    setWindowTitle(QStringLiteral("日程提醒"));
    setModal(true);

    BmpShape1 = new TBmpShape(loadPicture(QStringLiteral(":/assets/alert.png")), this);
    BmpShape1->setDither(false);
    auto *drag = new WindowDrag(this);
    connect(BmpShape1, &TBmpShape::mouseMoved, this, [drag](ShiftState shift) {
        if (shift.testFlag(ssLeft))
            drag->start(QCursor::pos());
    });
    Image1 = new HotArea(this, {544, 0, 17, 20});
    Image2 = new HotArea(this, {562, 0, 17, 20});
    Image3 = new HotArea(this, {579, 0, 17, 20});
    Image4 = new HotArea(this, {282, 409, 38, 34});
    connect(Image1, &HotArea::mouseMoved, this, [this] { guarded(m_dialogs, m_minimizeProgram); });
    connect(Image1, &HotArea::clicked, this, [this] { showMinimized(); });
    connect(Image3, &HotArea::clicked, this, [this] { close(); });
    connect(Image4, &HotArea::clicked, this,
            [this] { guarded(m_dialogs, [this] { PlayAlertSound(*WindowsMediaPlayer1); }); });

    Panel1 = new QFrame(this);
    Panel1->setGeometry(16, 56, 569, 329);
    caption(Panel1, QStringLiteral("日程主题："), {24, 54});
    Edit3 = readOnlyField<QLineEdit>(Panel1, {96, 51, 442, 19});
    Memo3 = readOnlyField<QPlainTextEdit>(Panel1, {96, 98, 441, 119});
    caption(Panel1, QStringLiteral("日程内容："), {24, 101});
    caption(Panel1, QStringLiteral("提醒时间："), {24, 234});
    Edit5 = readOnlyField<QLineEdit>(Panel1, {96, 231, 441, 19});
    Button5 = new QPushButton(QStringLiteral("返回"), Panel1);
    Button5->setGeometry(467, 276, 75, 25);
    Button5->setAutoDefault(false); // Enter presses nothing
    connect(Button5, &QPushButton::clicked, this, [this] { guarded(m_dialogs, [this] { close(); }); });
    setTabOrder(Edit3, Memo3);
    setTabOrder(Memo3, Edit5);
    setTabOrder(Edit5, Button5);

    FormCreate();
}

void TForm3::FormCreate()
{
    BmpShape1->ShapeForm();
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    placeOnFirstShowing();
    FormShow();
    // Shake and sound for every showing, whether or not the window manager lets the window become
    // active: some refuse a window raised by a timer.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm3::placeOnFirstShowing()
{
    if (m_placed)
        return;
    m_placed = true;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + std::max(0, (screen.width() - width()) / 2),
         screen.y() + std::max(0, (screen.height() - height()) / 2));
}

void TForm3::FormShow()
{
    guarded(m_dialogs, [this] { fillFields(); });
}

void TForm3::fillFields()
{
    Edit3->clear();
    Edit5->clear();
    Memo3->clear();
    Query &qry4 = m_dm.qry4;
    if (qry4.recordCount() <= 0)
        return;
    if (!qry4.fieldValue(QStringLiteral("主题")).toString().isEmpty())
        Edit3->setText(qry4.fieldText(QStringLiteral("主题")));
    Edit5->setText(regionalDateTimeText(qry4.fieldDateTime(QStringLiteral("时间"))));
    Memo3->appendPlainText(withLineFeeds(QString() + qry4.fieldText(QStringLiteral("内容")) + QString()));
}

void TForm3::FormActivate()
{
    if (!isVisible())
        return;
    raise();
    activateWindow();
    guarded(m_dialogs, [this] {
        shakeWindow(*this, [] {
            flushWindowSystem();
            QThread::msleep(2); // paced so that the eye sees a shake, not a flicker
        });
        PlayAlertSound(*WindowsMediaPlayer1);
    });
}

// The alert has no cancel button: Escape and Enter do nothing.
void TForm3::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
