// Creates a starter reminder database: the table 日程提醒 with its columns, and nothing else.
// The program itself never creates the database; this tool refuses to touch an existing file.

#include "store/schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "orvane-mkdb: %s\n", qUtf8Printable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString path = args.size() > 1 ? args.at(1) : QStringLiteral("data.mdb");
    const QFileInfo file(path);
    if (file.exists())
        return fail(QStringLiteral("%1 already exists; it is left as it is").arg(file.absoluteFilePath()));

    QUrl address = QUrl::fromLocalFile(file.absoluteFilePath());
    address.setQuery(QStringLiteral("mode=rwc"));
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(address.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (!db.open()) {
            status = fail(db.lastError().text());
        } else {
            QSqlQuery query(db);
            db.transaction();
            for (const QString &statement : reminderTableStatements()) {
                if (!query.exec(statement)) {
                    status = fail(query.lastError().text());
                    break;
                }
            }
            if (status == 0)
                db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    if (status != 0)
        QFile::remove(file.absoluteFilePath());
    else
        std::printf("created %s\n", qUtf8Printable(file.absoluteFilePath()));
    return status;
}
