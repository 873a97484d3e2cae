#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

namespace Ui
{
class Wsjtx;
}

// The WSJT-X panel: UDP address and port, auto reply, two search texts, the
// QSO status and the decodes worth showing. The main window reads and writes
// its widgets; the panel itself only upper-cases the search texts.
class Wsjtx : public QDialog
{
    Q_OBJECT

public:
    explicit Wsjtx(QWidget* parent = nullptr);
    ~Wsjtx() override;

    Ui::Wsjtx* ui;
    QString visibility = "Yes"; // remembered visibility from the settings
    bool autoReplyChecked() const;

Q_SIGNALS:
    void closeSig();
    void escapeSig();
    void autoReplySig();
    void udpInitSig();
    void clearResultsSig();

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);
    void toMainWindow();
    void on_udpInit_clicked();
    void on_clearBuffer_clicked();
    void on_search1_textEdited(QString arg1);
    void on_search2_textEdited(QString arg1);
    void on_autoReply_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;
};
