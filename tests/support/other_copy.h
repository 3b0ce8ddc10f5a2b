#pragma once
// Another copy of the program on the same history file: the file is made first, then held in an
// exclusive transaction (as a copy writing holds it) until released.

#include "history.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

class OtherCopy
{
public:
    explicit OtherCopy(const QString &path)
    {
        {
            History made;
            m_ok = made.open(path);
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        db.setDatabaseName(path);
        m_ok = m_ok && db.open();
    }
    ~OtherCopy()
    {
        QSqlDatabase::database(kConnection, false).close();
        QSqlDatabase::removeDatabase(kConnection);
    }
    OtherCopy(const OtherCopy &) = delete;
    OtherCopy &operator=(const OtherCopy &) = delete;

    // Whether the file was made and opened.
    bool ok() const { return m_ok; }
    bool hold() { return exec(QStringLiteral("BEGIN EXCLUSIVE")); }
    bool release() { return exec(QStringLiteral("COMMIT")); }

private:
    bool exec(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(kConnection, false));
        return query.exec(statement);
    }

    static inline const QString kConnection = QStringLiteral("other copy");
    bool m_ok = false;
};
