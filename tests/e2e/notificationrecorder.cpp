// A notification service for the end-to-end tests: it owns org.freedesktop.Notifications on the session
// bus and writes each notification it is asked to show as a line of JSON into the file it is given.
#include "tests/support/recordingnotificationservice.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: notification-recorder JOURNAL\n");
        return 2;
    }
    RecordingNotificationService service;
    if (!service.isRegistered()) {
        std::fprintf(stderr, "notification-recorder: cannot own org.freedesktop.Notifications on the session bus\n");
        return 1;
    }
    service.setJournal(QString::fromLocal8Bit(argv[1]));
    return QCoreApplication::exec();
}
