// Times the program's own code paths on a five-year log, each beside a floor
// (the least any program would need for the same work) measured in the same
// run, and prints one table of medians; the same figures go to a JSON file.
//
//   parkbook_bench [--runs N] [--data DIR] [--json FILE]
//
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
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtxpeer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
#include <QTextCursor>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
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

int rowCount(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    query.exec("SELECT count(*) FROM " + table);
    return query.next() ? query.value(0).toInt() : -1;
}

// ---- floors ---------------------------------------------------------------

// A bare window that opens the log and counts its rows.
double startupFloor(const QString& dbPath)
{
    QElapsedTimer timer;
    timer.start();
    {
        QMainWindow window;
        window.resize(900, 600);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
            db.setDatabaseName(dbPath);
            db.open();
            check(rowCount(db, "log") > 0 && rowCount(db, "parks") > 0, "floor counts rows");
            db.close();
        }
        QSqlDatabase::removeDatabase("floor");
        window.show();
        check(QTest::qWaitForWindowExposed(&window, 5000), "floor window shown");
        const double elapsed = ms(timer);
        return elapsed;
    }
}

// The least an import can do: one pass over the file picking out the fields,
// and the same 28 columns inserted by one prepared statement in one
// transaction, into a table with the same indexes and the same page cache.
double importFloor(const QString& adifPath, const QString& dbPath, int* rows)
{
    QFile::remove(dbPath);
    QElapsedTimer timer;
    timer.start();
    int count = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
        db.setDatabaseName(dbPath);
        db.open();
        QSqlQuery(db).exec("PRAGMA cache_size=-32768");
        QSqlQuery(db).exec(Schema::createLog);
        for (const char* statement : Schema::indexes)
            QSqlQuery(db).exec(statement);
        QFile file(adifPath);
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        static const char16_t* const names[] = {
            u"QSO_DATE", u"TIME_ON",    u"MY_SIG_INFO", u"CALL",     u"NAME",
            u"CNTY",     u"STATE",      u"CNTRY",       u"DXCC",     u"LAT",
            u"LON",      u"GRIDSQUARE", u"RST_SENT",    u"RST_RCVD", u"MODE",
            u"BAND",     u"FREQ",       u"TX_PWR",      u"SIG_INFO", u"STATION_CALLSIGN",
            u"OPERATOR", u"COMMENT"};
        static const char* const columns[] = {
            "date",      "time",  "park", "call",    "name",     "county", "state", "country",
            "dxcc",      "lat",   "lon",  "grid",    "sent",     "rcvd",   "mode",  "band",
            "frequency", "power", "p2p",  "station", "operator", "comment"};
        constexpr int fieldCount = int(std::size(names));
        QString placeholders[fieldCount];
        QStringList columnList, placeholderList;
        for (int i = 0; i < fieldCount; ++i) {
            placeholders[i] = QString(":v%1").arg(i);
            columnList << columns[i];
            placeholderList << placeholders[i];
        }
        QString values[fieldCount];
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO log (id, " + columnList.join(", ") +
                       ", last, born, city, license, expire) VALUES (NULL, " +
                       placeholderList.join(", ") + ", '', '', '', '', '')");
        qsizetype pos = text.indexOf(QLatin1String("<EOH>"), 0, Qt::CaseInsensitive);
        pos = pos < 0 ? 0 : pos + 5;
        const qsizetype size = text.size();
        while ((pos = text.indexOf('<', pos)) >= 0) {
            const qsizetype close = text.indexOf('>', pos);
            if (close < 0)
                break;
            const QStringView tag = QStringView(text).mid(pos + 1, close - pos - 1);
            if (tag.compare(QLatin1String("EOR"), Qt::CaseInsensitive) == 0) {
                for (int i = 0; i < fieldCount; ++i)
                    insert.bindValue(placeholders[i], values[i].isNull() ? QString("") : values[i]);
                insert.exec();
                ++count;
                for (QString& v : values)
                    v.clear();
                pos = close + 1;
                continue;
            }
            const qsizetype colon = tag.indexOf(':');
            const QStringView name = colon < 0 ? tag : tag.left(colon);
            const int length = colon < 0 ? 0 : tag.mid(colon + 1).toInt();
            for (int i = 0; i < fieldCount; ++i) {
                const QStringView wanted(names[i]);
                if (name.size() == wanted.size() &&
                    name.compare(wanted, Qt::CaseInsensitive) == 0) {
                    values[i] = text.mid(close + 1, length);
                    break;
                }
            }
            pos = std::min(size, close + 1 + length);
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase("floor");
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

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Run in a child process inside a prepared home: shows the main window (or
// the floor's bare window) and prints the monotonic time when it is exposed.
int startupChild(const QString& homePath, bool floor)
{
    QDir::setCurrent(homePath);
    if (floor) {
        QMainWindow window;
        window.resize(900, 600);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "floor");
            db.setDatabaseName(homePath + "/Programs/Parkbook/Data/parkbook.db");
            db.open();
            if (rowCount(db, "log") <= 0 || rowCount(db, "parks") <= 0)
                return 1;
        }
        window.show();
        if (!QTest::qWaitForWindowExposed(&window, 5000))
            return 1;
        std::printf("shown %lld\n", monotonicNs());
        return 0;
    }
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    Parkbook pb(&prompter, &sound);
    pb.show();
    if (!QTest::qWaitForWindowExposed(&pb, 5000))
        return 1;
    std::printf("shown %lld\n", monotonicNs());
    std::fflush(stdout);
    return 0;
}

// From starting the process to its window exposed, in milliseconds.
double coldStart(const QString& homePath, bool floor)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(),
                {"--startup-child", homePath, floor ? "floor" : "program"});
    const bool finished = child.waitForFinished(60000);
    const QByteArray out = child.readAllStandardOutput();
    const qsizetype at = out.indexOf("shown ");
    check(finished && child.exitCode() == 0 && at >= 0, "start-up child showed its window");
    if (!finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    return at < 0 ? 0 : double(out.mid(at + 6).trimmed().toLongLong() - started) / 1e6;
}

