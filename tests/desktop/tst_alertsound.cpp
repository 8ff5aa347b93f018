// The alert sound as the program plays it (the sound module beside the executable), heard on a private
// PulseAudio server whose silent sink the test records.
#include "alert/alertsound.h"
#include "desktop/media/mp3decoder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRate = 44100;

// The streams the server is playing.
int streams()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    pactl.waitForFinished();
    return int(pactl.readAllStandardOutput().count('\n'));
}

// Waits for a sound to start and then to end; notes in `most` how many streams played at once.
bool soundPlaysOut(int &most)
{
    const auto ended = [&most] {
        const int now = streams();
        most = std::max(most, now);
        return now == 0;
    };
    return QTest::qWaitFor([] { return streams() > 0; }, 2000) && QTest::qWaitFor(ended, 10000);
}

int peakOf(const std::vector<qint16> &samples)
{
    int peak = 0;
    for (const qint16 sample : samples)
        peak = std::max(peak, std::abs(int(sample)));
    return peak;
}

// From the first sample of at least `level` to the last one, in samples: how long the sound is heard.
qsizetype heardSpan(const std::vector<qint16> &samples, int level)
{
    const auto loud = [level](qint16 sample) { return std::abs(int(sample)) >= level; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    return first == samples.end() ? 0 : qsizetype(last.base() - first);
}

// What the server's silent sink plays, from now until samples() is called, as the chime's kind of samples.
class Recorder
{
public:
    Recorder()
    {
        // A short latency keeps the sink from playing ahead in long blocks.
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("--device=silent.monitor"), QStringLiteral("--latency-msec=20"),
                       QStringLiteral("--raw"), QStringLiteral("--format=s16ne"), QStringLiteral("--channels=1"),
                       QStringLiteral("--rate=%1").arg(kRate)});
        m_started = m_parec.waitForReadyRead(5000);
    }
    bool started() const { return m_started; }

    std::vector<qint16> samples()
    {
        m_parec.terminate();
        m_parec.waitForFinished();
        const QByteArray heard = m_parec.readAllStandardOutput();
        std::vector<qint16> samples(std::size_t(heard.size()) / sizeof(qint16));
        std::copy_n(heard.constData(), samples.size() * sizeof(qint16), reinterpret_cast<char *>(samples.data()));
        return samples;
    }

private:
    QProcess m_parec;
    bool m_started = false;
};

// The chime as the file holds it, at full volume; empty unless it has the recording's kind of samples.
std::vector<qint16> chimeSamples()
{
    Mp3Decoder decoder(QFile::encodeName(alertSoundPath()), 1.0);
    std::vector<qint16> samples;
    if (decoder.rate() != kRate || decoder.channels() != 1)
        return samples;
    qint16 piece[4096];
    while (const std::size_t filled = decoder.read(piece, sizeof piece))
        samples.insert(samples.end(), piece, piece + filled / sizeof(qint16));
    return samples;
}

} // namespace

class TestAlertSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void playsTheFileOnceAtHalfVolume();
    void playingAgainStartsOver();
    void silentForAFileWithoutSound_data();
    void silentForAFileWithoutSound();
    void nothingWaitsForAServerThatDoesNotAnswer_data();
    void nothingWaitsForAServerThatDoesNotAnswer();

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QByteArray m_serverAddress;
    std::vector<qint16> m_chime;
};

void TestAlertSound::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
        QFAIL("pulseaudio is not installed: scripts/setup installs it");
    m_chime = chimeSamples();
    QVERIFY(m_chime.size() > kRate); // the decoder reads the chime: it is the measure of what is heard

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    m_server.setProcessEnvironment(environment);
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                    QStringLiteral("--use-pid-file=no"),
                    QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket,
                    QStringLiteral("--load=module-null-sink sink_name=silent")});
    m_serverAddress = "unix:" + QFile::encodeName(socket);
    QVERIFY(QTest::qWaitFor([&socket] { return QFile::exists(socket); }, 10000));
}

void TestAlertSound::init()
{
    qputenv("PULSE_SERVER", m_serverAddress);
}

void TestAlertSound::cleanupTestCase()
{
    m_server.terminate();
    m_server.waitForFinished();
}

void TestAlertSound::playsTheFileOnceAtHalfVolume()
{
    Recorder recorder;
    QVERIFY(recorder.started());
    ModuleAlertSound sound;
    sound.play(alertSoundPath());
    int most = 0;
    QVERIFY(soundPlaysOut(most));
    QCOMPARE(most, 1);

    const std::vector<qint16> heard = recorder.samples();
    const double ratio = double(peakOf(heard)) / peakOf(m_chime);
    QVERIFY2(ratio > 0.45 && ratio < 0.55, qPrintable(QString::number(ratio)));
    // Once: as long as the chime itself, neither cut short nor heard twice.
    const qsizetype span = heardSpan(heard, peakOf(heard) / 8) - heardSpan(m_chime, peakOf(m_chime) / 8);
    QVERIFY2(std::abs(span) < kRate / 20, qPrintable(QString::number(span)));
}

void TestAlertSound::playingAgainStartsOver()
{
    Recorder recorder;
    QVERIFY(recorder.started());
    ModuleAlertSound sound;
    sound.play(alertSoundPath());
    QVERIFY(QTest::qWaitFor([] { return streams() > 0; }, 2000));
    QTest::qWait(1000);
    sound.play(alertSoundPath());
    int most = 0;
    QVERIFY(soundPlaysOut(most));
    QCOMPARE(most, 1);

    // The chime's first second, cut off, then the whole chime.
    const std::vector<qint16> heard = recorder.samples();
    const qsizetype span = heardSpan(heard, peakOf(heard) / 8) - heardSpan(m_chime, peakOf(m_chime) / 8);
    QVERIFY2(span > kRate / 2 && span < kRate * 3 / 2, qPrintable(QString::number(span)));
}

void TestAlertSound::silentForAFileWithoutSound_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not an mp3") << QByteArray("会议\r\n带上笔记本\r\n").repeated(200);
}

void TestAlertSound::silentForAFileWithoutSound()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(QStringLiteral("1.mp3"));
    QFile::remove(path);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ModuleAlertSound sound;
    sound.play(path);
    QVERIFY(!QTest::qWaitFor([] { return streams() > 0; }, 1000));
    // The player is still there for the next sound.
    sound.play(alertSoundPath());
    QVERIFY(QTest::qWaitFor([] { return streams() > 0; }, 2000));
}

void TestAlertSound::nothingWaitsForAServerThatDoesNotAnswer_data()
{
    QTest::addColumn<bool>("listening");
    QTest::newRow("no server") << false;
    QTest::newRow("a server that never answers") << true;
}

void TestAlertSound::nothingWaitsForAServerThatDoesNotAnswer()
{
    QFETCH(bool, listening);
    const QString socket = m_dir.filePath(QStringLiteral("mute"));
    QLocalServer mute;
    if (listening)
        QVERIFY(mute.listen(socket));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));

    QElapsedTimer waited;
    auto sound = std::make_unique<ModuleAlertSound>();
    waited.start();
    sound->play(alertSoundPath());
    QVERIFY2(waited.elapsed() < 500, "play() waited for the server");
    QTest::qWait(500);
    sound->play(alertSoundPath()); // again, while the first still waits
    waited.restart();
    sound.reset();
    QVERIFY2(waited.elapsed() < 500, "the player waited for the server as it went");
}

QTEST_GUILESS_MAIN(TestAlertSound)
#include "tst_alertsound.moc"
