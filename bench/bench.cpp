// Times the program's own code paths on a five-year log, each beside a floor
// (the least any program would need for the same work) measured in the same
// run, and prints one table of medians; the same figures go to a JSON file.
// Every measure starts Parkbook as a fresh install does, with every window
// open (the activation list, the park log, the contact log, the statistics);
// the "hidden windows" lines start it with every secondary window closed.
//
//   parkbook_bench [--runs N] [--data DIR] [--json FILE] [--scale N]
//                  [--only programs|import|startup|keys|activations|parklist]
//
// --scale 10 adds a run on ten times the data (1,000,000 contacts) of the
// measures that must grow no worse than linearly, and their growth table.
// Runs headless (QT_QPA_PLATFORM=offscreen is set unless already given).
#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "benchdata.h"
#include "db/parklist.h"
#include "db/schema.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "recordingsoundplayer.h"
#include "scriptedprompter.h"
#include "stats/activity.h"
#include "support/largeblocks.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtxpeer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <QVBoxLayout>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include <time.h>

namespace
{
// ---- bookkeeping ----------------------------------------------------------

QMap<QString, QList<double>> samples; // every measured value by key
QStringList failures;                 // checks that did not hold

void record(const QString& key, double value)
{
    samples[key].append(value);
}

void check(bool ok, const QString& what)
{
    if (!ok) {
        failures.append(what);
        std::fprintf(stderr, "CHECK FAILED: %s\n", qPrintable(what));
    }
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank.
    const qsizetype rank = qsizetype(std::ceil(p / 100.0 * double(values.size())));
    return values.at(std::clamp<qsizetype>(rank - 1, 0, values.size() - 1));
}

double ms(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

QString loadAverage()
{
    QFile file("/proc/loadavg");
    if (!file.open(QIODevice::ReadOnly))
        return "unknown";
    return QString::fromLatin1(file.readAll()).section(' ', 0, 2);
}

qint64 statusKb(const char* key)
{
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Runs the event loop without pause until `done` holds (false after
// `timeoutMs`): the moment it holds is timed, not the next poll.
bool spinUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

int rowCount(const QSqlDatabase& db, const QString& table, const QString& where = QString())
{
    QSqlQuery query(db);
    query.exec("SELECT count(*) FROM " + table + (where.isEmpty() ? "" : " WHERE " + where));
    return query.next() ? query.value(0).toInt() : -1;
}

// Rows of a database file by table, opened for the count alone.
int rowsInFile(const QString& path, const QString& table, const QString& where = QString())
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "benchcount");
        db.setDatabaseName(path);
        if (db.open())
            rows = rowCount(db, table, where);
    }
    QSqlDatabase::removeDatabase("benchcount");
    return rows;
}

// A key typed by the operator: pressed and released on the focused widget.
void postKey(QWidget* target, Qt::Key key, const QString& text)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// ---- floors ---------------------------------------------------------------

// The least an import can do: one pass over the file picking out the fields,
// and the same 28 columns inserted by one prepared statement of SQLite's own
// interface in one transaction, each value bound where it lies in the file
// (no copy), into a table with the same indexes and page cache.
double importFloor(const QString& adifPath, const QString& dbPath, int* rows)
{
    QFile::remove(dbPath);
    QElapsedTimer timer;
    timer.start();
    int count = 0;
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.toUtf8().constData(), &db) != SQLITE_OK) {
        check(false, "import floor opened its database");
        sqlite3_close(db);
        return 0;
    }
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    sqlite3_exec(db, Schema::createLog, nullptr, nullptr, nullptr);
    for (const char* statement : Schema::indexes)
        sqlite3_exec(db, statement, nullptr, nullptr, nullptr);
    QFile file(adifPath);
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    static const char16_t* const names[] = {
        u"QSO_DATE", u"TIME_ON",    u"MY_SIG_INFO", u"CALL",     u"NAME",
        u"CNTY",     u"STATE",      u"CNTRY",       u"DXCC",     u"LAT",
        u"LON",      u"GRIDSQUARE", u"RST_SENT",    u"RST_RCVD", u"MODE",
        u"BAND",     u"FREQ",       u"TX_PWR",      u"SIG_INFO", u"STATION_CALLSIGN",
        u"OPERATOR", u"COMMENT"};
    constexpr int fieldCount = int(std::size(names));
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO log (id, date, time, park, call, name, county, state, "
                       "country, dxcc, lat, lon, grid, sent, rcvd, mode, band, frequency, power, "
                       "p2p, station, operator, comment, last, born, city, license, expire) "
                       "VALUES (NULL, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, "
                       "?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, '', '', '', '', '')",
                       -1, &insert, nullptr);
    QStringView values[fieldCount];
    qsizetype pos = text.indexOf(QLatin1String("<EOH>"), 0, Qt::CaseInsensitive);
    pos = pos < 0 ? 0 : pos + 5;
    const qsizetype size = text.size();
    while (insert && (pos = text.indexOf('<', pos)) >= 0) {
        const qsizetype close = text.indexOf('>', pos);
        if (close < 0)
            break;
        const QStringView tag = QStringView(text).mid(pos + 1, close - pos - 1);
        if (tag.compare(QLatin1String("EOR"), Qt::CaseInsensitive) == 0) {
            for (int i = 0; i < fieldCount; ++i)
                sqlite3_bind_text16(insert, i + 1, values[i].isNull() ? u"" : values[i].utf16(),
                                    int(values[i].size() * 2), SQLITE_STATIC);
            count += sqlite3_step(insert) == SQLITE_DONE ? 1 : 0;
            sqlite3_reset(insert);
            for (QStringView& v : values)
                v = QStringView();
            pos = close + 1;
            continue;
        }
        const qsizetype colon = tag.indexOf(':');
        const QStringView name = colon < 0 ? tag : tag.left(colon);
        const int length = colon < 0 ? 0 : tag.mid(colon + 1).toInt();
        for (int i = 0; i < fieldCount; ++i) {
            const QStringView wanted(names[i]);
            if (name.size() == wanted.size() && name.compare(wanted, Qt::CaseInsensitive) == 0) {
                values[i] = QStringView(text).mid(close + 1, length);
                break;
            }
        }
        pos = std::min(size, close + 1 + length);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK,
          "import floor committed");
    sqlite3_close(db);
    *rows = count;
    return ms(timer);
}

