#pragma once

#include "app/parkbook.h"
#include "fakeqrzserver.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QFile>
#include <QTest>
#include <memory>

// A main window in a temporary home that talks to a fake QRZ service.
struct QrzFixture {
    TempHome home;
    FakeQrzServer server;
    std::unique_ptr<Parkbook> pb;

    bool build()
    {
        if (!server.start())
            return false;
        qputenv("PARKBOOK_QRZ_URL", server.url().toUtf8());
        pb = home.makeParkbook();
        // The start's update check ends (no update server) and signs in only
        // when the station has a call and password: none yet, so each test
        // signs in itself.
        QCoreApplication::processEvents();
        home.prompter.clear();
        pb->station->ui->call->setText(server.user);
        pb->station->ui->pwd->setText(server.password);
        return true;
    }

    ~QrzFixture()
    {
        pb.reset();
        qunsetenv("PARKBOOK_QRZ_URL");
    }

    QString errorLog() const
    {
        QFile file(home.dataPath() + "/errorLog.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

// Connects and waits (bounded) for the status the login ends in.
#define QRZ_CONNECT(fixture)                                                                       \
    do {                                                                                           \
        (fixture).pb->connectQRZ();                                                                \
        QTRY_COMPARE_WITH_TIMEOUT((fixture).pb->ui->connectStatus->text(), QString("Connected"),   \
                                  10000);                                                          \
        (fixture).home.prompter.clear();                                                           \
    } while (false)
