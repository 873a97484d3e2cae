#include "app/parkbook.h"

#include "app/prompter.h"
#include "app/utcclock.h"
#include "db/activationlist.h"
#include "db/backups.h"
#include "db/database.h"
#include "db/parkstable.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "support/diagnostics.h"
#include "support/mediasoundplayer.h"
#include "support/seefile.h"
#include "ui_parkbook.h"
#include "wsjtx/wsjtx.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QIcon>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QShortcut>
#include <QSqlDatabase>
#include <QTimer>
#include <QUdpSocket>

Parkbook::Parkbook(Prompter* prompterSeam, SoundPlayer* soundSeam, QWidget* parent)
    : QMainWindow(parent), ui(new Ui::Parkbook), prompter(prompterSeam), soundPlayer(soundSeam)
{
    if (!prompter) {
        ownPrompter = std::make_unique<DialogPrompter>();
        prompter = ownPrompter.get();
    }

    QSqlDatabase::addDatabase("QSQLITE", Database::memoryConnection);
    QSqlDatabase::addDatabase("QSQLITE", Database::logConnection);

    zeroBytes = QByteArray::fromHex("00000000");
    onesBytes = QByteArray::fromHex("ffffffff");

    ui->setupUi(this);
    setWindowTitle("POTA Logging: Parkbook V2.3.6");

    currentDir = QDir(QDir::currentPath());
    programDir = QDir(currentDir.path() + "/Programs/Parkbook/Info");
    settingsFile = QDir(programDir.path() + "/Parkbook.ini");

    readSettings(settingsFile);
    setDatabaseDirectory(dataDir);

    const QIcon icon(programDir.path() + "/Parkbook.png");
    setWindowIcon(icon);

    // A missing font file is not an error: Qt then falls back to a similar face.
    QFontDatabase::addApplicationFont(programDir.path() + "/LiberationMono-MW1v.ttf");
    QFontDatabase::addApplicationFont(programDir.path() + "/LiberationSans-BaDn.ttf");
    monoFont = QFont("Liberation Mono", 10, 700);
    sansFont = QFont("Liberation Sans", 10, 700);
    QApplication::setFont(sansFont);

    lightPalette = QApplication::palette();
    darkPalette = darkThemePalette();

    clockTick = UtcClock::now();
    timerInterval = 1000;
    udpCheckCount = 0;
    wsjtxAddress.clear();
    utcDate = clockTick.toString("yyyyMMdd");

    networkManager = new QNetworkAccessManager(this);
    if (autoUpdate)
        checkUpdates();

    createWindows(icon);

    connectWindows();
    createShortcuts();

    progressBar = new QProgressBar;

    setupDbMem();
    installEventFilter(this);
    initWindows();

    clockTimer = new QTimer(this);
    connect(clockTimer, &QTimer::timeout, this, &Parkbook::sysclkTimeout);
    clockTimer->start(timerInterval);

    udpSocket = new QUdpSocket(this);
    initUdpSocket();

    calculateGrid();

    if (!soundPlayer) {
        ownSoundPlayer = std::make_unique<MediaSoundPlayer>();
        soundPlayer = ownSoundPlayer.get();
    }
}

// The secondary windows, each with the icon and the geometry it had at exit.
void Parkbook::createWindows(const QIcon& icon)
{
    seeFile = new SeeFile;
    seeFile->setWindowIcon(icon);
    seeFile->readSettings(settingsFile, "About");
    station = new Station;
    station->setWindowIcon(icon);
    station->readSettings(settingsFile);
    contact = new Contact;
    contact->setWindowIcon(icon);
    contact->readSettings(settingsFile);
    activity = new Activity;
    activity->setWindowIcon(icon);
    activity->readSettings(settingsFile);
    wsjtx = new Wsjtx;
    wsjtx->setWindowIcon(icon);
    wsjtx->readSettings(settingsFile);
    contactLog = new SeeLog;
    contactLog->setWindowIcon(icon);
    contactLog->readSettings(settingsFile, "ContactLog");
    parkLog = new SeeLog;
    parkLog->setWindowIcon(icon);
    parkLog->readSettings(settingsFile, "ParkLog");
    activationLog = new SeeLog;
    activationLog->setWindowIcon(icon);
    activationLog->readSettings(settingsFile, "ActivationLog");
}

