// Opening the history: the connection, private files, the check for a damaged file, moving one
// aside, reading what cannot be written, and the tables.
#include "history.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <atomic>

Q_LOGGING_CATEGORY(lcHistory, "amidakuji.history")

namespace {


// SQLite's primary result codes that the history tells apart.
constexpr int kPermission = 3, kBusy = 5, kLocked = 6, kNoMemory = 7, kReadOnly = 8, kInterrupted = 9,
              kIoError = 10, kCorrupt = 11, kFull = 13, kCannotOpen = 14, kNotADatabase = 26;

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok ? code : -1;
}

// Another copy of the program holds the file a moment: waiting helps.
bool busyFault(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kBusy || code == kLocked;
}

// The file in use or the system short of something for a moment: another copy may be using it.
bool passingFault(const QSqlError &error)
{
    const int code = primaryCode(error);
    return busyFault(error) || code == kNoMemory || code == kInterrupted || code == kIoError || code == kFull;
}

// Only what SQLite itself calls damaged is moved aside.
bool damagedFault(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kCorrupt || code == kNotADatabase;
}

// The file or its folder cannot be written: the history can still be read.
bool writeFault(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kReadOnly || code == kPermission || code == kCannotOpen;
}

// What a user reads for a fault; the technical reason goes to the log.
QString userReasonOf(const QSqlError &error)
{
    const int code = primaryCode(error);
    if (code == kBusy || code == kLocked)
        return QStringLiteral("ほかのあみだくじが使っています。");
    if (code == kFull)
        return QStringLiteral("ディスクがいっぱいです。");
    if (code == kReadOnly || code == kPermission)
        return QStringLiteral("書き込みが許されていません。");
    if (code == kCannotOpen)
        return QStringLiteral("ファイルを開けません。");
    if (code == kCorrupt || code == kNotADatabase)
        return QStringLiteral("ファイルが壊れています。");
    if (code == kIoError)
        return QStringLiteral("ディスクの読み書きに失敗しました。");
    return QStringLiteral("履歴のファイルを使えません。");
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

// Version 1: each result is written when its path is traced (traced = 1; earlier files wrote every
// result at standby), and each lottery names the copy of the program recording it. Results an
// earlier version wrote for lotteries never finished were never all seen: they are removed.
const char *const kToVersion1[] = {
    "ALTER TABLE participant ADD COLUMN traced INTEGER NOT NULL DEFAULT 1",
    "ALTER TABLE lottery ADD COLUMN recorder TEXT",
    "UPDATE participant SET result = '', traced = 0"
    " WHERE lottery_id IN (SELECT id FROM lottery WHERE state <> '完了')",
    "PRAGMA user_version = 1",
};

// Version 2: the commitment standby makes to the results: its hash from standby on, its text and
// nonce once every path is traced.
const char *const kToVersion2[] = {
    "ALTER TABLE lottery ADD COLUMN commitment_hash TEXT",
    "ALTER TABLE lottery ADD COLUMN commitment_text BLOB",
    "ALTER TABLE lottery ADD COLUMN commitment_nonce TEXT",
    "PRAGMA user_version = 2",
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

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
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

constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kPrivateFolder = kPrivateFile | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

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

bool History::failed(const QString &what, const QString &reason, const QString &userReason) const
{
    m_error = QStringLiteral("%1: %2").arg(what, reason);
    m_reason = userReason;
    qCWarning(lcHistory, "%s (%s)", qPrintable(m_error), qPrintable(native(m_path)));
    return false;
}

// The names in the history are the user's alone: the folder 0700, the file and SQLite's side
// files 0600. A new file is made here, empty (an empty file is an empty database), so that SQLite
// gives its side files the same rights. False when the folder or the file cannot be written.
bool History::makePrivate(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    if (!QFileInfo(folder).isWritable())
        return false;
    if ((QFile::permissions(folder) & kOthers) && !QFile::setPermissions(folder, kPrivateFolder))
        qCInfo(lcHistory, "cannot make %s private", qPrintable(native(folder)));
    if (!QFileInfo::exists(path)) {
        QFile made(path);
        if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        made.setPermissions(kPrivateFile);
    }
    if (!QFileInfo(path).isWritable())
        return false;
    for (const QString &file : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
        if (QFileInfo::exists(file) && (QFile::permissions(file) & kOthers) && !QFile::setPermissions(file, kPrivateFile))
            qCInfo(lcHistory, "cannot make %s private", qPrintable(native(file)));
    }
    return true;
}

bool History::open(const QString &path)
{
    closeConnection();
    m_openingBusy = false;
    m_path = path;
    m_notice.clear();
    m_error.clear();
    m_reason.clear();
    const bool writable = makePrivate(path);
    if (!writable && !QFileInfo::exists(path)) {
        const QString folder = QFileInfo(path).absolutePath();
        return failed(QStringLiteral("cannot make the history in %1").arg(native(folder)), QStringLiteral("not writable"),
                      QStringLiteral("フォルダー %1 に書き込めません。").arg(native(folder)));
    }
    if (!openAs(path, !writable))
        return false;
    if (!m_readOnly) {
        holdCopyLock();
        abandonDeadCopies();
    }
    m_error.clear();
    m_reason.clear();
    return true;
}

bool History::openForReading(const QString &path)
{
    closeConnection();
    m_path = path;
    m_notice.clear();
    m_error.clear();
    m_reason.clear();
    if (!QFileInfo(path).isFile())
        return failed(QStringLiteral("no history"), QStringLiteral("no such file"), QStringLiteral("ファイルがありません。"));
    return openAs(path, true);
}

bool History::openAs(const QString &path, bool readOnly)
{
    m_readOnly = false;
    // Another copy making or checking the file at this moment can hold it: the opening is tried
    // again until the patience is spent (SQLite does not wait for the lock a change of journal
    // needs), and waits no longer than that in all.
    const QDeadlineTimer deadline(m_patience);
    Opening first = tryOpen(path, readOnly);
    while (first == Opening::Busy && !deadline.hasExpired()) {
        QThread::msleep(20);
        first = tryOpen(path, readOnly);
    }
    // Rights that let the file be read but not written, however they came about.
    if (first == Opening::Failed && !readOnly && m_readOnly) {
        readOnly = true;
        first = tryOpen(path, true);
    }
    m_openingBusy = first == Opening::Busy;
    if (first == Opening::Done) {
        m_readOnly = readOnly;
        return m_open = true;
    }
    if (first != Opening::Damaged || readOnly) {
        closeConnection();
        return false;
    }

    // Damaged: the file and its write-ahead log go aside together, so that the log cannot be
    // replayed into the new file and the pair can still be looked at.
    closeConnection();
    const QString moved = asideName(path);
    const QString cannotMove = QStringLiteral("壊れた履歴を %1 に移せません。").arg(native(moved));
    if (!QFile::rename(path, moved))
        return failed(QStringLiteral("cannot move the damaged history aside"),
                      QStringLiteral("renaming to %1 failed").arg(native(moved)), cannotMove);
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, moved + suffix))
            return failed(QStringLiteral("cannot move the damaged history's %1 file aside").arg(suffix),
                          QStringLiteral("renaming failed"), cannotMove);
    }
    qCWarning(lcHistory, "damaged history %s moved to %s", qPrintable(native(path)), qPrintable(native(moved)));
    if (!makePrivate(path) || tryOpen(path, false) != Opening::Done) {
        closeConnection();
        return false;
    }
    m_notice = QStringLiteral("抽選の履歴 %1 が壊れていたため、%2 に移して新しい履歴を始めました。")
                   .arg(native(path), native(moved));
    m_readOnly = false;
    return m_open = true;
}