// The same rows as an export read by one prepared query and written as ADIF
// fields in one write.
double exportFloor(const QString& dbPath, const QString& park, const QStringList& columns,
                   const QString& outPath)
{
    QElapsedTimer timer;
    timer.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
        db.setDatabaseName(dbPath);
        db.open();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare("SELECT " + columns.join(", ") +
                      " FROM log WHERE date>=? and date<=? and park=? ORDER BY date, time");
        query.addBindValue(BenchData::firstDate);
        query.addBindValue(BenchData::lastDate);
        query.addBindValue(park);
        query.exec();
        QString out;
        while (query.next()) {
            for (int i = 0; i < columns.size(); ++i) {
                const QString v = query.value(i).toString();
                out += Adif::field(columns.at(i).toUpper(), v);
            }
            out += "<EOR>\n";
        }
        QFile file(outPath);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(out.toUtf8());
    }
    QSqlDatabase::removeDatabase("floor");
    return ms(timer);
}

// The same lines, coloured, inserted into a shown list through one edit block.
double drawFloor(const QString& text, const QFont& font, const QSize& size, const QColor& colour)
{
    QPlainTextEdit list;
    list.setReadOnly(true);
    list.setLineWrapMode(QPlainTextEdit::NoWrap);
    list.setFont(font);
    list.resize(size);
    list.show();
    check(QTest::qWaitForWindowExposed(&list, 5000), "floor list shown");
    settle();
    QElapsedTimer timer;
    timer.start();
    QTextCursor cursor(list.document());
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.beginEditBlock();
    cursor.insertText(text, format);
    cursor.endEditBlock();
    settle();
    return ms(timer);
}

// One arrow key through a list at its least: in a shown list of the same
// lines, the old line and the new one coloured again and the new one
// scrolled into view; with `dbPath`, also the contact of the new line read
// from the log by one prepared query into 26 shown fields, as the main window
// shows it. One sample per key, `keys` keys down the list and back.
QList<double> arrowKeyFloor(const QString& text, const QFont& font, const QSize& size,
                            const QColor& lineColour, const QColor& activeColour,
                            const QString& dbPath, const QList<qint64>& ids, int keys)
{
    QList<double> times;
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QList<QLineEdit*> fields;
        std::optional<QSqlQuery> query;
        QSqlDatabase db;
        if (!dbPath.isEmpty()) {
            for (int i = 0; i < 26; ++i) {
                fields.append(new QLineEdit(&window));
                layout->addWidget(fields.last());
            }
            db = QSqlDatabase::addDatabase("QSQLITE", "floorkeys");
            db.setDatabaseName(dbPath);
            db.open();
            query.emplace(db);
            query->prepare("SELECT call, time, name, state, sent, rcvd, mode, band, frequency, "
                           "power, p2p, comment, last, city, county, country, dxcc, born, "
                           "license, expire, lat, lon, grid, date, park, operator FROM log "
                           "WHERE id=?");
        }
        auto* list = new QPlainTextEdit(&window);
        layout->addWidget(list);
        list->setReadOnly(true);
        list->setLineWrapMode(QPlainTextEdit::NoWrap);
        list->setCenterOnScroll(true);
        list->setFont(font);
        QTextCharFormat format;
        format.setForeground(lineColour);
        QTextCursor(list->document()).insertText(text, format);
        window.resize(size.width(), size.height() + 26 * 24);
        window.show();
        check(QTest::qWaitForWindowExposed(&window, 5000), "floor list shown");
        settle();
        const int lines = list->document()->blockCount();
        auto colour = [&](int line, const QColor& c) {
            QTextCursor cursor(list->document()->findBlockByNumber(line));
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat f;
            f.setForeground(c);
            cursor.mergeCharFormat(f);
        };
        int line = 0;
        for (int k = 0; k < keys; ++k) {
            const int next = k < keys / 2 ? std::min(line + 1, lines - 1) : std::max(line - 1, 0);
            QElapsedTimer timer;
            timer.start();
            if (query) {
                query->bindValue(0, ids.value(next % std::max<qsizetype>(1, ids.size())));
                query->exec();
                if (query->next()) {
                    for (int i = 0; i < fields.size(); ++i)
                        fields.at(i)->setText(query->value(i).toString());
                }
                query->finish();
            }
            colour(line, lineColour);
            colour(next, activeColour);
            const QTextCursor at(list->document()->findBlockByNumber(next));
            list->setTextCursor(at);
            list->ensureCursorVisible();
            settle();
            times.append(ms(timer));
            line = next;
        }
        query.reset();
        db = QSqlDatabase();
    }
    QSqlDatabase::removeDatabase("floorkeys");
    return times;
}

// Reads what the statistics read: the activation records and the hunting contacts.
double statisticsFloor(const QString& dbPath)
{
    QElapsedTimer timer;
    timer.start();
    qint64 sum = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
        db.setDatabaseName(dbPath);
        db.open();
        QSqlQuery parks(db);
        parks.setForwardOnly(true);
        parks.exec("SELECT park, state, QSOs, LateQSOs, P2Ps FROM parks");
        while (parks.next())
            sum += parks.value(0).toString().size() + parks.value(2).toString().toInt();
        QSqlQuery hunting(db);
        hunting.setForwardOnly(true);
        hunting.exec("SELECT p2p, dxcc FROM log WHERE park='HUNTER'");
        while (hunting.next())
            sum += hunting.value(1).toString().size();
    }
    QSqlDatabase::removeDatabase("floor");
    check(sum > 0, "statistics floor read rows");
    return ms(timer);
}

// ---- WSJT-X -----------------------------------------------------------------

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

QByteArray callerFor(int n)
{
    QByteArray call = "Q2";
    for (int i = 0; i < 3; ++i, n /= 26)
        call += char('A' + n % 26);
    return call;
}

