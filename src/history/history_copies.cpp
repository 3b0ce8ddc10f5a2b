// Telling a running copy of the program from a dead one: each copy that records holds a lock file
// of its own beside the history while it runs (QLockFile knows a lock whose process has ended, on
// this host, as stale), and names it in the lotteries it records.
#include "history.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

using namespace history_state;

namespace {

// history.sqlite3-copies/<copy>.lock
QString copiesFolder(const QString &path)
{
    return path + QStringLiteral("-copies");
}

QString lockPath(const QString &path, const QString &copy)
{
    return copiesFolder(path) + u'/' + copy + QStringLiteral(".lock");
}

} // namespace

bool History::holdCopyLock()
{
    m_copy = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString folder = copiesFolder(m_path);
    if (!QDir().mkpath(folder))
        qCWarning(lcHistory, "cannot make %s", qPrintable(QDir::toNativeSeparators(folder)));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_copyLock = std::make_unique<QLockFile>(lockPath(m_path, m_copy));
    // Stale only when its process has ended, however long this copy runs.
    m_copyLock->setStaleLockTime(0);
    if (m_copyLock->tryLock(0))
        return true;
    qCWarning(lcHistory, "cannot hold %s (error %d): other copies may take this one's lotteries for abandoned",
              qPrintable(QDir::toNativeSeparators(m_copyLock->fileName())), int(m_copyLock->error()));
    m_copyLock.reset();
    return false;
}

// A copy of an earlier version named no lock: it cannot be told from a dead one, and is taken as
// one.
bool History::copyRuns(const QString &copy) const
{
    if (copy == m_copy)
        return true;
    if (copy.isEmpty() || copy.contains(u'/') || !QFileInfo::exists(lockPath(m_path, copy)))
        return false;
    QLockFile lock(lockPath(m_path, copy));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    // A lock that cannot be judged (no right to read it) is taken for a running copy.
    return true;
}

int History::abandonDeadCopies()
{
    if (!m_open || m_readOnly)
        return -1;
    QList<std::pair<qint64, QString>> open;
    {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.prepare(QStringLiteral("SELECT id, recorder FROM lottery WHERE state = ?"));
        query.addBindValue(kRecording);
        if (!query.exec())
            return -1;
        while (query.next())
            open.append({query.value(0).toLongLong(), query.value(1).toString()});
    }
    int marked = 0;
    for (const auto &[id, copy] : open) {
        if (copyRuns(copy))
            continue;
        if (!abandon(id))
            continue;
        qCInfo(lcHistory, "lottery %lld was left by a copy that no longer runs: marked %s", id,
               qPrintable(kAbandoned));
        ++marked;
    }
    // The locks dead copies left behind go too (judging one removes it when it is stale).
    for (const QString &file : QDir(copiesFolder(m_path)).entryList({QStringLiteral("*.lock")}, QDir::Files))
        copyRuns(QFileInfo(file).completeBaseName());
    return marked;
}
