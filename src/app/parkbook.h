#pragma once

#include "db/contactrow.h"
#include "wsjtx/wsjtxcodec.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QPalette>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace Ui
{
class Parkbook;
}
namespace Adif
{
class FieldIndex;
}
namespace LogTable
{
class NewestFirst;
}
namespace ParkList
{
struct Park;
}

class Activity;
class Contact;
class RecordWriter;
struct ParkRecord;
enum class Step;
class Prompter;
class QCloseEvent;
class QNetworkAccessManager;
class QNetworkReply;
class QSslError;
class QProgressBar;
class QTimer;
class QUdpSocket;
class SeeFile;
class SeeLog;
class SoundPlayer;
class Station;
class Wsjtx;

// The main window owns everything: databases, settings, secondary windows, the
// clock, the WSJT-X socket and the network manager. Its members are defined in
// the folder of the subsystem they belong to (contact entry in logging/, park
// records in parks/, ...); this header groups them the same way.
class Parkbook : public QMainWindow
{
    Q_OBJECT

public:
    // `prompter` and `sound` are the seams for tests; null gives the real
    // message boxes and the Qt Multimedia player.
    explicit Parkbook(Prompter* prompter = nullptr, SoundPlayer* sound = nullptr,
                      QWidget* parent = nullptr);
    ~Parkbook() override;

    Ui::Parkbook* ui;

    // ---- application core (app/) ---------------------------------------
    QDir currentDir;
    QDir programDir;
    QDir settingsFile;
    QDateTime clockTick;
    QString utcDate;
    QPalette lightPalette;
    QPalette darkPalette;
    QFont monoFont;
    QFont sansFont;
    QTimer* clockTimer = nullptr;
    int timerInterval = 1000;
    int udpCheckCount = 0;
    QByteArray zeroBytes; // 00 00 00 00, used by the WSJT-X encoder
    QByteArray onesBytes; // FF FF FF FF
    QNetworkAccessManager* networkManager = nullptr;
    QProgressBar* progressBar = nullptr;

    Station* station = nullptr;
    Contact* contact = nullptr;
    Activity* activity = nullptr;
    Wsjtx* wsjtx = nullptr;
    SeeFile* seeFile = nullptr;
    SeeLog* contactLog = nullptr;
    SeeLog* parkLog = nullptr;
    SeeLog* activationLog = nullptr;

    Prompter& prompt() { return *prompter; }
    // Work the start leaves for the event loop once the window is shown
    // (recounting the activation records, filling the long lists); true
    // when it is all done.
    bool startupDone = true;
    SoundPlayer& sound() { return *soundPlayer; }

public Q_SLOTS:
    void initWindows();
    void sysclkTimeout();
    void backHome();
    void closeWsjtx();

    // ---- databases (db/) ------------------------------------------------
    void setupDbLog();
    void setupDbMem();
    void on_actionRestore_Backup_triggered();

public:
    int backupsKept = 10;     // "BackupsKept" of group "Main"
    qint64 changesAtOpen = 0; // total_changes() of the log once initWindows opened it
    // Writes a copy of the log into its Backups folder, then keeps only the
    // newest backupsKept when `rotate`. A failure is logged and said in a box.
    bool backUpLog(bool rotate = true);

    // ---- settings, data directory, error log (settings/) ---------------
public:
    QDir dataDir;
    QFile errorLogFile;
    bool errorLogFailed = false; // a write to the error log failed (reported once)
    QString theme;
    QString potaMode;
    QString currentPark;
    QString stationCall;
    QString operatorCall;
    int statusTips = 1;
    bool autoUpdate = true;
public Q_SLOTS:
    void readSettings(QDir sDir);
    void writeSettings(QDir sDir);
    bool setDatabaseDirectory(QDir dDir);
    void logError(QString msg);

    // ---- contact entry, park log, contact log (logging/) ---------------
public:
    int currentLogId = 0;
    int parkLogPosition = 0;
    int parkLogCount = 0;
    // What a list window shows: its rows changed `changes` times and it
    // shows `what` (park and date, or mode). Drawn again only when either
    // differs; a move through the same rows only moves the highlight.
    struct ListDrawing {
        int changes = -1;
        QString what;
        bool operator==(const ListDrawing& other) const
        {
            return changes == other.changes && what == other.what;
        }
    };
    int parkLogChanges = 0;          // rows added, changed or loaded into the park log
    ListDrawing parkLogDrawn;        // what the park log window shows
    QHash<qint64, int> parkLogLines; // its line of each `log` id
    int parkLogActiveLine = 0;
    bool addP2PPending = false;
    // Set when the latest write to `log` failed; the form is then kept.
    bool contactWriteFailed = false;
    // Working copy of one contact, filled from the form (or a `log` row) just
    // before it is written. Park, station and operator are passed or read at
    // the moment of writing.
    ContactRow contactRecord;

