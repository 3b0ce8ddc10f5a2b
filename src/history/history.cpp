// Opening the history: the connection, the check for a damaged file, moving one aside, and the
// tables.
#include "history.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>

#include <atomic>

Q_LOGGING_CATEGORY(lcHistory, "amidakuji.history")

namespace {

// How long a write waits while another copy of the program writes.
constexpr int kBusyTimeoutMs = 5000;

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok ? code : -1;
}

// Another copy of the program holds the file a moment: waiting helps.
bool busyFault(const QSqlError &error)
{
    constexpr int kBusy = 5, kLocked = 6;
    const int code = primaryCode(error);
    return code == kBusy || code == kLocked;
}

// The file in use or the system short of something for a moment: moving the file aside would not
// help, and another copy may be using it.
bool passingFault(const QSqlError &error)
{
    constexpr int kNoMemory = 7, kInterrupted = 9, kIoError = 10, kFull = 13;
    const int code = primaryCode(error);
    return busyFault(error) || code == kNoMemory || code == kInterrupted || code == kIoError || code == kFull;
}

const char *const kTables[] = {
    "CREATE TABLE IF NOT EXISTS lottery ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " fixed_at INTEGER NOT NULL," // milliseconds since 1970-01-01 UTC
    " finished_at INTEGER,"       // the same; NULL until every path is traced
    " group_number INTEGER NOT NULL,"
    " memo TEXT NOT NULL,"
    " mode INTEGER NOT NULL,"
    " participants INTEGER NOT NULL,"
    " winners INTEGER NOT NULL,"
    " round INTEGER NOT NULL,"
    " state TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS participant ("
    " lottery_id INTEGER NOT NULL REFERENCES lottery(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL," // 0.. in name-box order
    " name TEXT NOT NULL,"
    " result TEXT NOT NULL,"
    " PRIMARY KEY (lottery_id, position)) WITHOUT ROWID",
    "CREATE INDEX IF NOT EXISTS lottery_newest ON lottery (fixed_at DESC, id DESC)",
};

// A file made by something else has tables of these names without these columns.
const char *const kColumnChecks[] = {
    "SELECT id, fixed_at, finished_at, group_number, memo, mode, participants, winners, round, state"
    " FROM lottery LIMIT 0",
    "SELECT lottery_id, position, name, result FROM participant LIMIT 0",
};

QString reasonOf(const QSqlError &error)
{
    return error.text().isEmpty() ? QStringLiteral("unknown error") : error.text();
}

// The name a damaged file is moved to: history.sqlite3.damaged-20261207-134405, with -2, -3..
// after it when that name is taken.
QString asideName(const QString &path)
{
    const QString base = path + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal")); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

} // namespace

History::History()
{
    static std::atomic<int> count{0};
    m_connection = QStringLiteral("amidakuji.history.%1").arg(++count);
}

History::~History()
{
    closeConnection();
}

QString History::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/amidakuji/history.sqlite3");
}

void History::closeConnection()
{
    m_open = false;
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool History::failed(const QString &what, const QString &reason) const
{
    m_error = QStringLiteral("%1: %2").arg(what, reason);
    qCWarning(lcHistory, "%s (%s)", qPrintable(m_error), qPrintable(QDir::toNativeSeparators(m_path)));
    return false;
}

bool History::open(const QString &path)
{
    closeConnection();
    m_path = path;
    m_notice.clear();
    m_error.clear();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder)),
                      QStringLiteral("mkdir failed"));

    Opening first = tryOpen(path);
    // Another copy making or checking the file at this moment can hold it longer than a single
    // step waits for (SQLite does not wait for the lock a change of journal needs).
    const QDeadlineTimer deadline(2 * kBusyTimeoutMs);
    while (first == Opening::Busy && !deadline.hasExpired()) {
        QThread::msleep(20);
        first = tryOpen(path);
    }
    if (first == Opening::Done) {
        m_error.clear();
        return m_open = true;
    }
    if (first != Opening::Damaged) {
        closeConnection();
        return false;
    }

    // Damaged: the file and its write-ahead log go aside together, so that the log cannot be
    // replayed into the new file and the pair can still be looked at.
    closeConnection();
    const QString moved = asideName(path);
    if (!QFile::rename(path, moved))
        return failed(QStringLiteral("cannot move the damaged history aside"),
                      QStringLiteral("renaming to %1 failed").arg(QDir::toNativeSeparators(moved)));
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, moved + suffix))
            return failed(QStringLiteral("cannot move the damaged history's %1 file aside").arg(suffix),
                          QStringLiteral("renaming failed"));
    }
    qCWarning(lcHistory, "damaged history %s moved to %s", qPrintable(QDir::toNativeSeparators(path)),
              qPrintable(QDir::toNativeSeparators(moved)));
    if (tryOpen(path) != Opening::Done) {
        closeConnection();
        return false;
    }
    m_notice = QStringLiteral("抽選の履歴 %1 が開けないか壊れていたため、%2 に移して新しい履歴を始めました。")
                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(moved));
    m_error.clear();
    return m_open = true;
}