// A WSJT-X stand-in on its own thread: a heartbeat first (it tells Parkbook
// where to reply), then `count` CQ POTA decodes, each timed until a datagram
// of `wantedType` (-1: any) comes back. After each, `reset` runs on the main
// thread (which keeps its event loop going meanwhile).
QList<double> peerRoundTrips(quint16 port, int count, int run, int wantedType,
                             const std::function<void()>& reset)
{
    QList<double> times;
    QObject mainThreadContext;
    QThread* thread = QThread::create([&]() {
        QUdpSocket peer;
        peer.bind(QHostAddress::LocalHost, 0);
        auto exchange = [&](const QByteArray& datagram, int type) -> std::optional<double> {
            while (peer.hasPendingDatagrams())
                peer.receiveDatagram();
            QElapsedTimer timer;
            timer.start();
            peer.writeDatagram(datagram, QHostAddress::LocalHost, port);
            while (timer.elapsed() < 2000) {
                if (!peer.hasPendingDatagrams() && !peer.waitForReadyRead(100))
                    continue;
                while (peer.hasPendingDatagrams()) {
                    const QByteArray back = peer.receiveDatagram().data();
                    if (type < 0 || WsjtxPeer::typeOf(back) == type)
                        return ms(timer);
                }
            }
            return std::nullopt;
        };
        exchange(WsjtxPeer::heartbeat(), -1);
        QThread::msleep(50);
        for (int n = 0; n < count; ++n) {
            const QByteArray message = "CQ POTA " + callerFor(n + run * count) + " FN31";
            if (const auto t = exchange(WsjtxPeer::decode(message), wantedType))
                times.append(*t);
            QMetaObject::invokeMethod(&mainThreadContext, reset, Qt::BlockingQueuedConnection);
        }
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    check(thread->wait(5000), "WSJT-X peer thread finished");
    delete thread;
    return times;
}

// ---- start-up in a fresh process --------------------------------------------

// What a start-up child saw, in milliseconds from starting the process.
struct Start {
    double shown = 0;    // the main window exposed
    double typed = 0;    // a key typed at that moment is in the Call field
    double counters = 0; // the activation records recounted, their list and the statistics drawn
    double done = 0;     // everything the start leaves for later done (the contact log drawn)
    bool callFocused = false;
};

// Run in a child process inside a prepared home: shows the main window (or
// the floor's bare window with one field), types a key into the focused field
// at the moment the window is exposed, and prints the monotonic times.
int startupChild(const QString& homePath, bool floor)
{
    QDir::setCurrent(homePath);
    auto typeKey = [](QLineEdit* field) {
        postKey(QApplication::focusWidget() ? QApplication::focusWidget() : field, Qt::Key_K, "K");
        return spinUntil([field] { return field->text().contains('K'); }, 30000);
    };
    if (floor) {
        QMainWindow window;
        auto* field = new QLineEdit(&window);
        window.setCentralWidget(field);
        window.resize(900, 600);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
            db.setDatabaseName(homePath + "/Programs/Parkbook/Data/parkbook.db");
            db.open();
            if (rowCount(db, "log") <= 0 || rowCount(db, "parks") <= 0)
                return 1;
        }
        field->setFocus();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window, 5000))
            return 1;
        std::printf("shown %lld\n", monotonicNs());
        if (!typeKey(field))
            return 1;
        const qint64 typed = monotonicNs();
        std::printf("typed %lld\ncounters %lld\ndone %lld\nfocus %d\n", typed, typed, typed,
                    QApplication::focusWidget() == field ? 1 : 0);
        return 0;
    }
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    Parkbook pb(&prompter, &sound);
    pb.show();
    if (!QTest::qWaitForWindowExposed(&pb, 5000))
        return 1;
    std::printf("shown %lld\n", monotonicNs());
    const bool callFocused = QApplication::focusWidget() == pb.ui->call;
    if (!typeKey(pb.ui->call))
        return 1;
    std::printf("typed %lld\n", monotonicNs());
    // The start redraws the lists from the recounted records before it
    // starts on the contact log, whose title then gives the count.
    const bool contactLogOpen = pb.contactLog->isVisible();
    spinUntil(
        [&pb, contactLogOpen] {
            return pb.startupDone ||
                   (contactLogOpen && !pb.contactLog->windowTitle().endsWith("Contacts = 0"));
        },
        600000);
    std::printf("counters %lld\n", monotonicNs());
    if (!spinUntil([&pb] { return pb.startupDone; }, 600000))
        return 1;
    std::printf("done %lld\nfocus %d\n", monotonicNs(), callFocused ? 1 : 0);
    std::fflush(stdout);
    return 0;
}

Start coldStart(const QString& homePath, bool floor)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(),
                {"--startup-child", homePath, floor ? "floor" : "program"});
    const bool finished = child.waitForFinished(900000);
    if (!finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    const QByteArray out = child.readAllStandardOutput();
    QHash<QByteArray, double> at;
    for (const QByteArray& line : out.split('\n')) {
        const QByteArrayList parts = line.split(' ');
        if (parts.size() == 2)
            at.insert(parts.at(0), double(parts.at(1).toLongLong() - started) / 1e6);
    }
    check(finished && child.exitCode() == 0 && at.contains("done"),
          QString("start-up child (%1) typed into its window and finished")
              .arg(floor ? "floor" : "program"));
    Start start;
    start.shown = at.value("shown");
    start.typed = at.value("typed");
    start.counters = at.value("counters");
    start.done = at.value("done");
    start.callFocused = out.contains("focus 1");
    return start;
}

// Starts of the program in a new process in `home` (holding the log), as a
// fresh install (no settings yet) and, for the extra lines, with every
// secondary window closed at the last exit. Keys get `prefix`.
void measureStartups(TempHome& home, const QString& prefix, bool withHidden)
{
    QFile::remove(home.iniPath());
    const Start floor = coldStart(home.path(), true);
    record(prefix + "startup.floor", floor.typed);
    QFile::remove(home.iniPath());
    const Start program = coldStart(home.path(), false);
    check(program.callFocused, "the Call field has the keyboard when the main window shows");
    record(prefix + "startup", program.typed);
    record(prefix + "startup.shown", program.shown);
    record(prefix + "startup.shown.floor", floor.shown);
    record(prefix + "startup.counters", program.counters - program.typed);
    record(prefix + "startup.done", program.done - program.typed);
    if (!withHidden)
        return;
    QFile::remove(home.iniPath());
    home.writeHiddenWindowSettings();
    const Start hidden = coldStart(home.path(), false);
    record(prefix + "startup.hidden", hidden.typed);
    record(prefix + "startup.hidden.floor", floor.typed);
    QFile::remove(home.iniPath());
}

// ---- one run ----------------------------------------------------------------

struct Context {
    QString dataDir;     // parkbook.db and contacts.adi
    QString scratch;     // floor files
    int contacts = 0;    // rows of `log` in the data set
    int parkRecords = 0; // rows of `parks`
    int activations = 0; // rows of `parks` that are not hunting days
};

Context contextFor(const QString& dataDir, const QString& scratch)
{
    Context ctx;
    ctx.dataDir = QDir(dataDir).absolutePath();
    ctx.scratch = scratch;
    const QString db = ctx.dataDir + "/parkbook.db";
    ctx.contacts = rowsInFile(db, "log");
    ctx.parkRecords = rowsInFile(db, "parks");
    ctx.activations = rowsInFile(db, "parks", "park <> 'HUNTER'");
    return ctx;
}

// Lines of the activation list (or of the hunting log) for the mode in use.
int listLines(const Parkbook& pb, const Context& ctx)
{
    return pb.potaMode == "Activating" ? ctx.activations : ctx.parkRecords - ctx.activations;
}

QString newestAdi(const QString& dir)
{
    QDir d(dir);
    const QFileInfoList files = d.entryInfoList({"*.adi"}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().filePath();
}

int recordsIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().toUpper().count("<EOR>"));
}

// Presses `key` `count` times through a list (half of them with `back`),
// as the operator does in the main window, and times each press until the
// window has taken it in full.
QList<double> pressKeys(Parkbook* pb, Qt::Key forth, Qt::Key back, Qt::KeyboardModifiers modifiers,
                        int count)
{
    QList<double> times;
    for (int k = 0; k < count; ++k) {
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != pb)
            target = pb;
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(target, k < count / 2 ? forth : back, modifiers);
        settle();
        times.append(ms(timer));
    }
    return times;
}

