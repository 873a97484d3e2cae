// Feeds arbitrary datagrams to a whole Parkbook, as if WSJT-X had sent them:
// through the dispatch and, so that every handler sees every input, to each
// handler directly. Operator Q1ABC activates K-0001 with automatic reply on,
// so decodes, reports and logged records take their longest paths. Nothing
// leaves the machine: no datagram has arrived on the socket, so every answer
// is dropped, and QRZ points at a closed local port. It starts as a fresh
// install does, with every window shown.
#include "app/parkbook.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_station.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstddef>
#include <cstdint>

namespace
{
// Kept to the end of the process on purpose: libFuzzer leaves through exit(),
// where tearing the windows down after Qt's own exit handlers would crash.
QApplication* app = nullptr;
TempHome* home = nullptr;
Parkbook* parkbook = nullptr;
int runs = 0;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    home = new TempHome();
    parkbook = home->makeParkbook().release();
    Ui::Station* station = parkbook->station->ui;
    station->call->setText("Q1ABC");
    station->grid->setText("FN31pr");
    station->pRef1->setText("K-0001");
    station->name1->setText("Fuzz Park");
    station->act1->setChecked(true);
    parkbook->potaMode = "Activating";
    parkbook->wsjtx->ui->autoReply->setChecked(true);
    parkbook->setAutoReply();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that a read past the end hits the sanitizer.
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    parkbook->dispatchDatagram(datagram);
    parkbook->heartBeat(datagram);
    parkbook->statusMessage(datagram);
    parkbook->decodeMessage(datagram);
    parkbook->logADIF(datagram);

    // What the handlers leave for the event loop (the windows a fresh install
    // shows redraw, objects deleted later) is done before the next input, or
    // each input would look like a leak and cost a whole leak check. The
    // results view, the prompts heard and the logged rows are cleared often,
    // or the lists every logged contact redraws would grow with every input.
    QCoreApplication::processEvents();
    home->sound.started.clear();
    if (++runs % 16 == 0) {
        parkbook->clearResults();
        QSqlQuery(QSqlDatabase::database("parkbook")).exec("DELETE FROM log");
        QSqlQuery(QSqlDatabase::database("parkbook")).exec("DELETE FROM parks");
    }
    return 0;
}
