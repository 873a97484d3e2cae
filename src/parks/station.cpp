#include "parks/station.h"

#include "parks/textcase.h"
#include "settings/windowgeometry.h"
#include "ui_station.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>

Station::Station(QWidget* parent) : QDialog(parent), ui(new Ui::Station)
{
    ui->setupUi(this);
    setObjectName("Station");
    resize(580, 250);

    // The three lists are editable only so that their text can be centred;
    // the line edit is then locked so the user can only pick an entry.
    makeListBox(ui->state);
    makeListBox(ui->mode);
    makeListBox(ui->band);

    struct Binding {
        QKeySequence keys;
        void (Station::*slot)();
    };
    const Binding bindings[] = {
        {QKeySequence(Qt::Key_Escape), &Station::toMainWindow},
        {QKeySequence(Qt::Key_Up), &Station::previousPark},
        {QKeySequence(Qt::Key_Down), &Station::nextPark},
        {QKeySequence("Alt+c"), &Station::on_connectQRZ_clicked},
        {QKeySequence("Alt+s"), &Station::on_saveStation_clicked},
    };
    for (const Binding& binding : bindings) {
        auto* shortcut = new QShortcut(binding.keys, this);
        connect(shortcut, &QShortcut::activated, this, binding.slot);
    }
    for (int slot = 1; slot <= 5; ++slot)
        connect(parkRef(slot), &QLineEdit::editingFinished, this,
                [this, slot] { Q_EMIT parkEnteredSig(slot); });
}

Station::~Station()
{
    delete ui;
}

void Station::makeListBox(QComboBox* box)
{
    box->setEditable(true);
    box->lineEdit()->setDisabled(true);
    box->lineEdit()->setReadOnly(true);
    box->lineEdit()->setAlignment(Qt::AlignCenter);
    box->setMaxVisibleItems(20);
}

QRadioButton* Station::parkButton(int slot) const
{
    QRadioButton* const buttons[] = {ui->pk1, ui->pk2, ui->pk3, ui->pk4, ui->pk5};
    return slot >= 1 && slot <= 5 ? buttons[slot - 1] : nullptr;
}

QCheckBox* Station::activeBox(int slot) const
{
    QCheckBox* const boxes[] = {ui->act1, ui->act2, ui->act3, ui->act4, ui->act5};
    return slot >= 1 && slot <= 5 ? boxes[slot - 1] : nullptr;
}

QCheckBox* Station::multiStateBox(int slot) const
{
    QCheckBox* const boxes[] = {ui->mst1, ui->mst2, ui->mst3, ui->mst4, ui->mst5};
    return slot >= 1 && slot <= 5 ? boxes[slot - 1] : nullptr;
}

QLineEdit* Station::parkRef(int slot) const
{
    QLineEdit* const edits[] = {ui->pRef1, ui->pRef2, ui->pRef3, ui->pRef4, ui->pRef5};
    return slot >= 1 && slot <= 5 ? edits[slot - 1] : nullptr;
}

QLineEdit* Station::parkNameEdit(int slot) const
{
    QLineEdit* const edits[] = {ui->name1, ui->name2, ui->name3, ui->name4, ui->name5};
    return slot >= 1 && slot <= 5 ? edits[slot - 1] : nullptr;
}

int Station::selectedSlot() const
{
    for (int slot = 1; slot <= 5; ++slot)
        if (parkButton(slot)->isChecked())
            return slot;
    return 0;
}

void Station::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Station");
    WindowGeometry::store(settings, this, isVisible());
    const int slot = selectedSlot();
    if (slot != 0)
        settings.setValue("Select", QString("PK%1").arg(slot));
    for (int n = 1; n <= 5; ++n)
        settings.setValue(QString("Active%1").arg(n), activeBox(n)->isChecked() ? "Active" : "No");
    settings.endGroup();
}

void Station::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Station");
    visibility = WindowGeometry::restore(settings, this, "Station");
    windowSize = size();
    windowPosition = pos();

    // Restoring the selection and the ticks must not announce anything: no
    // park record is to be created or changed by a start-up.
    const QString select = settings.value("Select", "").toString();
    for (int n = 1; n <= 5; ++n) {
        if (select == QString("PK%1").arg(n)) {
            const QSignalBlocker blocker(parkButton(n));
            parkButton(n)->setChecked(true);
        }
    }
    for (int n = 1; n <= 5; ++n) {
        const QString value =
            settings.value(QString("Active%1").arg(n), n == 1 ? "Active" : "No").toString();
        const QSignalBlocker blocker(activeBox(n));
        activeBox(n)->setChecked(value == "Active");
    }
    settings.endGroup();

    loadBandBox();
    loadModeBox();
    loadStateBox();
}

QString Station::toCapitalize(QString str)
{
    return TextCase::toCapitalize(str);
}

// Reading the settings twice must not give the lists their entries twice,
// so each list starts empty.
void Station::loadBandBox()
{
    ui->band->clear();
    ui->band->addItems({"?",   "2190m", "630m", "560m", "160m", "80m",  "60m", "40m", "30m",
                        "20m", "17m",   "15m",  "12m",  "10m",  "8m",   "6m",  "5m",  "4m",
                        "2m",  "1.25m", "70cm", "33cm", "23cm", "13cm", "9cm", "6cm", "3cm"});
}

