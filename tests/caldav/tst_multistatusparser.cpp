#include "caldav/multistatusparser.h"

#include <QTest>

namespace {

// One line per resource, naming only what the parser found, then the sync token.
QString describe(const Multistatus &multistatus)
{
    QStringList lines;
    for (const DavResource &r : multistatus.resources) {
        QStringList parts{r.href};
        if (r.status)
            parts << QString::number(r.status);
        if (r.isCollection)
            parts << QStringLiteral("collection");
        if (r.isCalendar)
            parts << QStringLiteral("calendar");
        if (!r.displayName.isEmpty())
            parts << QStringLiteral("name=") + r.displayName;
        if (!r.etag.isEmpty())
            parts << QStringLiteral("etag=") + r.etag;
        if (!r.ctag.isEmpty())
            parts << QStringLiteral("ctag=") + r.ctag;
        if (!r.principal.isEmpty())
            parts << QStringLiteral("principal=") + r.principal;
        if (!r.calendarHomes.isEmpty())
            parts << QStringLiteral("homes=") + r.calendarHomes.join(QLatin1Char(','));
        if (!r.components.isEmpty())
            parts << QStringLiteral("components=") + r.components.join(QLatin1Char(','));
        if (r.supportsSyncCollection)
            parts << QStringLiteral("sync");
        if (!r.calendarData.isEmpty())
            parts << QStringLiteral("data=") + QString::fromUtf8(r.calendarData).simplified();
        lines << parts.join(QLatin1Char(' '));
    }
    if (!multistatus.syncToken.isEmpty())
        lines << QStringLiteral("token=") + multistatus.syncToken;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestMultistatusParser : public QObject
{
    Q_OBJECT

private slots:
    void readsServersAnswers_data();
    void readsServersAnswers();
    void refusesWhatIsNoMultistatus_data();
    void refusesWhatIsNoMultistatus();
    void findsDavCondition_data();
    void findsDavCondition();
};

void TestMultistatusParser::readsServersAnswers_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("expected");

    // Radicale: DAV: as the default namespace, removals as a response status.
    QTest::newRow("radicale sync-collection")
        << QByteArray("<?xml version='1.0' encoding='utf-8'?>\n"
                      "<multistatus xmlns=\"DAV:\"><response><href>/alice/cal/a.ics</href><propstat><prop>"
                      "<getetag>\"e1\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
                      "<response><href>/alice/cal/b.ics</href><status>HTTP/1.1 404 Not Found</status></response>"
                      "<sync-token>http://radicale.org/ns/sync/abc</sync-token></multistatus>")
        << QStringLiteral("/alice/cal/a.ics etag=\"e1\"\n/alice/cal/b.ics 404\n"
                          "token=http://radicale.org/ns/sync/abc");

    // Nextcloud: d:, cal: and cs: prefixes; what a propstat could not find (404) is not taken.
    QTest::newRow("nextcloud calendar home")
        << QByteArray("<?xml version=\"1.0\"?>\n"
                      "<d:multistatus xmlns:d=\"DAV:\" xmlns:s=\"http://sabredav.org/ns\" "
                      "xmlns:cal=\"urn:ietf:params:xml:ns:caldav\" xmlns:cs=\"http://calendarserver.org/ns/\">"
                      "<d:response><d:href>/remote.php/dav/calendars/bob/</d:href><d:propstat><d:prop>"
                      "<d:resourcetype><d:collection/></d:resourcetype></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                      "</d:propstat><d:propstat><d:prop><d:displayname/><cs:getctag/></d:prop>"
                      "<d:status>HTTP/1.1 404 Not Found</d:status></d:propstat></d:response>"
                      "<d:response><d:href>/remote.php/dav/calendars/bob/personal/</d:href><d:propstat><d:prop>"
                      "<d:resourcetype><d:collection/><cal:calendar/></d:resourcetype>"
                      "<d:displayname>Personal</d:displayname><cs:getctag>http://sabre.io/ns/sync/7</cs:getctag>"
                      "<cal:supported-calendar-component-set><cal:comp name=\"VEVENT\"/><cal:comp name=\"VTODO\"/>"
                      "</cal:supported-calendar-component-set><d:supported-report-set><d:supported-report><d:report>"
                      "<cal:calendar-multiget/></d:report></d:supported-report><d:supported-report><d:report>"
                      "<d:sync-collection/></d:report></d:supported-report></d:supported-report-set></d:prop>"
                      "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>"
                      "<d:response><d:href>/remote.php/dav/calendars/bob/inbox/</d:href><d:propstat><d:prop>"
                      "<d:resourcetype><d:collection/><cal:schedule-inbox/></d:resourcetype></d:prop>"
                      "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>")
        << QStringLiteral("/remote.php/dav/calendars/bob/ collection\n"
                          "/remote.php/dav/calendars/bob/personal/ collection calendar name=Personal "
                          "ctag=http://sabre.io/ns/sync/7 components=VEVENT,VTODO sync\n"
                          "/remote.php/dav/calendars/bob/inbox/ collection");

    // Apple: upper-case D:, namespaces declared on the property itself, calendar data in CDATA, a home on
    // another host, and a principal next to an <unauthenticated/> that is no href.
    QTest::newRow("apple multiget and principal")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<D:multistatus xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                      "<D:response><D:href>/1234/calendars/home/e%201.ics</D:href><D:propstat><D:prop>"
                      "<D:getetag>\"C=1@U=x\"</D:getetag><C:calendar-data><![CDATA[BEGIN:VCALENDAR\r\n"
                      "SUMMARY:会议 <a&b>\r\nEND:VCALENDAR\r\n]]></C:calendar-data></D:prop>"
                      "<D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>"
                      "<D:response><D:href>/1234/principal/</D:href><D:propstat><D:prop>"
                      "<current-user-principal xmlns=\"DAV:\"><href>/1234/principal/</href></current-user-principal>"
                      "<calendar-home-set xmlns=\"urn:ietf:params:xml:ns:caldav\">"
                      "<href xmlns=\"DAV:\">https://p01-caldav.icloud.com:443/1234/calendars/</href>"
                      "</calendar-home-set><getctag xmlns=\"http://calendarserver.org/ns/\">FT=-@RU=1</getctag>"
                      "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>"
                      "</D:multistatus>")
        << QStringLiteral("/1234/calendars/home/e%201.ics etag=\"C=1@U=x\" "
                          "data=BEGIN:VCALENDAR SUMMARY:会议 <a&b> END:VCALENDAR\n"
                          "/1234/principal/ ctag=FT=-@RU=1 principal=/1234/principal/ "
                          "homes=https://p01-caldav.icloud.com:443/1234/calendars/");