    int addToLog(QString park, int logId, int type);
    int addToMem(QString park, int logId, int type);
    int displayParkLog(int activeID);
    void displayContact(int logId);
    // The date the park log was last loaded for.
    QString parkLogDate;
    // Parks already written for the contact in the form (date|time|call|p2p
    // in contactLoggedKey) when a write failed half-way through the ticked
    // parks: the next F8 writes only the others.
    QStringList contactLoggedParks;
    QString contactLoggedKey;
    // The call whose details the Contact window shows (from a QRZ answer or
    // a park-log contact); empty when they are nobody's.
    QString contactDetailsCall;

    void logContact(int type, QString park);
    // The form and the Contact window emptied for a new contact, reports "59".
    void clearContactForm();
    // The Contact window's details (all but its call) emptied.
    void clearContactDetails();
    // Rebuilds the park log for the park and date on show, keeping the form.
    void loadParkLog();
public Q_SLOTS:
    void on_clear_clicked();
    void on_actionLoad_Park_Log_triggered();
    void on_actionShow_Park_Log_triggered();
    void on_actionContact_Log_triggered();
    void showContactLogWindow();
    // Draws every contact into the contact log, at once or (inParts) a part
    // at a time while the event loop is free; `finished` runs at the end.
    void fillContactLog(bool inParts, std::function<void()> finished);
    void topContact();
    void previousContact();
    void nextContact();
    void endContact();
    void on_goP2P_clicked();
    void on_addP2P_clicked();
    void on_logContact_pressed();
    void on_comment_returnPressed();
    void on_call_returnPressed();
    void on_lookUpContact_pressed();
    void on_sent_returnPressed();
    void on_rcvd_returnPressed();
    void on_state_returnPressed();
    void on_name_returnPressed();
    void on_p2p_returnPressed();
    void on_call_textEdited(QString arg1);
    void on_name_textEdited(QString arg1);
    void on_p2p_textEdited(QString arg1);
    void on_mode_textEdited(QString arg1);
    void on_band_textEdited(QString arg1);
    void on_deleteContact_clicked();

private:
    void callReturn();
    // Time, mode, band, frequency and power of a new contact.
    void stampContact();
    void logOperation();
    void takeContactFromForm();
    void writeContact(int type, const QString& park);
    void moveContact(Step step);

    // ---- park records, activation list, station (parks/) ---------------
public:
    int activationListId = 0;  // current entry of the activation list
    int activationParkId = 0;  // its parks row
    int activationChanges = 0; // the list rebuilt, or records changed
    ListDrawing activationsDrawn;
    QString activationText;             // the lines of the list, as loaded
    QHash<qint64, int> activationLines; // its line of each `parks` id
    int activationActiveLine = 0;
    // Working mode, band and state of the contact being entered; loaded from
    // the station record and replaced from the entry fields at each logging.
    QString contactMode;
    QString contactBand;
    QString contactState;
public Q_SLOTS:
    void calculateStatistics();
    void saveParks(bool autoSave);
    void setPark();
    void act1Checked(bool checked);
    void act2Checked(bool checked);
    void act3Checked(bool checked);
    void act4Checked(bool checked);
    void act5Checked(bool checked);
    void on_activate_clicked();
    void on_actionShow_Activations_triggered();
    void on_actionHunting_Log_triggered();
    void on_setTodayData_pressed();
    void topActivation();
    void previousActivation();
    void nextActivation();
    void endActivation();
    void deletePark();
    void addToParks(QString date, QString park, QString name);
    void setParkFromStation();
    void on_modeActivator_clicked();
    void on_modeHunter_clicked();
    void on_parkDate_editingFinished();
    void on_endDate_editingFinished();
    int loadActivations();
    int displayActivations(int activationID, int activeId);
    void showFirstActivation();
    // Rebuilds and redraws the list when it is open, after records or their
    // counters changed; never re-activates anything.
    void refreshActivationList();
    // Shows the list window for the mode and sets the mode up, without
    // re-activating a record.
    void enterMode(const QString& mode);
    // Whether `parkDate` holds a date to file contacts under; says why not.
    bool confirmParkDate();
    void on_actionStation_Details_triggered();
    void setStationDetails();
    void saveStation();

private:
    void moveActivation(Step step);
    // Draws every line of the activation list anew.
    void drawActivations(int activeId);
    // The record of `park` on `date` as the Station window describes it now.
    ParkRecord stationParkRecord(const QString& date, const QString& park,
                                 const QString& name) const;
    // ---- POTA park list (parks/) -----------------------------------------
public:
    QNetworkReply* parkListReply = nullptr;            // the list being downloaded
    class QProgressDialog* parkListProgress = nullptr; // shown while it downloads
    // The reference each Station slot was last checked with (index = slot).
    QStringList checkedStationParks = QStringList(6);
public Q_SLOTS:
    void on_actionImport_Park_List_triggered();
    void on_actionUpdate_Park_List_triggered();
    void parkListDownloadFinished(QNetworkReply* reply);
    void checkStationPark(int slot);
    void on_p2p_editingFinished();

private:
    void loadParkList(const QByteArray& csv, const QString& source);
    void fillStationPark(int slot, const ParkList::Park& park);