// ---- one run ----------------------------------------------------------------

struct Context {
    QString dataDir; // parkbook.db and contacts.adi
    QString scratch; // floor files
};

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

void runProgramPaths(const Context& ctx, int run)
{
    TempHome home;
    home.writeHiddenWindowSettings();
    const QString db = home.dataPath() + "/parkbook.db";
    QFile::copy(ctx.dataDir + "/parkbook.db", db);

    // Start-up as a user sees it: a new process until its window is exposed.
    record("startup.floor", coldStart(home.path(), true));
    record("startup", coldStart(home.path(), false));

    // Start-up again inside this process (warm: libraries loaded, files cached).
    record("startupwarm.floor", startupFloor(db));
    QElapsedTimer timer;
    timer.start();
    auto pb = home.makeParkbook();
    pb->show();
    check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
    record("startupwarm", ms(timer));
    settle();
    check(pb->station->findChild<QLineEdit*>("call")->text() == BenchData::stationCall,
          "station read from the log");

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

    // The park log of the big day.
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
    record("parklog.floor", drawFloor(pb->parkLog->ui->log->toPlainText(), pb->monoFont,
                                      pb->parkLog->ui->log->size(), pb->themeText));

    // The contact log of every contact.
    timer.start();
    pb->on_actionContact_Log_triggered();
    settle();
    record("contactlog", ms(timer));
    check(pb->contactLog->windowTitle().endsWith("= 100000"),
          "contact log counts 100,000: " + pb->contactLog->windowTitle());
    record("contactlog.floor", drawFloor(pb->contactLog->ui->log->toPlainText(), pb->monoFont,
                                         pb->contactLog->ui->log->size(), pb->themeBlue));

    // The activation list.
    pb->potaMode = "Activating";
    timer.start();
    pb->on_actionShow_Activations_triggered();
    settle();
    record("activations", ms(timer));
    check(pb->activationLog->ui->log->blockCount() == 5000,
          QString("activation list has 5,000 lines (%1)")
              .arg(pb->activationLog->ui->log->blockCount()));
    record("activations.floor", drawFloor(pb->activationLog->ui->log->toPlainText(), pb->monoFont,
                                          pb->activationLog->ui->log->size(), pb->themeText));

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

// Start-up alone, for profiling.
void runStartup(const Context& ctx)
{
    TempHome home;
    home.writeHiddenWindowSettings();
    const QString db = home.dataPath() + "/parkbook.db";
    QFile::copy(ctx.dataDir + "/parkbook.db", db);
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto pb = home.makeParkbook();
        pb->show();
        check(QTest::qWaitForWindowExposed(pb.get(), 5000), "main window shown");
        record("startup", ms(timer));
    }
}

