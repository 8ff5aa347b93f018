#pragma once

#include "calendar/ical.h"

#include <QString>
#include <optional>

class QIODevice;

// The components of an iCalendar stream (VEVENT, VTIMEZONE, ...), one at a time, each parsed by libical
// when its END line has been read: a calendar of any size is read with the memory of its largest
// component. libical reads the content lines, unfolding them; this class only finds where each component
// of a VCALENDAR begins and ends. A content line longer than 4 MB is cut there, so that no line fills the
// memory, and its component is marked.
class IcsReader
{
public:
    struct Part
    {
        IcalComponent component; // null when libical made nothing of it
        int line = 0;            // where its BEGIN line is, from 1
        QString problem;         // why it cannot be used as it is; empty when it can
    };

    explicit IcsReader(QIODevice &input);
    IcsReader(const IcsReader &) = delete;
    IcsReader &operator=(const IcsReader &) = delete;

    // The next component, or nothing at the end of the stream. Throws InputError when the stream is not
    // iCalendar or cannot be read.
    std::optional<Part> next();

private:
    static char *readChunk(char *buffer, size_t size, void *reader);
    char *chunk(char *buffer, size_t size);
    // The line where the content line that libical handed out last began.
    int lineOfLastContentLine() const;

    QIODevice &m_input;
    IcalParser m_parser;
    QByteArray m_pending; // a chunk read ahead while a cut line was skipped
    bool m_atLineStart = true;
    bool m_skipping = false;
    bool m_ended = false;
    qint64 m_lineBytes = 0;
    int m_physicalLine = 0;
    int m_contentLine = 0;         // where the content line being read began
    int m_previousContentLine = 0; // where the one before it began
    int m_cutLine = 0;             // where the last cut content line began
    bool m_sawCalendar = false;
    bool m_inCalendar = false;
};