    // Elements of the same local name in another namespace are not DAV's, nor CalDAV's.
    QTest::newRow("foreign namespaces") << QByteArray(
        "<multistatus xmlns=\"DAV:\" xmlns:x=\"http://example.com/x\"><response>"
        "<href>/c/</href><propstat><prop><x:getetag>\"no\"</x:getetag><resourcetype>"
        "<x:calendar/><collection/></resourcetype><x:displayname>no</x:displayname></prop>"
        "<status>HTTP/1.1 200 OK</status></propstat></response><x:sync-token>no</x:sync-token>"
        "</multistatus>") << QStringLiteral("/c/ collection");

    // One status for several resources, as RFC 4918 allows.
    QTest::newRow("several hrefs, one status")
        << QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/c/1.ics</d:href>"
                      "<d:href>/c/2.ics</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>"
                      "<d:sync-token>t2</d:sync-token></d:multistatus>")
        << QStringLiteral("/c/1.ics 404\n/c/2.ics 404\ntoken=t2");

    // Properties split over two successful propstats are all kept.
    QTest::newRow("two successful propstats")
        << QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/c/</href>"
                      "<propstat><prop><displayname>A</displayname></prop><status>HTTP/1.1 200 OK</status>"
                      "</propstat><propstat><prop><getetag>\"2\"</getetag></prop><status>HTTP/1.1 200 OK"
                      "</status></propstat></response></multistatus>")
        << QStringLiteral("/c/ name=A etag=\"2\"");

    QTest::newRow("empty") << QByteArray("<d:multistatus xmlns:d=\"DAV:\"/>") << QString();
}

void TestMultistatusParser::readsServersAnswers()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, expected);
    const auto multistatus = MultistatusParser::parse(xml);
    QVERIFY(multistatus);
    QCOMPARE(describe(*multistatus), expected);
}

void TestMultistatusParser::refusesWhatIsNoMultistatus_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("html") << QByteArray("<html><body>Login</body></html>");
    QTest::newRow("multistatus outside DAV:") << QByteArray("<multistatus><response/></multistatus>");
    QTest::newRow("cut short") << QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/c/1.ics</href>");
    QTest::newRow("not well-formed") << QByteArray(
        "<multistatus xmlns=\"DAV:\"><response><href>/c/1.ics</response></multistatus>");
    QTest::newRow("text") << QByteArray("Internal Server Error");
}

void TestMultistatusParser::refusesWhatIsNoMultistatus()
{
    QFETCH(QByteArray, xml);
    QVERIFY(!MultistatusParser::parse(xml));
}

void TestMultistatusParser::findsDavCondition_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("found");
    QTest::newRow("radicale") << QByteArray("<?xml version='1.0' encoding='utf-8'?>\n"
                                            "<error xmlns=\"DAV:\"><valid-sync-token /></error>")
                              << true;
    QTest::newRow("prefixed, among others")
        << QByteArray("<d:error xmlns:d=\"DAV:\" xmlns:s=\"http://sabredav.org/ns\"><s:exception>x</s:exception>"
                      "<d:valid-sync-token/></d:error>")
        << true;
    QTest::newRow("other condition") << QByteArray("<error xmlns=\"DAV:\"><need-privileges/></error>") << false;
    QTest::newRow("other namespace") << QByteArray("<error xmlns=\"x:\"><valid-sync-token/></error>") << false;
    QTest::newRow("no xml") << QByteArray("Forbidden") << false;
}

void TestMultistatusParser::findsDavCondition()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, found);
    QCOMPARE(MultistatusParser::hasDavCondition(xml, u"valid-sync-token"), found);
}

QTEST_GUILESS_MAIN(TestMultistatusParser)
#include "tst_multistatusparser.moc"
