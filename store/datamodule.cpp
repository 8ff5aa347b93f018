#include "store/datamodule.h"

namespace {
const QString kDueSql = QStringLiteral("SELECT * FROM 日程提醒 WHERE 时间 =:a");
}

Tdm::Tdm(const QString &databasePath, const QString &uriOptions)
    : conn(databasePath, uriOptions)
    , qry1(QStringLiteral("qry1"), conn)
    , qry2(QStringLiteral("qry2"), conn)
    , DataSource1(qry2)
    , qry3(QStringLiteral("qry3"), conn)
    , qry4(QStringLiteral("qry4"), conn)
    , qry5(QStringLiteral("qry5"), conn)
{
    qry2.setSql(QStringLiteral("select * from 日程提醒"));
    qry4.setSql(kDueSql);
    qry5.setSql(kDueSql);
}
