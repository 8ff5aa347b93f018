#pragma once

#include <QByteArray>

// Where the reply reader takes the server's bytes from: a connection in the program, a prepared
// sequence in tests and in the fuzzer, so the reply handling can be run without sockets.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to maxBytes of what the server sent next, waiting at most timeoutMs for the first of them.
    // An empty result means the server has closed the connection and nothing is left.
    // Throws AppError "Read Timeout" when nothing arrives in time, or the socket error that ended the wait.
    virtual QByteArray read(qsizetype maxBytes, int timeoutMs) = 0;
};