void runProgramPaths(const Context& ctx, int run)
{
    TempHome home;
    const QString db = home.dataPath() + "/parkbook.db";
    QFile::copy(ctx.dataDir + "/parkbook.db", db);

    // Start-up as a user sees it: a new process until a key is in the Call field.
    measureStartups(home, QString(), true);

    // The rest inside this process, started as a fresh install starts.
    auto pb = home.makeParkbook();
    pb->show();
    check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
    settle();
    check(pb->station->findChild<QLineEdit*>("call")->text() == BenchData::stationCall,
          "station read from the log");
    check(pb->activationLog->isVisible() && pb->parkLog->isVisible() &&
              pb->contactLog->isVisible() && pb->activity->isVisible(),
          "a fresh install opens the activation list, the park log, the contact log and the "
          "statistics");
    QElapsedTimer timer;

    // Exports of the park with 2,000 contacts over the five years.
    pb->ui->parkReference->setText(BenchData::exportPark);
    pb->ui->parkDate->setText(BenchData::firstDate);
    pb->ui->endDate->setText(BenchData::lastDate);
    for (const char* type : {"POTA", "COMPLETE"}) {
        const QString key = QString("export.") + QString(type).toLower();
        timer.start();
        pb->createLogFile(type);
        record(key, ms(timer));
        const QString file = newestAdi(home.dataPath());
        check(recordsIn(file) == 2000, key + " wrote 2,000 records (" + file + ")");
        QFile::remove(file);
        const QStringList columns =
            QString(type) == "POTA"
                ? QStringList{"call", "date", "time", "mode", "band", "p2p"}
                : QStringList{"call", "date", "time", "name",    "county",    "state",
                              "sent", "rcvd", "mode", "band",    "frequency", "power",
                              "lat",  "lon",  "grid", "comment", "p2p",       "city"};
        record(key + ".floor",
               exportFloor(db, BenchData::exportPark, columns, ctx.scratch + "/floor.adi"));
    }

    // The all-time statistics.
    timer.start();
    pb->on_actionActivation_Statistics_triggered();
    settle();
    record("statistics", ms(timer));
    record("statistics.floor", statisticsFloor(db));

    // The park log of the big day: loaded and drawn, then the arrow keys
    // through it (each shows its contact in the main window).
    pb->ui->parkReference->setText(BenchData::bigDayPark);
    pb->ui->parkDate->setText(BenchData::bigDayDate);
    pb->ui->endDate->setText(BenchData::bigDayDate);
    timer.start();
    pb->on_actionLoad_Park_Log_triggered();
    pb->on_actionShow_Park_Log_triggered();
    settle();
    record("parklog", ms(timer));
    check(pb->parkLogCount == 1000,
          QString("park log shows 1,000 contacts (%1)").arg(pb->parkLogCount));
    const QString parkLogText = pb->parkLog->ui->log->toPlainText();
    record("parklog.floor",
           drawFloor(parkLogText, pb->monoFont, pb->parkLog->ui->log->size(), pb->themeText));
    pb->activateWindow();
    pb->ui->call->setFocus();
    const QList<double> parkKeys = pressKeys(pb.get(), Qt::Key_Up, Qt::Key_Down, {}, 200);
    check(!pb->ui->call->text().isEmpty() && pb->parkLogActiveLine > 0,
          "the arrow keys show park-log contacts in the main window");
    record("parklog.key", median(parkKeys));
    QList<qint64> bigDayIds;
    {
        QSqlQuery ids(QSqlDatabase::database("parkbook"));
        ids.prepare("SELECT id FROM log WHERE date=? AND park=? ORDER BY time DESC");
        ids.addBindValue(BenchData::bigDayDate);
        ids.addBindValue(BenchData::bigDayPark);
        ids.exec();
        while (ids.next())
            bigDayIds.append(ids.value(0).toLongLong());
    }
    record("parklog.key.floor",
           median(arrowKeyFloor(parkLogText, pb->monoFont, pb->parkLog->ui->log->size(),
                                pb->themeBlue, pb->themeGreen, db, bigDayIds, 200)));

    // The contact log of every contact.
    timer.start();
    pb->on_actionContact_Log_triggered();
    settle();
    record("contactlog", ms(timer));
    check(pb->contactLog->windowTitle().endsWith(QString("= %1").arg(ctx.contacts)),
          "contact log counts every contact: " + pb->contactLog->windowTitle());
    record("contactlog.floor", drawFloor(pb->contactLog->ui->log->toPlainText(), pb->monoFont,
                                         pb->contactLog->ui->log->size(), pb->themeBlue));

    // The activation list drawn anew from its records (as after an import),
    // then the arrow keys through it.
    timer.start();
    pb->refreshActivationList();
    settle();
    record("activations", ms(timer));
    check(pb->activationLog->ui->log->blockCount() == listLines(*pb, ctx),
          QString("activation list has %1 lines (%2)")
              .arg(listLines(*pb, ctx))
              .arg(pb->activationLog->ui->log->blockCount()));
    const QString activationText = pb->activationLog->ui->log->toPlainText();
    record("activations.floor", drawFloor(activationText, pb->monoFont,
                                          pb->activationLog->ui->log->size(), pb->themeText));
    pb->activateWindow();
    pb->ui->call->setFocus();
    const QList<double> activationKeys =
        pressKeys(pb.get(), Qt::Key_Down, Qt::Key_Up, Qt::AltModifier, 200);
    check(pb->activationActiveLine > 0, "Alt+arrow keys move through the activation list");
    record("activations.key", median(activationKeys));
    record("activations.key.floor",
           median(arrowKeyFloor(activationText, pb->monoFont, pb->activationLog->ui->log->size(),
                                pb->themeText, pb->themeGreen, QString(), {}, 200)));

    // WSJT-X: CQ POTA decodes answered with a Reply, auto reply on, status Ready.
    // The peer runs in a thread of its own, as WSJT-X is a process of its own:
    // it sees the Reply when it is sent, not when Parkbook has also redrawn.
    pb->on_actionWSJT_X_Panel_triggered();
    const quint16 port = freePort();
    pb->wsjtx->ui->udpIp->setText("127.0.0.1");
    pb->wsjtx->ui->udpPort->setValue(port);
    pb->initUdpSocket();
    pb->autoReply = true;
    pb->setQsoStatus(1);
    const QList<double> latencies = peerRoundTrips(port, 1000, run, 4, [&pb]() {
        pb->autoReply = true;
        pb->setQsoStatus(1);
    });
    check(latencies.size() == 1000,
          QString("%1 decodes got no reply").arg(1000 - latencies.size()));
    record("wsjtx.median", median(latencies));
    record("wsjtx.p99", percentile(latencies, 99));

    // The floor: a bare UDP socket on the main thread answering each datagram.
    {
        QUdpSocket echo;
        echo.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&echo, &QUdpSocket::readyRead, [&echo]() {
            while (echo.hasPendingDatagrams()) {
                const QNetworkDatagram in = echo.receiveDatagram();
                echo.writeDatagram(in.data(), in.senderAddress(), quint16(in.senderPort()));
            }
        });
        const QList<double> floor = peerRoundTrips(echo.localPort(), 1000, run, -1, []() {});
        record("wsjtx.median.floor", median(floor));
        record("wsjtx.p99.floor", percentile(floor, 99));
    }
    pb.reset();
}

