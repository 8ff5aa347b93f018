#include "core/apperror.h"
#include "store/datamodule.h"
#include "tests/support/tempdatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void insert(Tdm &dm, const QString &subject, const QString &content, const QVariant &time, const QString &date)
{
    dm.qry1.close();
    dm.qry1.setSql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)"));
    dm.qry1.bind(QStringLiteral("a"), subject);
    dm.qry1.bind(QStringLiteral("b"), content);
    dm.qry1.bind(QStringLiteral("c"), time);
    dm.qry1.bind(QStringLiteral("d"), date);
    dm.qry1.execSql();
}

int openDue(Tdm &dm, const QString &due)
{
    dm.qry4.close();
    dm.qry4.bind(0, due);
    dm.qry4.open();
    return dm.qry4.recordCount();
}

QString errorOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void dueSelectMatchesToTheSecond_data();
    void dueSelectMatchesToTheSecond();
    void invalidTimeIsRefused_data();
    void invalidTimeIsRefused();
    void timeIsStoredCanonicallyInEveryStatementShape_data();
    void timeIsStoredCanonicallyInEveryStatementShape();
    void idsAreNeverReused();
    void updateOfVanishedRowChangesNothing();
    void deleteRefusesEmptyAndClosed();
    void deleteRemovesExactlyTheCurrentRow();
    void unusableFileIsReportedAndUntouched_data();
    void unusableFileIsReportedAndUntouched();
    void missingFileIsRetriedByEveryStatement();
    void paramsFollowTheSqlText();
    void fieldErrors();
    void largeResultIsPagedWithExactCount();
};

void TestStore::roundTrip_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::newRow("quotes") << "it's \"quoted\""
                            << "'; drop table 日程提醒; --";
    QTest::newRow("commas") << "a,b,c"
                            << ",,,";
    QTest::newRow("line breaks") << "two\r\nlines"
                                 << "\r\n  body with blanks  \r\n";
    QTest::newRow("markers") << ":a :b"
                             << "colon:value";
    QTest::newRow("empty") << ""
                           << "";
}

void TestStore::roundTrip()
{
    QFETCH(QString, subject);
    QFETCH(QString, content);
    TempDatabase db;
    Tdm dm(db.path());
    insert(dm, subject, content, QStringLiteral("2009-03-03 09:30:00"), QStringLiteral("2009-03-03"));

    dm.qry5.close();
    dm.qry5.setSql(QStringLiteral("select 主题,时间 from 日程提醒 where 日期=:a"));
    dm.qry5.bind(QStringLiteral("a"), QStringLiteral("2009-03-03"));
    dm.qry5.open();
    QCOMPARE(dm.qry5.recordCount(), 1);
    QCOMPARE(dm.qry5.fieldText(QStringLiteral("主题")), subject);
    QCOMPARE(dm.qry5.fieldDateTime(QStringLiteral("时间")).toString(QStringLiteral("hh:mm:ss")),
             QStringLiteral("09:30:00"));
    dm.qry2.open();
    QCOMPARE(dm.qry2.fieldText(QStringLiteral("内容")), content);
}

void TestStore::dueSelectMatchesToTheSecond_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("due");
    QTest::newRow("exact minute") << QVariant("2009-03-03 09:30:00") << 1;
    QTest::newRow("seconds other than 00") << QVariant("2009-03-03 09:30:15") << 0;
    QTest::newRow("one-digit fields made canonical") << QVariant("2009-3-3 9:30") << 1;
    QTest::newRow("date-time value") << QVariant(QDateTime(QDate(2009, 3, 3), QTime(9, 30))) << 1;
    QTest::newRow("another minute") << QVariant("2009-03-03 09:31:00") << 0;
}

void TestStore::dueSelectMatchesToTheSecond()
{
    QFETCH(QVariant, stored);
    QFETCH(int, due);
    TempDatabase db;
    Tdm dm(db.path());
    insert(dm, QStringLiteral("s"), QStringLiteral("c"), stored, QStringLiteral("2009-03-03"));
    QCOMPARE(openDue(dm, QStringLiteral("2009-03-03 09:30:00")), due);
    if (due)
        QCOMPARE(dm.qry4.fieldText(QStringLiteral("主题")), QStringLiteral("s"));
}

void TestStore::invalidTimeIsRefused_data()
{
    QTest::addColumn<QVariant>("time");
    QTest::newRow("not a date") << QVariant("tomorrow");
    QTest::newRow("30 February") << QVariant("2009-02-30 09:30:00");
    QTest::newRow("hour 24") << QVariant("2009-03-03 24:00:00");
    QTest::newRow("missing") << QVariant();
}

