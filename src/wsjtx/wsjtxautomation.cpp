// What the WSJT-X messages mean for a POTA operator: the QSO status, automatic
// replies to CQ POTA, duplicate warnings, spoken prompts and logging.
#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/parklogmemory.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "support/soundplayer.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtx/wsjtxcodec.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>

void Parkbook::playPrompt(const QString& name)
{
    sound().play(programDir.path() + name);
}

bool Parkbook::inParkLog(const QString& call)
{
    return ParkLogMemory::hasCall(Database::memory(), call);
}

void Parkbook::heartBeat(QByteArray)
{
    sendLocation();
    if (!txEnabled && qsoStatus == 2)
        setQsoStatus(autoReply ? 1 : 0);
}

// JTDX's Status has no Tx message. The DX call it works and the report it
// gives stand in for it, written as WSJT-X would report it. Tx enabled is left
// out on purpose: switching Tx on to call CQ again, with the last station
// still in the DX call box, must not start that QSO (and its duplicate
// warning) once more.
static QString impliedTxMessage(const WsjtxCodec::StatusMsg& status)
{
    if (status.dxCall.isEmpty() || status.report.isEmpty())
        return {};
    return status.dxCall + ' ' + status.deCall + ' ' + status.report;
}

void Parkbook::statusMessage(QByteArray data)
{
    const WsjtxCodec::StatusMsg status = WsjtxCodec::readStatus(data);
    txEnabled = status.txEnabled;
    if (status.txWatchdog)
        setQsoStatus(5);
    else if (qsoStatus == 5)
        setQsoStatus(1);

    txMessage = status.hasTxMessage ? status.txMessage : impliedTxMessage(status);
    if (txMessage == previousTxMessage)
        return;
    if (!WsjtxCodec::hasReport(txMessage.toUtf8())) {
        previousTxMessage = txMessage;
        return;
    }
    const qsizetype space = txMessage.indexOf(' ');
    if (space > 0) {
        // WSJT-X has started sending a report to this station.
        const QString call = txMessage.left(space);
        if (inParkLog(call)) {
            playPrompt("/_Duplicate_Contact.mp3");
            freeText(2, false);
        }
        ui->call->setText(call);
        lookUpContact();
        setQsoStatus(2);
    }
    previousTxMessage = txMessage;
}

void Parkbook::decodeMessage(QByteArray data)
{
    const WsjtxCodec::DecodeMsg decode = WsjtxCodec::readDecode(data);
    const QByteArray& message = decode.message;
    const QByteArray myCall = station->ui->call->text().toUtf8();
    static const QByteArray cqPota("CQ POTA ");
    QString prompt;

    if (!myCall.isEmpty() && message.startsWith(myCall)) {
        if (potaMode == "Activating")
            freeText(1, false);
        const bool report = WsjtxCodec::hasReport(message);
        prompt = "/_Calling_You.mp3";
        if (WsjtxCodec::hasSignOff(message))
            prompt = "/_Goodbye.mp3";
        if (report)
            prompt = "/_Report.mp3";
        if (report && qsoStatus == 2)
            setQsoStatus(4);
    } else if (message.contains(cqPota)) {
        prompt = "/_CQ_POTA.mp3";
        if (qsoStatus == 1 || qsoStatus == 5) {
            // The caller follows "CQ POTA " wherever it stands in the message.
            const QByteArray rest = message.mid(message.indexOf(cqPota) + cqPota.size());
            const QString caller = QString::fromUtf8(rest.left(rest.indexOf(' ')));
            if (inParkLog(caller)) {
                prompt = "/_Possible_Duplicate.mp3";
            } else if (autoReply) {
                // The reply first: WSJT-X waits for it, the status label does not.
                replyQso(data);
                setQsoStatus(2);
            }
        }
    } else if (message.contains(" POTA ")) {
        prompt = "/_POTA.mp3";
    } else {
        const QByteArray search1 = wsjtx->ui->search1->text().toUtf8();
        const QByteArray search2 = wsjtx->ui->search2->text().toUtf8();
        if (!search1.isEmpty() && message.contains(search1))
            prompt = "/_Search_One.mp3";
        else if (!search2.isEmpty() && message.contains(search2))
            prompt = "/_Search_Two.mp3";
        else
            return;
    }

    playPrompt(prompt);
    QPlainTextEdit* results = wsjtx->ui->results;
    results->appendPlainText(WsjtxCodec::decodeLine(decode));
    QTextCursor cursor = results->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    results->setTextCursor(cursor);
    results->ensureCursorVisible();
}

void Parkbook::logADIF(QByteArray data)
{
    if (importRunning) {
        whenLogIsFree([this, data] { logADIF(data); });
        return;
    }
    const QString record = WsjtxCodec::readLoggedAdif(data);
    const QStringList notLogged = logFromWSJT(record);
    if (parkLog->isVisible()) {
        ui->parkDate->setText(contactRecord.date);
        ui->endDate->setText(contactRecord.date);
        ui->parkReference->setText(currentPark);
        on_actionLoad_Park_Log_triggered();
        QTextCursor cursor = parkLog->ui->log->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::StartOfBlock);
        parkLog->ui->log->setTextCursor(cursor);
        parkLog->ui->log->ensureCursorVisible();
    }
    if (contactLog->isVisible())
        on_actionContact_Log_triggered();
    setQsoStatus(1);
    on_clear_clicked();
    // Said last, once for all parks: the box runs an event loop of its own
    // (the clock, the operator's keys), which must find this contact done.
    if (!notLogged.isEmpty())
        prompt().critical(this, "WSJT-X Contact Not Logged",
                          "The contact with " + extractField(record, "CALL") + " at " +
                              notLogged.join(", ") +
                              " logged by WSJT-X could not be written to the database.");
}

QStringList Parkbook::logFromWSJT(QString record)
{
    setParkFromStation();
    const QString qsoDate = extractField(record, "QSO_DATE");
    const QString qsoTime = extractField(record, "TIME_ON");
    // A record without a call sign or a proper date (a cut or garbled
    // datagram) would put empty rows into every active park: keep it out.
    static const QRegularExpression eightDigits("^\\d{8}$");
    const QString call = extractField(record, "CALL");
    if (call.trimmed().isEmpty() || !eightDigits.match(qsoDate).hasMatch())
        return {};
    contactRecord.date = qsoDate;
    QStringList notLogged;
    for (int slot = 1; slot <= 5; ++slot) {
        if (!station->activeBox(slot)->isChecked())
            continue;
        const QString park = station->parkRef(slot)->text();
        if (!logRecord(qsoDate, qsoTime, park, record)) {
            // WSJT-X sends a logged contact once: a refused write must be said.
            logError("WSJT-X contact " + call + " " + qsoDate + " " + qsoTime + " at " + park +
                     " could not be written");
            notLogged << park;
            continue;
        }
        addToParks(qsoDate, park, station->parkNameEdit(slot)->text());
    }
    return notLogged;
}
