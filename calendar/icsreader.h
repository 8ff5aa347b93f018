#pragma once

#include "calendar/ical.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

// The components of an iCalendar stream (VEVENT, VTIMEZONE, ...), one at a time, each parsed by libical
// when its END line has been read: a calendar of any size is read with the memory of its largest
// component. This class reads and unfolds the content lines and hands libical whole ones; it never drops or
// merges a line but one: a content line longer than 4 MB (an attachment, folded or not) is left out, with a
// note. Text is UTF-8, or GB18030 where a byte order mark or a CHARSET parameter says so.
class IcsReader
{
public:
    struct Part
    {
        IcalComponent component; // null when libical made nothing of it
        int line = 0;            // where its BEGIN line is, from 1
        QString problem;         // why it cannot be used as it is; empty when it can
        QStringList notes;       // what was left out of it, one line each
    };

    explicit IcsReader(QIODevice &input);

    // The next component, or nothing at the end of the calendar. Throws InputError when the stream is not
    // iCalendar, cannot be read, ends before its calendar or a component does, or nests deeper than
    // iCalendar does.
    std::optional<Part> next();
    // The first line whose text was not UTF-8 (read with U+FFFD in place of what could not be read), or 0.
    int firstNonUtf8Line() const { return m_nonUtf8Line; }

private:
    struct ContentLine
    {
        QByteArray text;
        int line = 0;
        bool tooLong = false;
    };

    // The next physical line without its line end, and whether it was cut at the longest line.
    std::optional<QByteArray> physicalLine(bool *tooLong);
    std::optional<ContentLine> contentLine();
    // The line as UTF-8.
    QByteArray decoded(const QByteArray &text, int line);

    QIODevice &m_input;
    IcalParser m_parser;
    QByteArray m_piece;                // what one read gives, up to its line end
    std::optional<QByteArray> m_ahead; // the physical line read to see whether it continues the one before
    bool m_aheadTooLong = false;
    int m_aheadLine = 0;
    int m_physicalLine = 0;
    bool m_gb18030 = false;
    int m_nonUtf8Line = 0;
    bool m_sawCalendar = false;
    bool m_inCalendar = false;
};