History::Opening History::tryOpen(const QString &path, bool readOnly)
{
    closeConnection();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid()) {
        failed(QStringLiteral("no SQLite driver for Qt (install libqt6sql6-sqlite)"), reasonOf(db.lastError()),
               QStringLiteral("SQLite を使う部品が入っていません。"));
        return Opening::Failed;
    }
    // Read-only: a file with no write-ahead log beside it is read as it stands (immutable), so
    // that SQLite needs to make nothing in a folder that cannot be written.
    const bool asItStands = readOnly && !QFileInfo::exists(path + QStringLiteral("-wal"));
    db.setDatabaseName(asItStands ? QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1")
                                  : path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_patience);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (asItStands)
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    db.setConnectOptions(options);
    const auto fault = [&](const QString &what, const QSqlError &error) {
        failed(what, reasonOf(error), userReasonOf(error));
        if (busyFault(error))
            return Opening::Busy;
        if (damagedFault(error))
            return Opening::Damaged;
        m_readOnly = !readOnly && writeFault(error);
        return Opening::Failed;
    };
    if (!db.open())
        return fault(QStringLiteral("cannot open the history"), db.lastError());

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return fault(QStringLiteral("cannot check the history"), query.lastError());
    if (!query.next() || query.value(0).toString() != QLatin1String("ok")) {
        failed(QStringLiteral("the history is damaged"), query.value(0).toString(), QStringLiteral("ファイルが壊れています。"));
        return Opening::Damaged;
    }
    // A file of another program is left as it is.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN ('lottery', 'participant')"))
        || !query.next())
        return fault(QStringLiteral("cannot read the history's tables"), query.lastError());
    if (query.value(0).toInt() > 0) {
        for (const char *check : kColumnChecks) {
            if (!query.exec(QString::fromLatin1(check))) {
                failed(QStringLiteral("the file holds no history of this program"), reasonOf(query.lastError()),
                       QStringLiteral("このプログラムの履歴ではありません。"));
                return Opening::Failed;
            }
        }
    }
    if (!readOnly) {
        // Readers and one writer at a time, from any number of copies of the program; a killed
        // writer's transaction is rolled back at the next opening. What is deleted is overwritten.
        if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return fault(QStringLiteral("cannot set the history's journal"), query.lastError());
        if (!query.next() || query.value(0).toString() != QLatin1String("wal"))
            qCWarning(lcHistory, "the history keeps journal mode %s", qPrintable(query.value(0).toString()));
        for (const char *setting : {"PRAGMA foreign_keys=ON", "PRAGMA secure_delete=ON"}) {
            if (!query.exec(QString::fromLatin1(setting)))
                return fault(QStringLiteral("cannot set up the history"), query.lastError());
        }
    }
    query.finish();

    if (!readOnly) {
        m_open = true;
        const bool made = migrate();
        m_open = false;
        if (!made) {
            m_readOnly = m_writeFault;
            return m_busy ? Opening::Busy : Opening::Failed;
        }
        // The results removed by bringing an earlier file up to date are overwritten in the file
        // itself now, not at some later checkpoint.
        if (m_migrated && !query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
            qCWarning(lcHistory, "cannot checkpoint the history: %s", qPrintable(reasonOf(query.lastError())));
        query.finish();
    }
    m_tracedColumn = query.exec(QStringLiteral("SELECT traced FROM participant LIMIT 0"));
    m_commitmentColumns = query.exec(QStringLiteral("SELECT commitment_hash FROM lottery LIMIT 0"));
    return Opening::Done;
}