void TestStore::invalidTimeIsRefused()
{
    QFETCH(QVariant, time);
    TempDatabase db;
    Tdm dm(db.path());
    QVERIFY(!errorOf([&] { insert(dm, "s", "c", time, "2009-03-03"); }).isEmpty());
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QStringLiteral("0"));

    insert(dm, "s", "c", QStringLiteral("2009-03-03 09:30:00"), "2009-03-03");
    dm.qry3.setSql(QStringLiteral("update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e"));
    dm.qry3.bind(QStringLiteral("a"), "t");
    dm.qry3.bind(QStringLiteral("b"), "c");
    dm.qry3.bind(QStringLiteral("c"), "2009-03-03");
    dm.qry3.bind(QStringLiteral("d"), time);
    dm.qry3.bind(QStringLiteral("e"), 1);
    QVERIFY(!errorOf([&] { dm.qry3.execSql(); }).isEmpty());
    QCOMPARE(db.sql(QStringLiteral("select 主题||'|'||时间 from 日程提醒")), QStringLiteral("s|2009-03-03 09:30:00"));
}

void TestStore::timeIsStoredCanonicallyInEveryStatementShape_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("insert, spaced") << "INSERT  INTO 日程提醒 ( 主题 , 时间 ) VALUES ( :s , :t )";
    QTest::newRow("insert, time first") << "insert into 日程提醒(时间,主题)values(:t,:s)";
    QTest::newRow("insert, quoted table") << "insert into \"日程提醒\"(主题,时间) values(:s,:t)";
    QTest::newRow("update, spaced") << "update 日程提醒 set 主题=:s, 时间 = :t";
    QTest::newRow("update, tight") << "update 日程提醒 set 时间=:t,主题=:s";
}

// A loose date and time is stored in the one form the due select compares with, whatever the spacing
// and order of the statement that stores it.
void TestStore::timeIsStoredCanonicallyInEveryStatementShape()
{
    QFETCH(QString, sql);
    TempDatabase db;
    Tdm dm(db.path());
    insert(dm, "old", "", QStringLiteral("2001-01-01 00:00:00"), "2001-01-01");
    dm.qry3.setSql(sql);
    dm.qry3.bind(QStringLiteral("s"), "new");
    dm.qry3.bind(QStringLiteral("t"), "2009-3-3 9:30");
    dm.qry3.execSql();
    QCOMPARE(db.sql(QStringLiteral("select 时间 from 日程提醒 where 主题='new'")),
             QStringLiteral("2009-03-03 09:30:00"));
}

void TestStore::idsAreNeverReused()
{
    TempDatabase db;
    Tdm dm(db.path());
    insert(dm, "a", "", "2009-03-03 09:30:00", "2009-03-03");
    insert(dm, "b", "", "2009-03-03 09:30:00", "2009-03-03");
    dm.qry2.open();
    dm.qry2.next();
    QVERIFY(dm.qry2.deleteCurrent());
    insert(dm, "c", "", "2009-03-03 09:30:00", "2009-03-03");
    QCOMPARE(db.sql(QStringLiteral("select group_concat(id||主题, ',') from 日程提醒")), QStringLiteral("1a,3c"));
}

void TestStore::updateOfVanishedRowChangesNothing()
{
    TempDatabase db;
    Tdm dm(db.path());
    insert(dm, "a", "", "2009-03-03 09:30:00", "2009-03-03");
    dm.qry2.open();
    const QVariant id = dm.qry2.fieldValue(QStringLiteral("id"));
    db.sql(QStringLiteral("delete from 日程提醒"));
    dm.qry3.setSql(QStringLiteral("update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e"));
    dm.qry3.bind(QStringLiteral("a"), "x");
    dm.qry3.bind(QStringLiteral("b"), "x");
    dm.qry3.bind(QStringLiteral("c"), "2009-03-04");
    dm.qry3.bind(QStringLiteral("d"), "2009-03-04 10:00:00");
    dm.qry3.bind(QStringLiteral("e"), id);
    QCOMPARE(dm.qry3.execSql(), 0);
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QStringLiteral("0"));
    // and a deletion that finds its row gone says so
    QVERIFY(!dm.qry2.deleteCurrent());
}

void TestStore::deleteRefusesEmptyAndClosed()
{
    TempDatabase db;
    Tdm dm(db.path());
    QCOMPARE(errorOf([&] { dm.qry2.deleteCurrent(); }),
             QStringLiteral("qry2: Cannot perform this operation on a closed dataset"));
    dm.qry2.open();
    QCOMPARE(errorOf([&] { dm.qry2.deleteCurrent(); }),
             QStringLiteral("qry2: Cannot perform this operation on an empty dataset"));
}

