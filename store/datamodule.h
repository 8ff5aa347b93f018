#pragma once

#include "store/connection.h"
#include "store/datasource.h"
#include "store/query.h"

// The data module: the one connection to the reminder database and the five query objects through
// which the rest of the program reaches the table. The program has one of it, `dm`.
class Tdm
{
public:
    explicit Tdm(const QString &databasePath = QStringLiteral("data.mdb"),
                 const QString &uriOptions = QStringLiteral("mode=rw"));

    Connection conn;
    Query qry1;             // the insert
    Query qry2;             // all rows, shown by the manager's grids
    DataSource DataSource1; // the grids' model of qry2
    Query qry3;             // the update
    Query qry4;             // the reminders due in the current minute
    Query qry5;             // today's reminders
};
