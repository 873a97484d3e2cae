#include "app/parkbook.h"
#include "app/prompter.h"
#include "settings/windowgeometry.h"
#include "support/seefile.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QSignalBlocker>

void Parkbook::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Main");

    const QString defaultData = currentDir.path() + "/Programs/Parkbook/Data";
    dataDir = QDir(settings.value("DataDirectory", defaultData).toString());
    if (!dataDir.exists())
        dataDir = QDir(defaultData);

    statusTips = settings.value("StatusTips", 1).toInt();
    {
        const QSignalBlocker blocker(ui->actionStatus_Tips);
        ui->actionStatus_Tips->setChecked(statusTips != 0);
    }
    statusTipFilter = statusTips;

    autoUpdate = settings.value("AutoUpdate", true).toBool();
    {
        const QSignalBlocker blocker(ui->actionAuto_Update_Check);
        ui->actionAuto_Update_Check->setChecked(autoUpdate);
    }

    theme = settings.value("Theme", "light").toString();
    currentPark = settings.value("Park", "K-nnnn").toString();
    potaMode = settings.value("PotaMode", "Activating").toString();
    stationCall = settings.value("Station", "").toString();
    operatorCall = settings.value("Operator", "").toString();
    backupsKept = qMax(1, settings.value("BackupsKept", 10).toInt());

    if (settings.value("Exist").toString() != "Yes") {
        const WindowGeometry::Geometry geometry = WindowGeometry::defaultFor("Main");
        resize(geometry.size);
        move(geometry.position);
    } else {
        resize(settings.value("Size").toSize());
        move(settings.value("Position").toPoint());
    }
    settings.endGroup();
}

void Parkbook::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Main");
    settings.setValue("Exist", "Yes");
    settings.setValue("Size", size());
    settings.setValue("Position", pos());
    settings.setValue("DataDirectory", dataDir.path());
    settings.setValue("StatusTips", statusTips);
    settings.setValue("AutoUpdate", autoUpdate);
    settings.setValue("Theme", theme);
    settings.setValue("Park", currentPark);
    settings.setValue("PotaMode", potaMode);
    settings.setValue("Station", stationCall);
    settings.setValue("Operator", operatorCall);
    settings.setValue("BackupsKept", backupsKept);
    settings.endGroup();
}

bool Parkbook::setDatabaseDirectory(QDir dDir)
{
    dataDir = dDir;
    if (!dataDir.exists()) {
        prompter->critical(this, "Error: Cannot Find Data Directory",
                           "Directory '" + dataDir.path() + "' is missing.");
        logError("Cannot Find Data Directory" + dataDir.path());
        return false;
    }
    errorLogFile.close();
    errorLogFile.setFileName(dataDir.path() + "/errorLog.txt");
    if (!errorLogFile.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Text)) {
        const QString fileName = errorLogFile.fileName();
        prompter->critical(this, "Can't Open File",
                           "File " + fileName + "\nCould not be Opened.\n");
        logError("Cannot Open File " + fileName);
        return false;
    }
    return true;
}

void Parkbook::on_actionSet_Data_Directory_triggered()
{
    QString chosen;
    for (;;) {
        chosen = prompter->existingDirectory(this, "Select Parkbook Data Directory", dataDir.path(),
                                             QFileDialog::ShowDirsOnly |
                                                 QFileDialog::DontResolveSymlinks |
                                                 QFileDialog::DontUseNativeDialog);
        if (chosen.isEmpty())
            return;
        if (QDir(chosen) == dataDir) {
            prompter->information(this, "Same Parkbook Data Directory",
                                  "You have not change the Parkbook Data Directory.");
            break;
        }
        const auto answer = prompter->question(
            this, "New Parkbook Data Directory!",
            "You have selected:\n\n\"" + chosen +
                "\"\n\n as the new Parkbook Data Directory.\n\nIs this what you really want?\n",
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            break;
    }
    dataDir = QDir(chosen);
    setDatabaseDirectory(dataDir);
    initWindows();
}

void Parkbook::logError(QString msg)
{
    const QByteArray line =
        clockTick.toString("MM/dd/yyyy hh:mm:ss ").toUtf8() + msg.toUtf8() + '\n';
    const bool written = errorLogFile.write(line) == line.size() && errorLogFile.flush();
    if (!written && !errorLogFailed) {
        // Said once: every later error would fail the same way.
        errorLogFailed = true;
        prompter->critical(this, "Error Log Not Written",
                           "File " + errorLogFile.fileName() + "\nCould not be written:\n" +
                               errorLogFile.errorString() + "\n\n" + msg);
    }
    if (seeFile && seeFile->isVisible() && seeFile->content == "ErrorLog")
        seeFile->showErrorLog(dataDir);
}
