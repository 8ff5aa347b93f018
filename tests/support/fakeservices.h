#pragma once

#include "tests/support/fakeclock.h"
#include "tests/support/fakenoticeclient.h"
#include "tests/support/fakescreen.h"
#include "tests/support/recordingbrowser.h"
#include "tests/support/recordingdialogs.h"
#include "tests/support/recordingnotifier.h"
#include "tests/support/recordingsound.h"
#include "tests/support/recordingtraybackend.h"
#include "window/services.h"

#include <QPointer>

// The program's services as a test has them: a settable clock, recorded boxes, a screen of the test's own,
// and players, tray backends, notice clients and notifiers that record what they are asked.
class FakeServices : public Services
{
public:
    const Clock &clock() override { return fakeClock; }
    Dialogs &dialogs() override { return recordingDialogs; }
    const Screen &screen() override { return fakeScreen; }
    BrowserLauncher &browser() override { return recordingBrowser; }

    std::unique_ptr<TrayBackend> makeTrayBackend() override
    {
        auto backend = std::make_unique<RecordingTrayBackend>(trayJournal);
        trayBackend = backend.get();
        return backend;
    }
    std::unique_ptr<AlertSound> makeAlertSound() override { return std::make_unique<RecordingSound>(played); }
    std::unique_ptr<NoticeClient> makeNoticeClient() override { return std::make_unique<FakeNoticeClient>(); }
    std::unique_ptr<DesktopNotifier> makeNotifier() override
    {
        auto made = std::make_unique<RecordingNotifier>(notified);
        notifier = made.get();
        return made;
    }

    FakeClock fakeClock;
    RecordingDialogs recordingDialogs;
    FakeScreen fakeScreen;
    RecordingBrowser recordingBrowser;
    QStringList trayJournal;
    QPointer<RecordingTrayBackend> trayBackend; // the last one made
    QStringList played;                         // by every player made
    QPointer<RecordingNotifier> notifier;       // the last one made
    QList<Reminder> notified;                   // by every notifier made
};
