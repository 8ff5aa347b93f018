#include "window/fieldstyle.h"

#include "core/text.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Longer than any content typed into the program: another program wrote it.
constexpr qsizetype kLongContent = 65536;

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

void setContentText(QPlainTextEdit *field, const QString &content)
{
    // Qt's layout looks for a word boundary through the whole of an unbroken run before it breaks a line
    // anywhere, line after line: a long run without one would hold the program for minutes.
    field->setWordWrapMode(content.size() > kLongContent ? QTextOption::WrapAnywhere
                                                         : QTextOption::WrapAtWordBoundaryOrAnywhere);
    field->setPlainText(withLineFeeds(content));
}
