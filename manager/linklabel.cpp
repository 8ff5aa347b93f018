#include "manager/linklabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

namespace {

class LinkLabelAccessible : public QAccessibleWidget
{
public:
    explicit LinkLabelAccessible(LinkLabel *link)
        : QAccessibleWidget(link, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<LinkLabel *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    // The press answers the screen reader at once: what it starts may open a box that waits for the user.
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            QMetaObject::invokeMethod(static_cast<LinkLabel *>(widget()), &LinkLabel::click, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *linkLabelAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("LinkLabel") && object->isWidgetType())
        return new LinkLabelAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &caption, QWidget *parent, Look look)
    : QAbstractButton(parent)
{
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(linkLabelAccessible);
        return true;
    }();
    Q_UNUSED(accessibleFactoryInstalled);
    setText(caption);
    if (look == Look::WebLink) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        QPalette blue = palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        setPalette(blue);
    }
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        click();
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

// A style sheet reads a property only when it polishes the widget, so a change of it polishes again.
void LinkLabel::setHovered(bool hovered)
{
    setProperty("hovered", hovered);
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void LinkLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, rect(), int(m_alignment), palette(), isEnabled(), text(), QPalette::WindowText);
    if (!hasFocus())
        return;
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