    // ---- location (geo/) -------------------------------------------------
public Q_SLOTS:
    void calculateGrid();
    void bearDist(double lat1, double lon1, double lat2, double lon2);
    void on_state_textEdited(QString arg1);
    void setLocation();

    // ---- QRZ (qrz/) ------------------------------------------------------
public:
    bool qrzConnected = false;
    QString qrzUser;
    QString qrzPassword;
    QString sessionKey;
    QString qrzCount;                        // lookups in the last 24 hours
    class QNetworkReply* qrzReply = nullptr; // latest QRZ request
    QByteArray qrzBody;                      // the answer being read
    // The QRZ result of the latest answer, already shaped for display.
    QString qrzCall, qrzFirstName, qrzLastName, qrzLicense, qrzCity, qrzState, qrzLat, qrzLon,
        qrzGrid, qrzCounty, qrzCountry, qrzDxcc, qrzBorn, qrzExpire, qrzError;
    int populateLastId = 0;
    int populateCount = 0;
    bool populateRunning = false;
    bool populateStopped = false;
    QString camelCase(QString str);
    QString removeNULLs(QString str);
public Q_SLOTS:
    void connectQRZ();
    void userReadyReadQRZ();
    void displayConnectStatus();
    void getContact();
    void lookUpContact();
    void contactReadyReadQRZ();
    void extractContactData();
    void contactDetailsToMainWindow();
    void on_actionContact_Details_triggered();
    void on_actionPopulate_QRZ_Data_triggered();
    void populateContact();
    void populateReadyReadQRZ();

private:
    class QNetworkReply* sendQrzRequest(const class QUrl& url);
    void sendLookup(const QString& call, bool fromContactWindow);
    bool takeQrzAnswer(class QNetworkReply* reply);

    // ---- ADIF (adif/) ----------------------------------------------------
public:
    QFile adifFile; // the export file, open only while createLogFile runs
    // Set while createLogFile writes the US- form of retired K- references.
    bool writeCurrentReferences = false;
    void createLogFile(QString type);
    // Lists what POTA would reject or mis-credit in the upload and lets the
    // operator go on or not; sets writeCurrentReferences from the answer.
    bool confirmUpload(const QString& startDate, const QString& endDate);
    void addPotaContactToFile(QString call, QString date, QString time, QString mode, QString band,
                              QString p2p);
    // `city` receives the row's county (written as CNTY); `contactCity` is the
    // row's own city, which decides whether its place is a state centre.
    void addContactToFile(QString call, QString date, QString time, QString name, QString city,
                          QString state, QString sent, QString rcvd, QString mode, QString band,
                          QString frequency, QString power, QString lat, QString lon, QString grid,
                          QString comment, QString p2p, QString contactCity = QString());
    QString extractField(QString line, QString fieldName);
    void logFromADIF(QString record);
    // What a field the record leaves empty is taken from: a contact from
    // WSJT-X is the one the entry windows show (the Contact window and `p2p`),
    // a file from another logger is not. The Station window's power and calls
    // stand in for both.
    enum class RecordFallback { EntryWindows, Empty };
    // What the main and Station windows say about the records of one file
    // (or one WSJT-X contact), read once rather than at every record.
    struct RecordDefaults {
        QString startDate, endDate, startTime, stopTime;
        QString shownPark, shownParkName;
        bool active[5] = {};
        QString parks[5], parkNames[5];
        QString power, station, operatorCall;
    };
    RecordDefaults recordDefaults() const;
    // Writes one record to `log`; false when the database refused it. The
    // text form is WSJT-X's and falls back to the entry windows.
    bool logRecord(QString date, QString time, QString park, QString record);
    bool logRecord(const QString& date, const QString& time, const QString& park,
                   const Adif::FieldIndex& fields, RecordFallback fallback,
                   const RecordDefaults& defaults, RecordWriter& writer);
    // One record of a file being imported through `writer`.
    void importRecord(const QString& record, const RecordDefaults& defaults, RecordWriter& writer);
    // Runs a write of the log now, or after the import that holds the log
    // in its transaction.
    void whenLogIsFree(std::function<void()> write);
    bool importRunning = false;
    QList<std::function<void()>> afterImport;
public Q_SLOTS:
    void on_actionExport_Park_Log_triggered();
    void on_actionExport_Contact_Log_triggered();
    void on_actionImport_Contact_Log_triggered();