// Parkbook started and shown on a copy of the benchmark's log.
std::unique_ptr<Parkbook> startOnBenchLog(const Context& ctx, TempHome& home)
{
    QFile::copy(ctx.dataDir + "/parkbook.db", home.dataPath() + "/parkbook.db");
    auto pb = home.makeParkbook();
    pb->show();
    check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
    return pb;
}

// The arrow keys alone, for profiling: the big day's park log and the
// activation list in a started program.
void runKeys(const Context& ctx)
{
    TempHome home;
    auto pb = startOnBenchLog(ctx, home);
    pb->ui->parkReference->setText(BenchData::bigDayPark);
    pb->ui->parkDate->setText(BenchData::bigDayDate);
    pb->ui->endDate->setText(BenchData::bigDayDate);
    pb->on_actionLoad_Park_Log_triggered();
    settle();
    pb->activateWindow();
    pb->ui->call->setFocus();
    record("parklog.key", median(pressKeys(pb.get(), Qt::Key_Up, Qt::Key_Down, {}, 400)));
    record("activations.key",
           median(pressKeys(pb.get(), Qt::Key_Down, Qt::Key_Up, Qt::AltModifier, 400)));
}

// The activation list drawn anew, alone, for profiling.
void runActivations(const Context& ctx)
{
    TempHome home;
    auto pb = startOnBenchLog(ctx, home);
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        pb->refreshActivationList();
        settle();
        record("activations", ms(timer));
    }
}

// Start-up alone, for profiling: the main window built and shown in this
// process as a fresh install starts, until a key is in the Call field.
void runStartup(const Context& ctx)
{
    TempHome home;
    QFile::copy(ctx.dataDir + "/parkbook.db", home.dataPath() + "/parkbook.db");
    for (int i = 0; i < 3; ++i) {
        QFile::remove(home.iniPath());
        QElapsedTimer timer;
        timer.start();
        auto pb = std::make_unique<Parkbook>(&home.prompter, &home.sound);
        pb->show();
        check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
        postKey(QApplication::focusWidget() ? QApplication::focusWidget() : pb.get(), Qt::Key_K,
                "K");
        check(spinUntil([&pb] { return pb->ui->call->text().contains('K'); }, 30000),
              "a key typed at once reaches the Call field");
        record("startup", ms(timer));
        check(spinUntil([&pb] { return pb->startupDone; }, 600000), "start-up finished");
    }
}

// The import through the File menu as the operator runs it, into the log of
// a fresh install (every window open, or all closed when `hiddenWindows`):
// `times` files in a row, the first into an empty log, each timed until the
// lists are drawn again. The first gets `keys.at(0)`, and so on. When
// `statisticsKey` is given, the statistics are timed after the imports.
void runImport(const Context& ctx, const QString& adif, const QStringList& keys, bool hiddenWindows,
               const QString& statisticsKey = QString())
{
    TempHome home;
    if (hiddenWindows)
        home.writeHiddenWindowSettings();
    auto pb = home.makeParkbook();
    pb->show();
    check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
    settle();
    // The import takes the records of the dates and times the form gives.
    pb->ui->parkDate->setText(BenchData::firstDate);
    pb->ui->endDate->setText(BenchData::lastDate);
    pb->ui->startTime->setText("000000");
    pb->ui->stopTime->setText("235959");
    auto rowsIn = [](const QString& table) {
        return rowCount(QSqlDatabase::database("parkbook"), table);
    };
    for (const QString& key : keys) {
        home.prompter.paths.enqueue(adif);
        QElapsedTimer timer;
        timer.start();
        pb->on_actionImport_Contact_Log_triggered();
        settle();
        record(key, ms(timer));
        for (const ScriptedPrompter::Shown& box : std::as_const(home.prompter.shown))
            std::fprintf(stderr, "%s: box \"%s\": %s\n", qPrintable(key), qPrintable(box.title),
                         qPrintable(box.text));
        home.prompter.shown.clear();
        check(rowsIn("log") == ctx.contacts,
              QString("%1: log holds %2 rows (%3)").arg(key).arg(ctx.contacts).arg(rowsIn("log")));
        if (!hiddenWindows) {
            check(pb->activationLog->ui->log->blockCount() == listLines(*pb, ctx),
                  QString("%1: activation list drawn with %2 lines (%3)")
                      .arg(key)
                      .arg(listLines(*pb, ctx))
                      .arg(pb->activationLog->ui->log->blockCount()));
            // The contact log is read and drawn a part at a time after the
            // import, the window taking keys meanwhile; timed from the start
            // until its last line (an empty line parts each date and park).
            const int lines = ctx.contacts + rowsIn("(SELECT DISTINCT date, park FROM log)") - 1;
            check(spinUntil([&pb, lines] { return pb->contactLog->ui->log->blockCount() == lines; },
                            60000),
                  QString("%1: contact log drawn after the import with %2 lines (%3)")
                      .arg(key)
                      .arg(lines)
                      .arg(pb->contactLog->ui->log->blockCount()));
            record(key + ".contactlog", ms(timer));
        }
    }
    check(rowsIn("parks") == ctx.parkRecords,
          QString("import made %1 park records (%2)").arg(ctx.parkRecords).arg(rowsIn("parks")));
    if (!statisticsKey.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        pb->on_actionActivation_Statistics_triggered();
        settle();
        record(statisticsKey, ms(timer));
    }
}

void runImports(const Context& ctx)
{
    const QString adif = ctx.dataDir + "/contacts.adi";
    runImport(ctx, adif, {"import.empty", "import.again"}, false, "statistics.afterimport");
    runImport(ctx, adif, {"import.hidden"}, true);
    int rows = 0;
    const double floor = importFloor(adif, ctx.scratch + "/floor.db", &rows);
    // Every import writes the same rows: one floor for all.
    for (const char* key : {"import.empty", "import.again", "import.hidden"})
        record(QString(key) + ".floor", floor);
    check(rows == ctx.contacts,
          QString("import floor inserted %1 rows (%2)").arg(ctx.contacts).arg(rows));
}