// The tables, and the file brought up to the present version, in one transaction.
bool History::migrate()
{
    m_migrated = false;
    return inTransaction(QStringLiteral("cannot make the history's tables"), [this](QSqlQuery &query) {
        for (const char *statement : kTables) {
            if (!query.exec(QString::fromLatin1(statement)))
                return false;
        }
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return false;
        const int version = query.value(0).toInt();
        for (const char *statement : kToVersion1) {
            if (version < 1 && !query.exec(QString::fromUtf8(statement)))
                return false;
        }
        for (const char *statement : kToVersion2) {
            if (version < 2 && !query.exec(QString::fromUtf8(statement)))
                return false;
        }
        m_migrated = version < 1;
        return true;
    });
}

bool History::inTransaction(const QString &what, const std::function<bool(QSqlQuery &)> &writes)
{
    m_passingFault = m_busy = m_writeFault = false;
    m_error.clear();
    m_reason.clear();
    if (!m_open)
        return failed(what, QStringLiteral("the history is not open"), QStringLiteral("履歴を開けていません。"));
    if (m_readOnly)
        return failed(what, QStringLiteral("the history is read-only"), QStringLiteral("書き込みが許されていません。"));
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery control(db);
    // IMMEDIATE takes the write lock at once, waiting (busy timeout) while another copy writes.
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_passingFault = passingFault(control.lastError());
        m_busy = busyFault(control.lastError());
        m_writeFault = writeFault(control.lastError());
        return failed(what, reasonOf(control.lastError()), userReasonOf(control.lastError()));
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
    m_writeFault = writeFault(error);
    if (!control.exec(QStringLiteral("ROLLBACK")))
        qCWarning(lcHistory, "rollback failed: %s", qPrintable(reasonOf(control.lastError())));
    return failed(what, reasonOf(error), userReasonOf(error));
}
