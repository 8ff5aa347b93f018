// The sound module: the alert sound decoded by libmpg123 and played as one stream on the PulseAudio server
// (PipeWire's too), loaded at the first sound. The server is answered and fed from libpulse's own thread, so
// the caller never waits for it; without a server, or without a sound in the file, the player stays silent.
#include "alert/alertsound.h"
#include "desktop/media/mp3decoder.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <memory>
#include <utility>

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

namespace {

constexpr double kVolume = 0.5;

// Holds the loop's lock: libpulse's objects are shared between the caller's thread and the loop's.
class LoopLock
{
public:
    explicit LoopLock(pa_threaded_mainloop *loop)
        : m_loop(loop)
    {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock &) = delete;
    LoopLock &operator=(const LoopLock &) = delete;

private:
    pa_threaded_mainloop *m_loop;
};

// Connects to the server for each sound and lets go of it once the sound has ended, so that nothing is held
// between alerts and a restarted server is found again.
class PulseAlertSound : public AlertSound
{
public:
    explicit PulseAlertSound(pa_threaded_mainloop *loop)
        : m_loop(loop)
    {
        pa_threaded_mainloop_start(m_loop);
    }

    ~PulseAlertSound() override
    {
        {
            LoopLock lock(m_loop);
            disconnect();
        }
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }

    PulseAlertSound(const PulseAlertSound &) = delete;
    PulseAlertSound &operator=(const PulseAlertSound &) = delete;

    void play(const QString &path) override
    {
        LoopLock lock(m_loop);
        stopStream(); // the same file again starts over from the beginning
        m_waiting = QFile::encodeName(path);
        if (!m_context)
            connect();
        else if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
            startStream();
    }

private:
    void connect()
    {
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop),
                                   QCoreApplication::applicationName().toUtf8().constData());
        if (!m_context)
            return;
        pa_context_set_state_callback(m_context, contextChanged, this);
        // An alert does not start an audio server of its own.
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            disconnect();
    }

    static void contextChanged(pa_context *context, void *self)
    {
        auto sound = static_cast<PulseAlertSound *>(self);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            sound->startStream();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            sound->disconnect();
            break;
        default:
            break;
        }
    }

    void startStream()
    {
        auto decoder = std::make_unique<Mp3Decoder>(std::exchange(m_waiting, {}), kVolume);
        if (decoder->isOpen()) {
            const pa_sample_spec samples{PA_SAMPLE_S16NE, uint32_t(decoder->rate()), uint8_t(decoder->channels())};
            m_stream = pa_stream_new(m_context, "日程提醒", &samples, nullptr);
        }
        if (!m_stream) { // nothing to play: the server is let go at once
            disconnect();
            return;
        }
        m_decoder = std::move(decoder);
        pa_stream_set_state_callback(m_stream, streamChanged, this);
        pa_stream_set_write_callback(m_stream, writable, this);
        if (pa_stream_connect_playback(m_stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0)
            disconnect();
    }

    static void streamChanged(pa_stream *stream, void *self)
    {
        if (pa_stream_get_state(stream) == PA_STREAM_FAILED)
            static_cast<PulseAlertSound *>(self)->disconnect();
    }

    // Decodes as much as the server asks for; at the end of the sound, lets the stream play out.
    static void writable(pa_stream *stream, size_t bytes, void *self)
    {
        auto sound = static_cast<PulseAlertSound *>(self);
        while (bytes > 0 && sound->m_decoder) {
            void *data = nullptr;
            size_t size = bytes;
            if (pa_stream_begin_write(stream, &data, &size) < 0) {
                sound->disconnect();
                return;
            }
            const size_t filled = sound->m_decoder->read(data, size);
            if (filled == 0) {
                pa_stream_cancel_write(stream);
                sound->m_decoder.reset();
                sound->m_drain = pa_stream_drain(stream, drained, self);
                if (!sound->m_drain) // nothing will say when it has played out: let go now
                    sound->disconnect();
                return;
            }
            pa_stream_write(stream, data, filled, nullptr, 0, PA_SEEK_RELATIVE);
            bytes -= std::min(filled, bytes);
        }
    }

    static void drained(pa_stream *, int, void *self)
    {
        auto sound = static_cast<PulseAlertSound *>(self);
        pa_operation_unref(std::exchange(sound->m_drain, nullptr));
        sound->disconnect(); // the sound has ended
    }

    void stopStream()
    {
        if (m_drain) {
            pa_operation_cancel(m_drain); // its callback would end the next sound
            pa_operation_unref(m_drain);
            m_drain = nullptr;
        }
        if (m_stream) {
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
            m_stream = nullptr;
        }
        m_decoder.reset();
    }

    void disconnect()
    {
        stopStream();
        m_waiting.clear();
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }

    pa_threaded_mainloop *m_loop;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    pa_operation *m_drain = nullptr;
    std::unique_ptr<Mp3Decoder> m_decoder;
    QByteArray m_waiting; // the file to play once the server has answered
};

} // namespace

class SoundModule : public QObject, public AlertSoundModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AlertSoundModule_iid)
    Q_INTERFACES(AlertSoundModule)

public:
    std::unique_ptr<AlertSound> createAlertSound() override
    {
        pa_threaded_mainloop *loop = pa_threaded_mainloop_new();
        return loop ? std::make_unique<PulseAlertSound>(loop) : nullptr;
    }
};

#include "pulsesound.moc"