void TestStore::deleteRemovesExactlyTheCurrentRow()
{
    TempDatabase db;
    Tdm dm(db.path());
    for (const char *subject : {"a", "b", "c"})
        insert(dm, subject, "", "2009-03-03 09:30:00", "2009-03-03");
    dm.qry2.open();
    QSignalSpy removed(&dm.DataSource1, &QAbstractItemModel::rowsRemoved);
    dm.qry2.setCurrentRow(1);
    QVERIFY(dm.qry2.deleteCurrent());
    QCOMPARE(removed.count(), 1);
    QCOMPARE(dm.DataSource1.rowCount(), 2);
    QCOMPARE(db.sql(QStringLiteral("select group_concat(主题, ',') from 日程提醒")), QStringLiteral("a,c"));
}

void TestStore::unusableFileIsReportedAndUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("uriOptions");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "mode=rw"
                                    << "不是可用的数据库文件";
    QTest::newRow("no table") << QByteArray() << "mode=rw"
                              << "没有表";
    QTest::newRow("read-only") << QByteArray("starter") << "mode=ro"
                               << "只读";
}

void TestStore::unusableFileIsReportedAndUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, uriOptions);
    QFETCH(QString, fragment);
    TempDatabase db;
    if (content.isEmpty()) {
        QFile::remove(db.path());
        db.sql(QStringLiteral("create table other(x)"));
    } else if (content != "starter") {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    const QByteArray before = digest(db.path());
    Tdm dm(db.path(), uriOptions);
    const QString message = errorOf([&] { dm.conn.open(); });
    QVERIFY2(message.contains(fragment) && message.contains(db.path()), qPrintable(message));
    QVERIFY(!dm.conn.isOpen());
    QVERIFY(!errorOf([&] { openDue(dm, "2009-03-03 09:30:00"); }).isEmpty());
    QCOMPARE(digest(db.path()), before);
}

void TestStore::missingFileIsRetriedByEveryStatement()
{
    TempDatabase db;
    const QString path = db.path();
    QFile::rename(path, path + ".away");
    Tdm dm(path);
    QVERIFY(errorOf([&] { dm.conn.open(); }).contains(QStringLiteral("找不到数据库文件")));
    QVERIFY(errorOf([&] { openDue(dm, "2009-03-03 09:30:00"); }).contains(path));
    QVERIFY(!QFile::exists(path));
    QFile::rename(path + ".away", path);
    QCOMPARE(openDue(dm, "2009-03-03 09:30:00"), 0);
}

void TestStore::paramsFollowTheSqlText()
{
    TempDatabase db;
    Tdm dm(db.path());
    QCOMPARE(dm.qry4.paramNames(), QStringList{"a"});
    dm.qry5.setSql(QStringLiteral("select 主题,时间 from 日程提醒 where 日期=:day and 主题 <> ':x' and 主题 <> :day"));
    QCOMPARE(dm.qry5.paramNames(), QStringList{"day"});
    QCOMPARE(errorOf([&] { dm.qry5.bind(QStringLiteral("a"), 1); }), QStringLiteral("qry5: Parameter 'a' not found"));
    QVERIFY(!errorOf([&] { dm.qry5.bind(1, 1); }).isEmpty());
}

void TestStore::fieldErrors()
{
    TempDatabase db;
    db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values(null,'c',null,'2009-03-03')"));
    Tdm dm(db.path());
    dm.qry2.open();
    QCOMPARE(errorOf([&] { dm.qry2.fieldText(QStringLiteral("主题")); }),
             QStringLiteral("Could not convert variant of type (Null) into type (String)"));
    QVERIFY(!errorOf([&] { dm.qry2.fieldDateTime(QStringLiteral("时间")); }).isEmpty());
    QCOMPARE(errorOf([&] { dm.qry2.fieldText(QStringLiteral("nope")); }),
             QStringLiteral("qry2: Field 'nope' not found"));
    dm.qry2.close();
    QCOMPARE(errorOf([&] { dm.qry2.recordCount(); }),
             QStringLiteral("qry2: Cannot perform this operation on a closed dataset"));
}

void TestStore::largeResultIsPagedWithExactCount()
{
    TempDatabase db;
    db.sql(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<1000) "
                          "insert into 日程提醒(主题,内容,时间,日期) "
                          "select 'r'||i,'',printf('2009-03-03 %02d:%02d:00',i/60%24,i%60),'2009-03-03' from n"));
    Tdm dm(db.path());
    dm.qry2.open();
    QCOMPARE(dm.qry2.recordCount(), 1000);
    QVERIFY(dm.DataSource1.rowCount() < 1000);
    int seen = 0;
    for (dm.qry2.first(); !dm.qry2.eof(); dm.qry2.next())
        QCOMPARE(dm.qry2.fieldText(QStringLiteral("主题")), QStringLiteral("r%1").arg(++seen));
    QCOMPARE(seen, 1000);
    QCOMPARE(dm.DataSource1.rowCount(), 1000);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
