#include "temphome.h"

#include "app/parkbook.h"
#include "parks/station.h"
#include "ui_parkbook.h"

#include <QFile>
#include <QSettings>
#include <QTest>

TempHome::TempHome(bool withDataDir) : previousDir(QDir::currentPath())
{
    // No test may reach the real QRZ service: unless a test points it at a
    // fake, it goes to a closed port on this machine. A fresh install has no
    // update server, so the update check asks nobody unless a test sets one.
    if (qEnvironmentVariableIsEmpty("PARKBOOK_QRZ_URL"))
        qputenv("PARKBOOK_QRZ_URL", "http://127.0.0.1:9/xml/current/");
    QDir().mkpath(infoPath());
    if (withDataDir)
        QDir().mkpath(dataPath());
    const QDir assets(PARKBOOK_INFO_DIR);
    for (const QString& name : assets.entryList(QDir::Files))
        QFile::copy(assets.filePath(name), infoPath() + "/" + name);
    QDir::setCurrent(dir.path());
}

void TempHome::writeHiddenWindowSettings()
{
    QSettings settings(iniPath(), QSettings::IniFormat);
    for (const char* group : {"About", "Station", "Contact", "Activity", "WSJTx", "ParkLog",
                              "ContactLog", "ActivationLog"})
        settings.setValue(QString(group) + "/Visible", "No");
    settings.setValue("Main/AutoUpdate", false);
}

std::unique_ptr<Parkbook> TempHome::makeParkbook()
{
    auto parkbook = std::make_unique<Parkbook>(&prompter, &sound);
    // What the start leaves for the event loop is done before a test looks.
    if (!QTest::qWaitFor([&parkbook] { return parkbook->startupDone; }, 30000))
        qWarning("Parkbook did not finish starting within 30 s");
    return parkbook;
}

void fillTestStation(Parkbook& pb)
{
    Ui::Station* form = pb.station->ui;
    form->mode->setCurrentText("SSB");
    form->band->setCurrentText("20m");
    const std::pair<QLineEdit*, const char*> texts[] = {
        {form->station, "K1STN"},     {form->call, "K1OP"},    {form->frequency, "14.250"},
        {form->power, "100"},         {form->pRef1, "K-0001"}, {pb.ui->parkReference, "K-0001"},
        {pb.ui->parkDate, "20260601"}};
    for (const auto& [edit, text] : texts)
        edit->setText(text);
    form->act1->setChecked(true);
}
