#pragma once

#include "app/prompter.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>

// A prompter for tests: records every box and chooser it was asked to show
// and answers from queues. A box with no scripted answer gets its default
// button (or the first button), so no test ever blocks on a modal box.
class ScriptedPrompter final : public Prompter
{
public:
    struct Shown {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QStringList buttonTexts; // the buttons of a choose() box
    };

    QList<Shown> shown;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> paths; // answers of the file and directory choosers ("" = cancel)
    QStringList chooserTitles;
    // Runs once while the next box is "open", as events delivered during a
    // real box's own event loop would.
    std::function<void()> whileShown;
    // Answers of choose() and chooseItem(), by index; without one, choose()
    // takes its default button and chooseItem() is cancelled.
    QQueue<int> choices;
    QStringList chooserItems; // what the latest item chooser offered

    QStringList titles() const;
    int count(const QString& title) const;
    void clear();

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

private:
    QString nextPath(const QString& caption);
};