void runImport(const Context& ctx)
{
    TempHome home;
    home.writeHiddenWindowSettings();
    auto pb = home.makeParkbook();
    pb->ui->parkDate->setText(BenchData::firstDate);
    pb->ui->endDate->setText(BenchData::lastDate);
    pb->ui->startTime->setText("000000");
    pb->ui->stopTime->setText("235959");
    const QString adif = ctx.dataDir + "/contacts.adi";
    auto rowsIn = [](const QString& table) {
        return rowCount(QSqlDatabase::database("parkbook"), table);
    };
    for (const char* key : {"import.empty", "import.again"}) {
        home.prompter.paths.enqueue(adif);
        QElapsedTimer timer;
        timer.start();
        pb->on_actionImport_Contact_Log_triggered();
        record(key, ms(timer));
        check(rowsIn("log") == 100000,
              QString("%1: log holds 100,000 rows (%2)").arg(key).arg(rowsIn("log")));
    }
    check(rowsIn("parks") == 5300,
          QString("import made 5,300 park records (%1)").arg(rowsIn("parks")));
    pb.reset();
    int rows = 0;
    const double floor = importFloor(adif, ctx.scratch + "/floor.db", &rows);
    // Both imports write the same rows: one floor for both.
    record("import.empty.floor", floor);
    record("import.again.floor", floor);
    check(rows == 100000, QString("import floor inserted 100,000 rows (%1)").arg(rows));
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
    if (floor) {
        TempHome home;
        startupFloor(dataDir + "/parkbook.db");
        std::printf("VmHWM %lld\n", statusKb("VmHWM"));
        return 0;
    }
    TempHome home;
    home.writeHiddenWindowSettings();
    QFile::copy(dataDir + "/parkbook.db", home.dataPath() + "/parkbook.db");
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
    const qsizetype at = out.indexOf("VmHWM ");
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
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.size() == 4 && args.at(1) == "--startup-child")
        return startupChild(args.at(2), args.at(3) == "floor");
    if (args.size() == 3 && (args.at(1) == "--memory" || args.at(1) == "--memory-floor"))
        return memoryChild(args.at(2), args.at(1) == "--memory-floor");

    int runs = 3;
    QString dataDir;
    QString jsonPath = "bench-results.json";
    QString only; // "programs", "import", "startup" or "parklist": one part alone, for profiling
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == "--runs" && i + 1 < args.size())
            runs = std::max(1, args.at(++i).toInt());
        else if (args.at(i) == "--data" && i + 1 < args.size())
            dataDir = args.at(++i);
        else if (args.at(i) == "--only" && i + 1 < args.size())
            only = args.at(++i);
        else if (args.at(i) == "--json" && i + 1 < args.size())
            jsonPath = args.at(++i);
        else {
            std::fprintf(stderr, "usage: parkbook_bench [--runs N] [--data DIR] [--json FILE] "
                                 "[--only programs|import|startup|parklist]\n");
            return 2;
        }
    }
    const QString loadBefore = loadAverage();
    QElapsedTimer total;
    total.start();

    QTemporaryDir scratch;
    Context ctx;
    ctx.scratch = scratch.path();
    if (dataDir.isEmpty()) {
        dataDir = scratch.path() + "/data";
        QDir().mkpath(dataDir);
        QElapsedTimer gen;
        gen.start();
        const BenchData::Summary s =
            BenchData::generate(dataDir + "/parkbook.db", dataDir + "/contacts.adi");
        if (s.contacts == 0) {
            std::fprintf(stderr, "could not write the data set\n");
            return 1;
        }
        std::printf("Data: %d contacts, %d activation records (%d 2-fers), %d hunting days, "
                    "%d parks, %d park-to-park contacts (written in %.1f s)\n",
                    s.contacts, s.activations, s.twoFers, s.huntingDays, s.parks, s.parkToPark,
                    double(gen.elapsed()) / 1000.0);
    }
    ctx.dataDir = QDir(dataDir).absolutePath();

    for (int run = 0; run < runs; ++run) {
        if (only.isEmpty() || only == "programs")
            runProgramPaths(ctx, run);
        if (only.isEmpty() || only == "import")
            runImport(ctx);
        if (only.isEmpty() || only == "parklist")
            runParkList(ctx);
        if (only == "startup")
            runStartup(ctx);
        std::printf("run %d of %d done (%.1f s)\n", run + 1, runs, double(total.elapsed()) / 1000);
        std::fflush(stdout);
    }
    // Peak memory: fresh processes, so nothing else of this run counts.
    for (int run = 0; run < runs && only.isEmpty(); ++run) {
        record("memory", childMemoryMb(ctx.dataDir, false));
        record("memory.floor", childMemoryMb(ctx.dataDir, true));
    }

    const auto verdict = [](bool met) { return QString(met ? "met" : "NOT met"); };
    const auto ratioAtMost = [verdict](double limit) {
        return [limit, verdict](double v, double f) { return verdict(f > 0 && v / f <= limit); };
    };
    const auto atMost = [verdict](double limit) {
        return [limit, verdict](double v, double) { return verdict(v <= limit); };
    };
    // Two goals in one line: each gets its own verdict.
    const auto importGoal = [verdict](double v, double f) {
        const bool rate = v > 0 && 100000.0 / (v / 1000.0) >= 50000.0;
        const bool ratio = f > 0 && v / f <= 3.0;
        return "rate " + verdict(rate) + ", ratio " + verdict(ratio);
    };
    const QList<Line> lines = {
        {"Start-up (new process), 100,000 contacts, 5,300 park records", "startup", "ms",
         "<= 4x floor", ratioAtMost(4)},
        {"Start-up again in the same process (warm)", "startupwarm", "ms", "", nullptr},
        {"Import 100,000 ADIF records into an empty log", "import.empty", "ms",
         ">= 50,000/s, <= 3x floor", importGoal},
        {"Import the same file again (all duplicates)", "import.again", "ms",
         ">= 50,000/s, <= 3x floor", importGoal},
        {"Export POTA file, park with 2,000 contacts", "export.pota", "ms", "", nullptr},
        {"Export complete file, same park", "export.complete", "ms", "", nullptr},
        {"Contact log, 100,000 contacts", "contactlog", "ms", "<= 1.5x floor", ratioAtMost(1.5)},
        {"Park log, 1,000 contacts", "parklog", "ms", "", nullptr},
        {"Activation list, 5,000 activations", "activations", "ms", "", nullptr},
        {"All-time statistics", "statistics", "ms", "<= 200 ms", atMost(200)},
        {"WSJT-X CQ POTA -> Reply, median (1,000)", "wsjtx.median", "ms", "", nullptr},
        {"WSJT-X CQ POTA -> Reply, 99th percentile", "wsjtx.p99", "ms", "<= 5 ms", atMost(5)},
        {"Load POTA park list, 80,000 parks (replacing the list)", "parklist", "ms", "<= 500 ms",
         atMost(500)},
        {"Peak memory, log loaded, every list shown", "memory", "MB", "<= 250 MB", atMost(250)},
    };

    const QString loadAfter = loadAverage();
    QJsonArray jsonLines;
    QString table;
    QTextStream t(&table);
    t << "| Measure | Median | Floor | Ratio | Goal | Met |\n";
    t << "|---|---:|---:|---:|---|---|\n";
    for (const Line& line : lines) {
        if (samples.value(line.key).isEmpty()) {
            t << "| " << line.label << " | not run | | | " << line.goal << " | |\n";
            continue;
        }
        const double v = median(samples.value(line.key));
        const double f = median(samples.value(line.key + ".floor"));
        const int decimals = line.key.startsWith("wsjtx") ? 3 : 1;
        const QString ratio = f > 0 ? number(v / f, 2) + "x" : "-";
        QString met = "-";
        if (line.met)
            met = line.met(v, f);
        QString value = number(v, decimals) + " " + line.unit;
        if (line.key.startsWith("import"))
            value += QString(" (%1/s)").arg(qRound(100000.0 / (v / 1000.0)));
        t << "| " << line.label << " | " << value << " | " << number(f, decimals) << " "
          << line.unit << " | " << ratio << " | " << (line.goal.isEmpty() ? "-" : line.goal)
          << " | " << met << " |\n";
        QJsonArray all;
        for (double s : samples.value(line.key))
            all.append(s);
        QJsonArray floors;
        for (double s : samples.value(line.key + ".floor"))
            floors.append(s);
        jsonLines.append(QJsonObject{{"key", line.key},
                                     {"label", line.label},
                                     {"unit", line.unit},
                                     {"median", v},
                                     {"floor", f},
                                     {"ratio", f > 0 ? QJsonValue(v / f) : QJsonValue()},
                                     {"goal", line.goal},
                                     {"met", met},
                                     {"samples", all},
                                     {"floorSamples", floors}});
    }
    t.flush();
    std::printf("\n%s\n", qPrintable(table));
    std::printf("Runs: %d, load average before %s, after %s, %d cores, %.0f s in all\n", runs,
                qPrintable(loadBefore), qPrintable(loadAfter), QThread::idealThreadCount(),
                double(total.elapsed()) / 1000);
    for (const QString& failure : std::as_const(failures))
        std::printf("CHECK FAILED: %s\n", qPrintable(failure));

    QJsonObject root{{"runs", runs},
                     {"loadBefore", loadBefore},
                     {"loadAfter", loadAfter},
                     {"cores", QThread::idealThreadCount()},
                     {"kernel", QSysInfo::kernelVersion()},
                     {"qt", QString(qVersion())},
                     {"failedChecks", QJsonArray::fromStringList(failures)},
                     {"results", jsonLines}};
    QFile json(jsonPath);
    if (json.open(QIODevice::WriteOnly | QIODevice::Truncate))
        json.write(QJsonDocument(root).toJson());
    else
        std::fprintf(stderr, "could not write %s\n", qPrintable(jsonPath));
    return failures.isEmpty() ? 0 : 1;
}