// The measures that must grow no worse than linearly, on a data set `scale`
// times the size: start-up until a key is in the Call field, the import into
// an empty log and the statistics after it.
void runScaled(const Context& ctx)
{
    TempHome home;
    QFile::copy(ctx.dataDir + "/parkbook.db", home.dataPath() + "/parkbook.db");
    measureStartups(home, "scaled.", false);
    runImport(ctx, ctx.dataDir + "/contacts.adi", {"scaled.import.empty"}, false,
              "scaled.statistics.afterimport");
    // How SQLite alone grows with the same inserts, beside the program's growth.
    int rows = 0;
    record("scaled.import.empty.floor",
           importFloor(ctx.dataDir + "/contacts.adi", ctx.scratch + "/floor.db", &rows));
    check(rows == ctx.contacts,
          QString("scaled import floor inserted %1 rows (%2)").arg(ctx.contacts).arg(rows));
}

// POTA's all_parks_ext.csv as POTA writes it: every field quoted, commas and
// doubled quotes in names, accented names, multi-state and retired parks.
// `rows` receives the same values already split, for the floor.
QByteArray parkListCsv(int parks, QList<QStringList>* rows)
{
    static const char* const prefixes[] = {"US", "CA", "DE", "GB", "FR", "IT", "JA", "VK",
                                           "ZL", "PY", "MX", "ES", "PL", "SE", "NO", "FI"};
    static const QString names[] = {
        "Parc national de la For\u00EAt n\u00B0 %1", "Lake \"Big\" State Park %1, North",
        "Ca\u00F1\u00F3n del R\u00EDo %1 Wildlife Area", "Trail %1 National Scenic Trail"};
    QByteArray csv = "\"reference\",\"name\",\"active\",\"entityId\",\"locationDesc\","
                     "\"latitude\",\"longitude\",\"grid\"\r\n";
    for (int n = 0; n < parks; ++n) {
        const QString prefix = prefixes[n % 16];
        const QStringList row{QString("%1-%2").arg(prefix).arg(n / 16 + 1, 4, 10, QChar('0')),
                              names[n % 4].arg(n),
                              n % 50 == 0 ? "0" : "1",
                              QString::number(291 + n % 16),
                              n % 4 == 3 ? prefix + "-AA," + prefix + "-BB" : prefix + "-AA",
                              QString::number(-60 + (n % 1200) * 0.1, 'f', 4),
                              QString::number(-170 + (n % 3400) * 0.1, 'f', 4),
                              "FN54vh"};
        QByteArrayList quoted;
        for (const QString& value : row)
            quoted << '"' + QString(value).replace("\"", "\"\"").toUtf8() + '"';
        csv += quoted.join(',') + "\r\n";
        rows->append(row);
    }
    return csv;
}

// The program loads the list twice into a log, and the second load (which
// replaces the first) is timed. The floor replaces the same rows, already
// split, by one prepared statement of 16 rows in one transaction, bound by
// name (Qt's fastest way).
void runParkList(const Context& ctx)
{
    QList<QStringList> rows;
    const QByteArray csv = parkListCsv(80000, &rows);
    const QString path = ctx.scratch + "/parklist.db";
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "benchparklist");
        db.setDatabaseName(path);
        check(db.open(), "park list database opened");
        QSqlQuery(db).exec("PRAGMA cache_size=-32768"); // as the program's connection
        QSqlQuery(db).exec(Schema::createLog);
        check(ParkList::load(db, csv).ok, "first park list loaded");
        QElapsedTimer timer;
        timer.start();
        const ParkList::LoadResult result = ParkList::load(db, csv);
        record("parklist", ms(timer));
        check(result.ok && result.parks == 80000,
              QString("park list holds 80,000 parks (%1, %2)").arg(result.parks).arg(result.error));

        // 16 rows per statement, as the program stores them.
        QStringList names, groups;
        for (int row = 0; row < 16; ++row) {
            QStringList values;
            for (int column = 0; column < 8; ++column) {
                names << QString(":v%1").arg(names.size());
                values << names.last();
            }
            groups << "(" + values.join(",") + ")";
        }
        timer.start();
        db.transaction();
        QSqlQuery query(db);
        query.exec("DELETE FROM parkList");
        // The program's statement: SQLite runs it faster than a plain VALUES list.
        query.prepare("INSERT OR REPLACE INTO parkList SELECT * FROM (VALUES " + groups.join(",") +
                      ") WHERE column1 IS NOT NULL");
        int stored = 0;
        for (int first = 0; first < rows.size(); first += 16) {
            for (int i = 0; i < names.size(); ++i)
                query.bindValue(names.at(i), rows.at(first + i / 8).at(i % 8));
            stored += query.exec() ? 16 : 0;
        }
        check(db.commit() && stored == 80000, "park list floor stored 80,000 rows");
        record("parklist.floor", ms(timer));
        db.close();
    }
    QSqlDatabase::removeDatabase("benchparklist");
}

// Run in a child process: the peak resident memory of the program with the
// five-year log loaded and every list shown, or of the bare floor window.
int memoryChild(const QString& dataDir, bool floor)
{
    keepLargeBlocksReturnable(); // as the program's main() does
    TempHome home;
    QFile::copy(dataDir + "/parkbook.db", home.dataPath() + "/parkbook.db");
    if (floor) {
        QMainWindow window;
        window.setCentralWidget(new QLineEdit(&window));
        window.resize(900, 600);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
            db.setDatabaseName(home.dataPath() + "/parkbook.db");
            db.open();
            check(rowCount(db, "log") > 0 && rowCount(db, "parks") > 0, "floor counts rows");
        }
        QSqlDatabase::removeDatabase("floor");
        window.show();
        check(QTest::qWaitForWindowExposed(&window, 5000), "floor window shown");
        settle();
        std::printf("VmHWM %lld\n", statusKb("VmHWM"));
        return 0;
    }
    auto pb = home.makeParkbook();
    pb->show();
    check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
    pb->ui->parkReference->setText(BenchData::bigDayPark);
    pb->ui->parkDate->setText(BenchData::bigDayDate);
    pb->ui->endDate->setText(BenchData::bigDayDate);
    pb->on_actionLoad_Park_Log_triggered();
    pb->on_actionShow_Park_Log_triggered();
    pb->on_actionContact_Log_triggered();
    pb->on_actionShow_Activations_triggered();
    pb->on_actionActivation_Statistics_triggered();
    pb->on_actionWSJT_X_Panel_triggered();
    pb->on_actionStation_Details_triggered();
    pb->on_actionContact_Details_triggered();
    settle();
    QTest::qWait(200);
    std::printf("VmHWM %lld\n", statusKb("VmHWM"));
    return 0;
}