History::Opening History::tryOpen(const QString &path)
{
    closeConnection();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid()) {
        failed(QStringLiteral("no SQLite driver for Qt (install libqt6sql6-sqlite)"), reasonOf(db.lastError()));
        return Opening::Failed;
    }
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    const auto fault = [this](const QString &what, const QSqlError &error) {
        failed(what, reasonOf(error));
        return busyFault(error) ? Opening::Busy : passingFault(error) ? Opening::Failed : Opening::Damaged;
    };
    if (!db.open())
        return fault(QStringLiteral("cannot open the history"), db.lastError());

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return fault(QStringLiteral("cannot check the history"), query.lastError());
    if (!query.next() || query.value(0).toString() != QLatin1String("ok")) {
        failed(QStringLiteral("the history is damaged"), query.value(0).toString());
        return Opening::Damaged;
    }
    // Readers and one writer at a time, from any number of copies of the program; a killed
    // writer's transaction is rolled back at the next opening.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return fault(QStringLiteral("cannot set the history's journal"), query.lastError());
    if (!query.next() || query.value(0).toString() != QLatin1String("wal"))
        qCWarning(lcHistory, "the history keeps journal mode %s", qPrintable(query.value(0).toString()));
    if (!query.exec(QStringLiteral("PRAGMA foreign_keys=ON")))
        return fault(QStringLiteral("cannot set up the history"), query.lastError());
    query.finish();

    m_open = true;
    const bool made = inTransaction(QStringLiteral("cannot make the history's tables"), [](QSqlQuery &tables) {
        for (const char *statement : kTables) {
            if (!tables.exec(QString::fromLatin1(statement)))
                return false;
        }
        return true;
    });
    m_open = false;
    if (!made)
        return m_busy ? Opening::Busy : m_passingFault ? Opening::Failed : Opening::Damaged;
    for (const char *check : kColumnChecks) {
        if (!query.exec(QString::fromLatin1(check)))
            return fault(QStringLiteral("the file holds no history of this program"), query.lastError());
    }
    return Opening::Done;
}

bool History::inTransaction(const QString &what, const std::function<bool(QSqlQuery &)> &writes)
{
    m_passingFault = m_busy = false;
    m_error.clear();
    if (!m_open)
        return failed(what, QStringLiteral("the history is not open"));
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery control(db);
    // IMMEDIATE takes the write lock at once, waiting (busy timeout) while another copy writes.
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_passingFault = passingFault(control.lastError());
        m_busy = busyFault(control.lastError());
        return failed(what, reasonOf(control.lastError()));
    }
    QSqlQuery statements(db);
    const bool written = writes(statements);
    QSqlError error = statements.lastError();
    statements.finish();
    if (written) {
        if (control.exec(QStringLiteral("COMMIT")))
            return true;
        error = control.lastError();
    }
    m_passingFault = passingFault(error);
    m_busy = busyFault(error);
    if (!control.exec(QStringLiteral("ROLLBACK")))
        qCWarning(lcHistory, "rollback failed: %s", qPrintable(reasonOf(control.lastError())));
    return failed(what, reasonOf(error));
}