    // ---- WSJT-X (wsjtx/) -------------------------------------------------
public:
    QUdpSocket* udpSocket = nullptr;
    QHostAddress wsjtxAddress; // sender of the latest datagram: where replies go
    quint16 wsjtxPort = 0;
    // Id and schema that sender gave in its latest valid datagram; nothing is
    // sent while they are unknown.
    std::optional<WsjtxCodec::Client> wsjtxClient;
    // Shown instead of the QSO status while the UDP port cannot be bound.
    QString udpProblem;
    bool autoReply = false;
    int qsoStatus = 0; // 0 Idle, 1 Ready, 2 Start QSO, 4 Waiting Log, 5 Tx Timeout
    bool txEnabled = false;
    QString txMessage;
    QString previousTxMessage;
    void sendDatagram(QByteArray datagram);
    // Hands one received datagram to its handler; anything without the magic
    // number or of another type is dropped.
    void dispatchDatagram(const QByteArray& data);
    void heartBeat(QByteArray data);
    void statusMessage(QByteArray data);
    void decodeMessage(QByteArray data);
    void logADIF(QByteArray data);
    // Returns the parks the contact could not be written to.
    QStringList logFromWSJT(QString record);
    void freeText(int msg, bool send);
    void replyQso(QByteArray data);
public Q_SLOTS:
    void initUdpSocket();
    void readPendingDatagrams();
    void setAutoReply();
    void clearResults();
    void setQsoStatus(int status);
    void clearBand();
    void replayBand();
    void haltTx();
    void sendLocation();
    void sendConfigure();
    void on_actionWSJT_X_Panel_triggered();

private:
    void setResultsColour();
    void playPrompt(const QString& name);
    bool inParkLog(const QString& call);

    // ---- statistics (stats/) ---------------------------------------------
public Q_SLOTS:
    void on_actionActivation_Statistics_triggered();
    void showStatisticsWindow();
    void displayStatistics();

    // ---- viewers, themes, update check (support/) ------------------------
public:
    Q_MOC_INCLUDE(<QSslError>)
    bool manualUpdate = false; // "Check for Updates" announces an up-to-date result
    QString latestVersion;     // first line of the server's version file
    QNetworkReply* versionReply = nullptr;
    QNetworkReply* downloadReply = nullptr;
    // Accent palettes and theme colours; switchPalette fills them for the theme
    // in use. The list colours start with their light-theme values.
    QPalette redText, greenText, blueText, comboText, plainText;
    QPalette redButton, greenButton, blueButton, grayButton;
    QColor themeText = QColor(0, 0, 0);
    QColor themeBlue = QColor(0, 0, 255);
    QColor themeGreen = QColor(0, 128, 0);
    QColor themeBackground;
    QColor themeShade;
public Q_SLOTS:
    void switchPalette(QPalette palette);
    void on_actionDark_Theme_triggered();
    void on_actionLight_Theme_triggered();
    void checkUpdates();
    void getVersionFinished(QNetworkReply* reply);
    void downloadFinished(QNetworkReply* reply);
    void sslErrors(QList<QSslError> sslErrors);
    void on_actionCheck_for_Updates_triggered();
    void on_actionAuto_Update_Check_triggered();
    void on_actionGetting_Started_triggered();
    void on_actionShortcut_Keys_triggered();
    void on_actionShow_Error_Log_triggered();
    void on_actionLicense_triggered();
    void on_actionChange_Log_triggered();
    void on_actionEnvironment_triggered();
Q_SIGNALS:
    // Every update check ends with it, whether or not the QRZ login followed.
    void updateCheckFinished(bool qrzLogin);

private:
    void openViewer(const QString& name, const QString& title, bool focusCall);
    void loginAfterUpdateCheck();

    // ---- form slots of the application core ------------------------------
private Q_SLOTS:
    void on_actionExit_triggered();
    void on_actionStatus_Tips_triggered();
    void on_actionSet_Data_Directory_triggered();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createShortcuts();
    void createWindows(const QIcon& icon);
    static QPalette darkThemePalette();
    void connectWindows();
    void finishStartup(int run, int step);
    void recountSlice(int run, const QStringList& cuts, int slice);
    void readContactLogPart(int fill, int run,
                            const std::shared_ptr<LogTable::NewestFirst>& contacts,
                            std::function<void()> finished);
    int contactLogFill = 0; // each fill of the contact log counts one
    int startupRun = 0;     // each start (and each change of data directory) counts one

    std::unique_ptr<Prompter> ownPrompter;
    std::unique_ptr<SoundPlayer> ownSoundPlayer;
    Prompter* prompter;
    SoundPlayer* soundPlayer;
    int statusTipFilter = 1;
};