Parkbook::~Parkbook()
{
    // The secondary windows have no parent; they go with the main window so
    // that a test can build and destroy several main windows in one process.
    delete seeFile;
    delete station;
    delete contact;
    delete activity;
    delete wsjtx;
    delete contactLog;
    delete parkLog;
    delete activationLog;
    delete progressBar;
    delete ui;
    // Replies still running are destroyed with the network manager and tell
    // their handlers so; that must happen while this is still a Parkbook,
    // not later among the QWidget's children.
    delete networkManager;
    networkManager = nullptr;
    for (const QString& name : {Database::memoryConnection, Database::logConnection}) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

void Parkbook::connectWindows()
{
    connect(seeFile, &SeeFile::escapeSig, this, &Parkbook::backHome);
    connect(station, &Station::escapeSig, this, &Parkbook::backHome);
    connect(station, &Station::connectSig, this, &Parkbook::connectQRZ);
    connect(station, &Station::saveStationSig, this, &Parkbook::saveStation);
    connect(station, &Station::newGridSig, this, &Parkbook::calculateGrid);
    connect(station, &Station::newParkSig, this, &Parkbook::setPark);
    connect(station, &Station::newLocationSig, this, &Parkbook::setLocation);
    connect(station, &Station::act1Sig, this, &Parkbook::act1Checked);
    connect(station, &Station::act2Sig, this, &Parkbook::act2Checked);
    connect(station, &Station::act3Sig, this, &Parkbook::act3Checked);
    connect(station, &Station::act4Sig, this, &Parkbook::act4Checked);
    connect(station, &Station::act5Sig, this, &Parkbook::act5Checked);
    connect(station, &Station::parkEnteredSig, this, &Parkbook::checkStationPark);
    connect(contact, &Contact::escapeSig, this, &Parkbook::backHome);
    connect(contact, &Contact::getContactSig, this, &Parkbook::getContact);
    connect(activity, &Activity::escapeSig, this, &Parkbook::backHome);
    connect(wsjtx, &Wsjtx::closeSig, this, &Parkbook::closeWsjtx);
    connect(wsjtx, &Wsjtx::escapeSig, this, &Parkbook::backHome);
    connect(wsjtx, &Wsjtx::autoReplySig, this, &Parkbook::setAutoReply);
    connect(wsjtx, &Wsjtx::udpInitSig, this, &Parkbook::initUdpSocket);
    connect(wsjtx, &Wsjtx::clearResultsSig, this, &Parkbook::clearResults);
    connect(activationLog, &SeeLog::escapeSig, this, &Parkbook::backHome);
    connect(activationLog, &SeeLog::activateSig, this, &Parkbook::on_activate_clicked);
    // F10 in the activation list deletes its current record, as Alt+F10 does here.
    connect(activationLog, &SeeLog::deleteSig, this, &Parkbook::deletePark);
    connect(contactLog, &SeeLog::escapeSig, this, &Parkbook::backHome);
    connect(parkLog, &SeeLog::escapeSig, this, &Parkbook::backHome);
}

void Parkbook::createShortcuts()
{
    struct Binding {
        QKeySequence keys;
        void (Parkbook::*slot)();
    };
    const Binding bindings[] = {
        {QKeySequence(Qt::Key_Escape), &Parkbook::on_clear_clicked},
        {QKeySequence(Qt::Key_PageUp), &Parkbook::topContact},
        {QKeySequence(Qt::Key_Up), &Parkbook::previousContact},
        {QKeySequence(Qt::Key_Down), &Parkbook::nextContact},
        {QKeySequence(Qt::Key_PageDown), &Parkbook::endContact},
        {QKeySequence("Alt+PgUp"), &Parkbook::topActivation},
        {QKeySequence("Alt+Up"), &Parkbook::previousActivation},
        {QKeySequence("Alt+Down"), &Parkbook::nextActivation},
        {QKeySequence("Alt+PgDown"), &Parkbook::endActivation},
        {QKeySequence("Alt+F10"), &Parkbook::deletePark},
        {QKeySequence("Ctrl+Alt+1"), &Parkbook::clearBand},
        {QKeySequence("Ctrl+Alt+2"), &Parkbook::replayBand},
        {QKeySequence("Ctrl+Alt+3"), &Parkbook::haltTx},
        {QKeySequence("Ctrl+Alt+5"), &Parkbook::sendLocation},
        {QKeySequence("Ctrl+Alt+6"), &Parkbook::sendConfigure},
    };
    for (const Binding& binding : bindings) {
        auto* shortcut = new QShortcut(binding.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, binding.slot);
    }
}

void Parkbook::initWindows()
{
    ++startupRun;
    startupDone = false;
    // The activation list of another database (before a change of data
    // directory) points at rows this one does not have.
    (void)ActivationList::rebuild(Database::memory(), {});
    activationText.clear();
    activationLines.clear();
    activationListId = 0;
    activationParkId = 0;
    setupDbLog();
    setStationDetails();
    if (station->ui->call->text().isEmpty()) {
        on_actionStation_Details_triggered();
        prompter->information(this, "Enter Callsigns",
                              "Please enter the Station and Operator Callsigns in the\n"
                              "Station Details window before beginning to log contacts.");
    }
    if (theme == "light")
        switchPalette(lightPalette);
    else if (theme == "dark")
        switchPalette(darkPalette);

    if (seeFile->visibility == "Yes") {
        const QString& text = seeFile->content;
        if (text == "UseLicense")
            on_actionLicense_triggered();
        else if (text == "GetStarted")
            on_actionGetting_Started_triggered();
        else if (text == "Shortcuts")
            on_actionShortcut_Keys_triggered();
        else if (text == "Environment")
            on_actionEnvironment_triggered();
        else if (text == "ChangeLog")
            on_actionChange_Log_triggered();
        else if (text == "ErrorLog")
            on_actionShow_Error_Log_triggered();
    }
    if (station->visibility == "Yes")
        on_actionStation_Details_triggered();
    if (contact->visibility == "Yes")
        on_actionContact_Details_triggered();
    // The windows reopen at once; what they show of the whole log follows
    // once the main window is up (finishStartup).
    if (activity->visibility == "Yes")
        showStatisticsWindow();
    if (parkLog->visibility == "Yes")
        on_actionShow_Park_Log_triggered();
    if (contactLog->visibility == "Yes")
        showContactLogWindow();
    // The list reopens on the record of the park the Station window selects;
    // nothing is re-activated, so the slots stay as they were saved.
    if (activationLog->visibility == "Yes")
        enterMode(potaMode);

    autoReply = wsjtx->autoReplyChecked();
    setQsoStatus(autoReply ? 1 : 0);
    if (wsjtx->visibility == "Yes")
        on_actionWSJT_X_Panel_triggered();

    activateWindow();
    on_setTodayData_pressed();
    changesAtOpen = Backups::totalChanges(QSqlDatabase::database(Database::logConnection, false));
    QTimer::singleShot(0, this, [this, run = startupRun] { finishStartup(run, 0); });
}

// The long work of a start, one step at a time whenever the event loop is
// free, so the operator can type as soon as the main window shows: every
// activation record recounted from the log (mending counters left wrong by
// another program or an older version), then the activation list, the
// statistics and the contact log drawn from the recounted records.
void Parkbook::finishStartup(int run, int step)
{
    if (run != startupRun)
        return; // a newer start (another data directory) took over
    switch (step) {
    case 0:
        recountSlice(
            run,
            ParksTable::sliceDates(QSqlDatabase::database(Database::logConnection, false), 500), 0);
        return;
    case 1:
        refreshActivationList();
        break;
    case 2:
        if (activity->isVisible())
            displayStatistics();
        break;
    case 3:
        if (contactLog->isVisible()) {
            fillContactLog(true, [this, run] { finishStartup(run, 4); });
            return;
        }
        break;
    default:
        startupDone = true;
        qCDebug(lcSupport) << "start finished";
        return;
    }
    QTimer::singleShot(0, this, [this, run, step] { finishStartup(run, step + 1); });
}

// The start's recount, a range of about 500 records at a time: a key typed
// meanwhile waits for one range, not for all of them. A contact logged in
// between has its record counted when it is written, and a range still to
// come reads the log as it is then.
void Parkbook::recountSlice(int run, const QStringList& cuts, int slice)
{
    if (run != startupRun)
        return;
    QSqlDatabase db = QSqlDatabase::database(Database::logConnection, false);
    // The recount's own writes are not changes of the operator's.
    const qint64 before = Backups::totalChanges(db);
    ParksTable::recountDates(db, slice == 0 ? QString() : cuts.at(slice - 1), cuts.value(slice));
    changesAtOpen += Backups::totalChanges(db) - before;
    QTimer::singleShot(0, this, [this, run, cuts, slice] {
        if (slice < cuts.size())
            recountSlice(run, cuts, slice + 1);
        else
            finishStartup(run, 1);
    });
}

void Parkbook::sysclkTimeout()
{
    clockTick = UtcClock::now();
    const QString timeText = clockTick.toString("hhmmss");
    const QString dateText = clockTick.toString("yyyyMMdd");
    if (dateText != utcDate) {
        utcDate = dateText;
        ui->parkDate->setText(utcDate);
        ui->endDate->setText(utcDate);
        on_actionLoad_Park_Log_triggered();
    }
    ui->time->setPalette(timeText < "120000" ? redText : blueText);
    ui->time->setText(timeText);
    ui->today->setText(dateText);

    if (++udpCheckCount > 4) {
        udpCheckCount = 0;
        // A failed bind leaves the socket valid but not bound.
        if (udpSocket->state() != QAbstractSocket::BoundState)
            initUdpSocket();
    }
}

void Parkbook::backHome()
{
    activateWindow();
}

void Parkbook::closeWsjtx()
{
    wsjtx->writeSettings(settingsFile);
}

void Parkbook::on_actionExit_triggered()
{
    close();
}

void Parkbook::on_actionStatus_Tips_triggered()
{
    statusTips = ui->actionStatus_Tips->isChecked() ? 1 : 0;
    statusTipFilter = statusTips;
}

void Parkbook::closeEvent(QCloseEvent* event)
{
    // Asked before saveStation, which writes the station row at every exit.
    const bool changed = Backups::totalChanges(QSqlDatabase::database(Database::logConnection,
                                                                      false)) > changesAtOpen;
    saveStation();
    activity->writeSettings(settingsFile);
    contact->writeSettings(settingsFile);
    station->writeSettings(settingsFile);
    wsjtx->writeSettings(settingsFile);
    seeFile->writeSettings(settingsFile, "About", seeFile->content, seeFile->isVisible());
    parkLog->writeSettings(settingsFile, "ParkLog", parkLog->isVisible());
    contactLog->writeSettings(settingsFile, "ContactLog", contactLog->isVisible());
    activationLog->writeSettings(settingsFile, "ActivationLog", activationLog->isVisible());
    writeSettings(settingsFile);
    if (changed)
        backUpLog(); // a copy that cannot be written is said, and the exit goes on
    QSqlDatabase::database(Database::logConnection, false).close();
    QCoreApplication::quit();
    event->accept();
}

bool Parkbook::eventFilter(QObject* watched, QEvent* event)
{
    return statusTipFilter == 0 && watched != nullptr && event->type() == QEvent::StatusTip;
}
