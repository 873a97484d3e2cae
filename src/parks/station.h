#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

// Placeholder window: its widgets arrive with its own work.
class Station : public QDialog
{
    Q_OBJECT

public:
    explicit Station(QWidget* parent = nullptr);

    QString visibility = "Yes"; // remembered visibility from the settings

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);

Q_SIGNALS:
    void closeSig();
    void escapeSig();
    void connectSig();
    void saveStationSig();
    void newGridSig();
    void newParkSig();
    void newLocationSig();
    void act1Sig(bool checked);
    void act2Sig(bool checked);
    void act3Sig(bool checked);
    void act4Sig(bool checked);
    void act5Sig(bool checked);

private Q_SLOTS:
    void toMainWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
};
