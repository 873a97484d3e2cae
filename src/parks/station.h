#pragma once

#include <QDialog>
#include <QDir>
#include <QPoint>
#include <QSize>
#include <QString>

// The form is part of the interface: other windows read its widgets.
#include "ui_station.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The station details: call signs, QRZ password, position, mode, band,
// frequency, power, state, county, location and the five park slots. Other
// windows read its widgets directly through `ui`; the main window loads and
// saves its contents in the `station` table.
class Station : public QDialog
{
    Q_OBJECT

public:
    explicit Station(QWidget* parent = nullptr);
    ~Station() override;

    Ui::Station* ui;
    QString visibility = "Yes"; // remembered visibility from the settings
    QSize windowSize;           // as last read from the settings
    QPoint windowPosition;

    // Slot widgets by number, 1 to 5 (null outside that range).
    QRadioButton* parkButton(int slot) const;
    QCheckBox* activeBox(int slot) const;
    QCheckBox* multiStateBox(int slot) const;
    QLineEdit* parkRef(int slot) const;
    QLineEdit* parkNameEdit(int slot) const;
    // The number of the selected slot, 0 when none is selected.
    int selectedSlot() const;

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);
    QString toCapitalize(QString str);

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
    // A park reference was entered in slot 1..5 (Enter or leaving the field).
    void parkEnteredSig(int slot);

private Q_SLOTS:
    void loadBandBox();
    void loadModeBox();
    void loadStateBox();
    void on_connectQRZ_clicked();
    void toMainWindow();
    void previousPark();
    void nextPark();
    void on_saveStation_clicked();
    void on_lat_textChanged();
    void on_lon_textChanged();
    void on_pk1_clicked();
    void on_pk2_clicked();
    void on_pk3_clicked();
    void on_pk4_clicked();
    void on_pk5_clicked();
    void on_state_currentTextChanged(QString arg1);
    void on_station_textEdited(QString arg1);
    void on_call_textEdited(QString arg1);
    void on_location_textEdited(QString arg1);
    void on_location_textChanged();
    void on_county_textEdited(QString arg1);
    void on_pRef1_textEdited(QString arg1);
    void on_name1_textEdited(QString arg1);
    void on_pRef2_textEdited(QString arg1);
    void on_name2_textEdited(QString arg1);
    void on_pRef3_textEdited(QString arg1);
    void on_name3_textEdited(QString arg1);
    void on_pRef4_textEdited(QString arg1);
    void on_name4_textEdited(QString arg1);
    void on_pRef5_textEdited(QString arg1);
    void on_name5_textEdited(QString arg1);
    void on_act1_clicked(bool checked);
    void on_act2_clicked(bool checked);
    void on_act3_clicked(bool checked);
    void on_act4_clicked(bool checked);
    void on_act5_clicked(bool checked);
    void on_mst1_clicked();
    void on_mst2_clicked();
    void on_mst3_clicked();
    void on_mst4_clicked();
    void on_mst5_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Ticks the activation box of `slot` only and announces the new park.
    void selectPark(int slot);
    void upperCase(QLineEdit* edit);
    void capitalize(QLineEdit* edit);
    void parkEdited(int slot);
    static void makeListBox(QComboBox* box);
};
