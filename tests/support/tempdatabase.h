#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh starter data.mdb, made by orvane-db init as scripts/run makes one, in a directory of its own.
class TempDatabase
{
public:
    TempDatabase();
    QString path() const { return m_dir.filePath(QStringLiteral("data.mdb")); }
    QString dir() const { return m_dir.path(); }
    // Runs SQL on the file with the sqlite3 shell, as another program would; returns its output.
    QString sql(const QString &statements) const;

private:
    QTemporaryDir m_dir;
};