double childMemoryMb(const QString& dataDir, bool floor)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {floor ? "--memory-floor" : "--memory", dataDir});
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished(5000);
        check(false, "memory child finished");
        return 0;
    }
    const QByteArray out = child.readAllStandardOutput();
    const qsizetype at = out.lastIndexOf("VmHWM ");
    check(at >= 0, "memory child reported VmHWM");
    return at < 0 ? 0 : out.mid(at + 6).trimmed().toDouble() / 1024.0;
}

// ---- the table --------------------------------------------------------------

struct Line {
    QString label;
    QString key;
    QString unit; // "ms", "MB"
    QString goal; // as text
    // The verdict on the goal ("met", "NOT met"), from median and floor median.
    std::function<QString(double value, double floor)> met;
};

QString number(double v, int decimals = 1)
{
    return QString::number(v, 'f', decimals);
}

BenchData::Plan scaledPlan(int scale)
{
    BenchData::Plan plan;
    plan.contacts *= scale;
    plan.activations *= scale;
    plan.parks *= scale;
    // Five years have 1,827 days: no more hunting days than that.
    plan.huntingDays = std::min(plan.huntingDays * scale, 1500);
    return plan;
}

bool writeData(const QString& dir, const BenchData::Plan& plan)
{
    QDir().mkpath(dir);
    QElapsedTimer gen;
    gen.start();
    const BenchData::Summary s =
        BenchData::generate(dir + "/parkbook.db", dir + "/contacts.adi", plan);
    if (s.contacts == 0) {
        std::fprintf(stderr, "could not write the data set\n");
        return false;
    }
    std::printf("Data: %d contacts, %d activation records (%d 2-fers), %d hunting days, "
                "%d parks, %d park-to-park contacts (written in %.1f s)\n",
                s.contacts, s.activations, s.twoFers, s.huntingDays, s.parks, s.parkToPark,
                double(gen.elapsed()) / 1000.0);
    std::fflush(stdout);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    // No start may reach the real QRZ service (children inherit this).
    if (qEnvironmentVariableIsEmpty("PARKBOOK_QRZ_URL"))
        qputenv("PARKBOOK_QRZ_URL", "http://127.0.0.1:9/xml/current/");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.size() == 4 && args.at(1) == "--startup-child")
        return startupChild(args.at(2), args.at(3) == "floor");
    if (args.size() == 3 && (args.at(1) == "--memory" || args.at(1) == "--memory-floor"))
        return memoryChild(args.at(2), args.at(1) == "--memory-floor");

    int runs = 3;
    int scale = 1;
    QString dataDir;
    QString jsonPath = "bench-results.json";
    QString only; // one part alone, for profiling
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == "--runs" && i + 1 < args.size())
            runs = std::max(1, args.at(++i).toInt());
        else if (args.at(i) == "--scale" && i + 1 < args.size())
            scale = std::max(1, args.at(++i).toInt());
        else if (args.at(i) == "--data" && i + 1 < args.size())
            dataDir = args.at(++i);
        else if (args.at(i) == "--only" && i + 1 < args.size())
            only = args.at(++i);
        else if (args.at(i) == "--json" && i + 1 < args.size())
            jsonPath = args.at(++i);
        else {
            std::fprintf(stderr, "usage: parkbook_bench [--runs N] [--scale N] [--data DIR] "
                                 "[--json FILE] "
                                 "[--only programs|import|startup|keys|activations|parklist]\n");
            return 2;
        }
    }
    const QString loadBefore = loadAverage();
    QElapsedTimer total;
    total.start();

    QTemporaryDir scratch;
    if (dataDir.isEmpty()) {
        dataDir = scratch.path() + "/data";
        if (!writeData(dataDir, BenchData::Plan()))
            return 1;
    }
    const Context ctx = contextFor(dataDir, scratch.path());
    if (ctx.contacts <= 0) {
        std::fprintf(stderr, "no log in %s\n", qPrintable(dataDir));
        return 1;
    }

    for (int run = 0; run < runs; ++run) {
        if (only.isEmpty() || only == "programs")
            runProgramPaths(ctx, run);
        if (only.isEmpty() || only == "import")
            runImports(ctx);
        if (only.isEmpty() || only == "parklist")
            runParkList(ctx);
        if (only == "startup")
            runStartup(ctx);
        if (only == "keys")
            runKeys(ctx);
        if (only == "activations")
            runActivations(ctx);
        std::printf("run %d of %d done (%.1f s)\n", run + 1, runs, double(total.elapsed()) / 1000);
        std::fflush(stdout);
    }
    // Peak memory: fresh processes, so nothing else of this run counts.
    for (int run = 0; run < runs && only.isEmpty(); ++run) {
        record("memory", childMemoryMb(ctx.dataDir, false));
        record("memory.floor", childMemoryMb(ctx.dataDir, true));
    }
    // Growth: the same measures on `scale` times the data.
    if (scale > 1 && only.isEmpty()) {
        const QString scaledDir = scratch.path() + "/scaled";
        if (!writeData(scaledDir, scaledPlan(scale)))
            return 1;
        const Context scaled = contextFor(scaledDir, scratch.path());
        for (int run = 0; run < runs; ++run) {
            runScaled(scaled);
            std::printf("scaled run %d of %d done (%.1f s)\n", run + 1, runs,
                        double(total.elapsed()) / 1000);
            std::fflush(stdout);
        }
    }

    const auto verdict = [](bool met) { return QString(met ? "met" : "NOT met"); };
    const auto ratioAtMost = [verdict](double limit) {
        // No floor in this run (--only): no verdict either.
        return [limit, verdict](double v, double f) {
            return f > 0 ? verdict(v / f <= limit) : QString("-");
        };
    };
    const auto atMost = [verdict](double limit) {
        return [limit, verdict](double v, double) { return verdict(v <= limit); };
    };
    const double contacts = ctx.contacts;
    // Two goals in one line: each gets its own verdict.
    const auto importGoal = [verdict, contacts](double v, double f) {
        const bool rate = v > 0 && contacts / (v / 1000.0) >= 60000.0;
        const bool ratio = f > 0 && v / f <= 1.5;
        return "rate " + verdict(rate) + ", ratio " + verdict(ratio);
    };
    const QString n = QLocale(QLocale::English).toString(ctx.contacts);
    const QList<Line> lines = {
        {"Start-up to an interactive window (new process: shown, Call focused, a key typed "
         "into Call), " +
             n + " contacts",
         "startup", "ms", "<= 3x floor", ratioAtMost(3)},
        {"Start-up: window shown (new process)", "startup.shown", "ms", "", nullptr},
        {"Start-up: counters recounted, activation list and statistics drawn, after the key",
         "startup.counters", "ms", "<= 1,000 ms", atMost(1000)},
        {"Start-up: contact log drawn too (start-up done), after the key", "startup.done", "ms", "",
         nullptr},
        {"Start-up to an interactive window, hidden windows", "startup.hidden", "ms", "", nullptr},
        {"Import " + n + " ADIF records through the File menu into an empty log", "import.empty",
         "ms", ">= 60,000/s, <= 1.5x floor", importGoal},
        {"Import: contact log drawn too, from the start of the import", "import.empty.contactlog",
         "ms", "", nullptr},
        {"Import the same file again (all duplicates)", "import.again", "ms", "<= 1.5x floor",
         ratioAtMost(1.5)},
        {"Import into an empty log, hidden windows", "import.hidden", "ms", "", nullptr},
        {"Export POTA file, park with 2,000 contacts", "export.pota", "ms", "", nullptr},
        {"Export complete file, same park", "export.complete", "ms", "", nullptr},
        {"Contact log, " + n + " contacts", "contactlog", "ms", "<= 1.3x floor", ratioAtMost(1.3)},
        {"Park log, 1,000 contacts, loaded and drawn", "parklog", "ms", "", nullptr},
        {"Park log, 1,000 contacts, one arrow key (median of 200)", "parklog.key", "ms",
         "<= 3x floor", ratioAtMost(3)},
        {"Activation list, " + QLocale(QLocale::English).toString(ctx.activations) +
             " activations, drawn anew",
         "activations", "ms", "<= 2x floor", ratioAtMost(2)},
        {"Activation list, one Alt+arrow key (median of 200)", "activations.key", "ms", "",
         nullptr},
        {"All-time statistics", "statistics", "ms", "<= 200 ms", atMost(200)},
        {"WSJT-X CQ POTA -> Reply, median (1,000)", "wsjtx.median", "ms", "", nullptr},
        {"WSJT-X CQ POTA -> Reply, 99th percentile", "wsjtx.p99", "ms", "<= 5 ms", atMost(5)},
        {"Load POTA park list, 80,000 parks (replacing the list)", "parklist", "ms", "<= 500 ms",
         atMost(500)},
        {"Peak memory, log loaded, every list shown", "memory", "MB", "<= 120 MB", atMost(120)},
    };

    const QString loadAfter = loadAverage();
    QJsonArray jsonLines;
    QString table;
    QTextStream t(&table);
    t << "| Measure | Median | Floor | Ratio | Goal | Met |\n";
    t << "|---|---:|---:|---:|---|---|\n";
    auto samplesOf = [](const QString& key) {
        QJsonArray all;
        for (double s : samples.value(key))
            all.append(s);
        return all;
    };
    for (const Line& line : lines) {
        if (samples.value(line.key).isEmpty())
            continue;
        const double v = median(samples.value(line.key));
        const double f = median(samples.value(line.key + ".floor"));
        const int decimals = v < 10 ? 3 : 1;
        const QString ratio = f > 0 ? number(v / f, 2) + "x" : "-";
        QString met = "-";
        if (line.met)
            met = line.met(v, f);
        QString value = number(v, decimals) + " " + line.unit;
        if (line.key.startsWith("import") && !line.key.endsWith(".contactlog"))
            value += QString(" (%1/s)").arg(qRound(contacts / (v / 1000.0)));
        const QString floorText = f > 0 ? number(f, decimals) + " " + line.unit : "-";
        t << "| " << line.label << " | " << value << " | " << floorText << " | " << ratio << " | "
          << (line.goal.isEmpty() ? "-" : line.goal) << " | " << met << " |\n";
        jsonLines.append(QJsonObject{{"key", line.key},
                                     {"label", line.label},
                                     {"unit", line.unit},
                                     {"median", v},
                                     {"floor", f},
                                     {"ratio", f > 0 ? QJsonValue(v / f) : QJsonValue()},
                                     {"goal", line.goal},
                                     {"met", met},
                                     {"samples", samplesOf(line.key)},
                                     {"floorSamples", samplesOf(line.key + ".floor")}});
    }

    // Growth: time at `scale` times the data over time at the base data.
    QJsonArray jsonGrowth;
    if (scale > 1 && !samples.value("scaled.startup").isEmpty()) {
        t << "\n| Measure (" << n << " -> "
          << QLocale(QLocale::English).toString(ctx.contacts * scale) << " contacts) | Base | x"
          << scale << " | Growth | Goal | Met |\n";
        t << "|---|---:|---:|---:|---|---|\n";
        const QList<std::pair<QString, QString>> growth = {
            {"Start-up to an interactive window", "startup"},
            {"Start-up: counters, activation list and statistics, after the key",
             "startup.counters"},
            {"Import into an empty log (every window open)", "import.empty"},
            {"Import floor: the same inserts through SQLite alone", "import.empty.floor"},
            {"All-time statistics after the import", "statistics.afterimport"},
        };
        for (const auto& [label, key] : growth) {
            const double base = median(samples.value(key));
            const double big = median(samples.value("scaled." + key));
            const bool goal = key != "startup.counters" && key != "import.empty.floor";
            const bool met = base > 0 && big / base <= scale * 1.2;
            t << "| " << label << " | " << number(base) << " ms | " << number(big) << " ms | "
              << number(base > 0 ? big / base : 0, 2) << " | "
              << (goal ? QString("<= %1").arg(scale * 1.2) : QString("-")) << " | "
              << (goal ? verdict(met) : QString("-")) << " |\n";
            jsonGrowth.append(QJsonObject{{"key", key},
                                          {"label", label},
                                          {"base", base},
                                          {"scaled", big},
                                          {"growth", base > 0 ? big / base : 0},
                                          {"samples", samplesOf("scaled." + key)}});
        }
    }
    t.flush();
    std::printf("\n%s\n", qPrintable(table));
    std::printf("Runs: %d, load average before %s, after %s, %d cores, %.0f s in all\n", runs,
                qPrintable(loadBefore), qPrintable(loadAfter), QThread::idealThreadCount(),
                double(total.elapsed()) / 1000);
    for (const QString& failure : std::as_const(failures))
        std::printf("CHECK FAILED: %s\n", qPrintable(failure));

    QJsonObject root{{"runs", runs},
                     {"scale", scale},
                     {"loadBefore", loadBefore},
                     {"loadAfter", loadAfter},
                     {"cores", QThread::idealThreadCount()},
                     {"kernel", QSysInfo::kernelVersion()},
                     {"qt", QString(qVersion())},
                     {"failedChecks", QJsonArray::fromStringList(failures)},
                     {"results", jsonLines},
                     {"growth", jsonGrowth}};
    QFile json(jsonPath);
    if (json.open(QIODevice::WriteOnly | QIODevice::Truncate))
        json.write(QJsonDocument(root).toJson());
    else
        std::fprintf(stderr, "could not write %s\n", qPrintable(jsonPath));
    return failures.isEmpty() ? 0 : 1;
}
