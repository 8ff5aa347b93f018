#include "core/apptitle.h"
#include "core/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void chosenFromTheLocale_data();
    void chosenFromTheLocale();
    void resourcesPickedInTheTextsLanguage_data();
    void resourcesPickedInTheTextsLanguage();
    void englishTranslatesTheTexts();
    void translationsAreComplete();
};

void TestLanguage::chosenFromTheLocale_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<Language>("language");
    QTest::newRow("Chinese") << QStringList{"zh-CN", "zh"} << Language::Chinese;
    QTest::newRow("Taiwan") << QStringList{"zh-TW"} << Language::Chinese;
    QTest::newRow("English") << QStringList{"en-US", "en"} << Language::English;
    QTest::newRow("British") << QStringList{"en-GB"} << Language::English;
    QTest::newRow("German") << QStringList{"de-DE", "de"} << Language::English;
    QTest::newRow("Chinese after an unknown") << QStringList{"fr-FR", "zh-CN"} << Language::Chinese;
    QTest::newRow("C locale") << QStringList{"C"} << Language::Chinese;
    QTest::newRow("none") << QStringList{} << Language::Chinese;
}

void TestLanguage::chosenFromTheLocale()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(Language, language);
    QCOMPARE(textLanguage(uiLanguages), language);
}

void TestLanguage::resourcesPickedInTheTextsLanguage_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("expected"); // empty: the desktop's own locale, kept as it is
    QTest::newRow("Chinese desktop") << Language::Chinese << "zh_CN"
                                     << "";
    QTest::newRow("C locale") << Language::Chinese << "C"
                              << "";
    QTest::newRow("English desktop") << Language::English << "en_US"
                                     << "";
    QTest::newRow("British desktop") << Language::English << "en_GB"
                                     << "";
    QTest::newRow("German desktop, English texts") << Language::English << "de_DE"
                                                   << "en";
    QTest::newRow("English desktop, Chinese texts") << Language::Chinese << "en_US"
                                                    << "zh_CN";
}

// The English pictures are picked by the resource locale's language: it must be English exactly when the
// texts are, and otherwise disturb the desktop's locale as little as it can.
void TestLanguage::resourcesPickedInTheTextsLanguage()
{
    QFETCH(Language, language);
    QFETCH(QString, system);
    QFETCH(QString, expected);
    const QLocale picked = resourceLocale(language, QLocale(system));
    if (expected.isEmpty())
        QCOMPARE(picked, QLocale(system));
    else
        QCOMPARE(picked.name().left(expected.size()), expected);
    QCOMPARE(picked.language() == QLocale::English, language == Language::English);
}

// Chinese is the source and loads nothing; English replaces the texts kept in constants too.
void TestLanguage::englishTranslatesTheTexts()
{
    QTranslator chinese;
    QVERIFY(!loadTranslation(chinese, Language::Chinese));
    QTranslator english;
    QVERIFY(loadTranslation(english, Language::English));
    QCOMPARE(kApplicationTitle.text(), QStringLiteral("Orvane日程提醒v1.0"));
    QCoreApplication::installTranslator(&english);
    QCOMPARE(kApplicationTitle.text(), QStringLiteral("Orvane Reminder v1.0"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "设置"), QStringLiteral("Setup"));
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(kApplicationTitle.text(), QStringLiteral("Orvane日程提醒v1.0"));
}

// Every text in every translation has a translation, and the placeholders of the source.
void TestLanguage::translationsAreComplete()
{
    const QStringList files = QDir(QStringLiteral(ORVANE_TRANSLATIONS)).entryList({"*.ts"});
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QFile file(QStringLiteral(ORVANE_TRANSLATIONS "/") + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader ts(&file);
        QString source;
        while (!ts.atEnd()) {
            if (ts.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (ts.name() == QLatin1String("source")) {
                source = ts.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (ts.name() == QLatin1String("translation")) {
                const QString type = ts.attributes().value(QLatin1String("type")).toString();
                const QString translation = ts.readElementText(QXmlStreamReader::IncludeChildElements);
                QVERIFY2(type.isEmpty() && !translation.isEmpty(), qPrintable(name + QLatin1String(": ") + source));
                for (const char *placeholder : {"%1", "%2", "%3"})
                    QVERIFY2(source.contains(QLatin1String(placeholder))
                                 == translation.contains(QLatin1String(placeholder)),
                             qPrintable(name + QLatin1String(": ") + source));
            }
        }
        QVERIFY2(!ts.hasError(), qPrintable(ts.errorString()));
    }
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
