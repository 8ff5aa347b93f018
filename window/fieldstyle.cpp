#include "window/fieldstyle.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void tooltipColours(QWidget *field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    field->setPalette(palette);
}

} // namespace

void setReadOnlyLook(QLineEdit *field)
{
    field->setReadOnly(true);
    field->setFrame(false);
    tooltipColours(field);
}

void setReadOnlyLook(QPlainTextEdit *field)
{
    field->setReadOnly(true);
    field->setFrameShape(QFrame::NoFrame);
    tooltipColours(field);
}
