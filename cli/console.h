#pragma once

#include <QTextStream>

class Clock;
class QIODevice;

// Where a command reads and writes: the standard streams of the process, or buffers in the tests.
struct Console
{
    QIODevice &in;
    QIODevice &out;
    QTextStream &text;  // people's output, on `out`
    QTextStream &error; // messages
    const Clock &clock;
};