void Station::loadModeBox()
{
    ui->mode->clear();
    ui->mode->addItems({"?",      "AM",    "ARDOP",  "ATV",   "C4FM", "CHIP",  "CLO",    "CONTESTI",
                        "CW",     "DV",    "DOMINO", "DSTAR", "FAX",  "FM",    "FSK441", "FT8",
                        "HELL",   "ISCAT", "JT4",    "JT6M",  "JT9",  "JT44",  "JT65",   "MFSK",
                        "MSK144", "MT63",  "OLIVIA", "OPERA", "PAC",  "PAX",   "PKT",    "PSK",
                        "PSK2K",  "Q15",   "QRA64",  "ROS",   "RTTY", "RTTYM", "SSB",    "SSTV",
                        "T10",    "THOR",  "THRB",   "TOR",   "V4",   "VOI",   "WINMOR", "WSPR"});
}

void Station::loadStateBox()
{
    ui->state->clear();
    ui->state->addItems({"?",  "AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "FL", "GA",
                         "HI", "ID", "IL", "IN", "IA", "KS", "KY", "LA", "ME", "MD", "MA",
                         "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY",
                         "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX",
                         "UT", "VT", "VA", "WA", "WV", "WI", "WY", "DC"});
}

void Station::on_connectQRZ_clicked()
{
    Q_EMIT connectSig();
}

void Station::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Station::previousPark()
{
    static const int previous[] = {4, 5, 1, 2, 3, 4}; // by selected slot, 0 = none
    const int slot = previous[selectedSlot()];
    parkButton(slot)->setChecked(true);
    selectPark(slot);
}

void Station::nextPark()
{
    static const int next[] = {1, 2, 3, 4, 5, 1};
    const int slot = next[selectedSlot()];
    parkButton(slot)->setChecked(true);
    selectPark(slot);
}

void Station::on_saveStation_clicked()
{
    Q_EMIT saveStationSig();
}

void Station::on_lat_textChanged()
{
    Q_EMIT newGridSig();
}

void Station::on_lon_textChanged()
{
    Q_EMIT newGridSig();
}

// Ticking by program does not emit clicked, so selecting a slot never
// reaches the activation handlers of the main window.
void Station::selectPark(int slot)
{
    for (int n = 1; n <= 5; ++n)
        activeBox(n)->setChecked(n == slot);
    Q_EMIT newParkSig();
}

void Station::on_pk1_clicked()
{
    selectPark(1);
}

void Station::on_pk2_clicked()
{
    selectPark(2);
}

void Station::on_pk3_clicked()
{
    selectPark(3);
}

void Station::on_pk4_clicked()
{
    selectPark(4);
}

void Station::on_pk5_clicked()
{
    selectPark(5);
}

// "?" means no state; an empty text only shows while the list is being
// refilled, and must not leave "US-" behind in the location.
void Station::on_state_currentTextChanged(QString arg1)
{
    if (arg1 != "?" && !arg1.isEmpty())
        ui->location->setText("US-" + arg1);
}

void Station::upperCase(QLineEdit* edit)
{
    const int position = edit->cursorPosition();
    edit->setText(edit->text().toUpper());
    edit->setCursorPosition(position);
}

void Station::capitalize(QLineEdit* edit)
{
    const int position = edit->cursorPosition();
    edit->setText(toCapitalize(edit->text()));
    edit->setCursorPosition(position);
}

void Station::on_station_textEdited(QString)
{
    upperCase(ui->station);
}

void Station::on_call_textEdited(QString)
{
    upperCase(ui->call);
}

void Station::on_location_textEdited(QString)
{
    upperCase(ui->location);
    Q_EMIT newLocationSig();
}

void Station::on_location_textChanged()
{
    Q_EMIT newLocationSig();
}

void Station::on_county_textEdited(QString)
{
    capitalize(ui->county);
    Q_EMIT newLocationSig();
}

void Station::parkEdited(int slot)
{
    if (parkButton(slot)->isChecked())
        Q_EMIT newParkSig();
}

void Station::on_pRef1_textEdited(QString)
{
    upperCase(ui->pRef1);
    parkEdited(1);
}

void Station::on_name1_textEdited(QString)
{
    capitalize(ui->name1);
    parkEdited(1);
}

void Station::on_pRef2_textEdited(QString)
{
    upperCase(ui->pRef2);
    parkEdited(2);
}

void Station::on_name2_textEdited(QString)
{
    capitalize(ui->name2);
    parkEdited(2);
}

void Station::on_pRef3_textEdited(QString)
{
    upperCase(ui->pRef3);
    parkEdited(3);
}

void Station::on_name3_textEdited(QString)
{
    capitalize(ui->name3);
    parkEdited(3);
}

void Station::on_pRef4_textEdited(QString)
{
    upperCase(ui->pRef4);
    parkEdited(4);
}

void Station::on_name4_textEdited(QString)
{
    capitalize(ui->name4);
    parkEdited(4);
}

void Station::on_pRef5_textEdited(QString)
{
    upperCase(ui->pRef5);
    parkEdited(5);
}

void Station::on_name5_textEdited(QString)
{
    capitalize(ui->name5);
    parkEdited(5);
}

void Station::on_act1_clicked(bool checked)
{
    Q_EMIT act1Sig(checked);
}

void Station::on_act2_clicked(bool checked)
{
    Q_EMIT act2Sig(checked);
}

void Station::on_act3_clicked(bool checked)
{
    Q_EMIT act3Sig(checked);
}

void Station::on_act4_clicked(bool checked)
{
    Q_EMIT act4Sig(checked);
}

void Station::on_act5_clicked(bool checked)
{
    Q_EMIT act5Sig(checked);
}

void Station::on_mst1_clicked()
{
    Q_EMIT newParkSig();
}

void Station::on_mst2_clicked()
{
    Q_EMIT newParkSig();
}

void Station::on_mst3_clicked()
{
    Q_EMIT newParkSig();
}

void Station::on_mst4_clicked()
{
    Q_EMIT newParkSig();
}

void Station::on_mst5_clicked()
{
    Q_EMIT newParkSig();
}

void Station::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
