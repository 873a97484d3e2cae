#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

// Every message box and file or directory chooser goes through a Prompter, so
// that tests can script the answers and read back what was asked.
class Prompter
{
public:
    virtual ~Prompter() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    virtual QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir,
                                      QFileDialog::Options options) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // A box whose buttons say what they do: the index of the button pressed,
    // or -1 when it was closed without one. The last button is the one that
    // backs out (Escape).
    virtual int choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                       const QString& text, const QStringList& buttons, int defaultButton) = 0;
    // One of `items`: its index, or -1 when the chooser was cancelled.
    virtual int chooseItem(QWidget* parent, const QString& title, const QString& label,
                           const QStringList& items) = 0;

    QMessageBox::StandardButton information(QWidget* parent, const QString& title,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    QMessageBox::StandardButton
    question(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

// The program's own prompter: real message boxes and Qt's file dialogs.
class DialogPrompter final : public Prompter
{
public:
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir,
                              QFileDialog::Options options) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    int choose(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
               const QStringList& buttons, int defaultButton) override;
    int chooseItem(QWidget* parent, const QString& title, const QString& label,
                   const QStringList& items) override;
};
