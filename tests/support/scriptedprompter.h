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
    int count(const QString& title) const { return titles().count(title); }
    void clear();

    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString existingDirectory(QWidget*, const QString& caption, const QString&,
                              QFileDialog::Options) override
    {
        return nextPath(caption);
    }
    QString openFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return nextPath(caption);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return nextPath(caption);
    }
    int choose(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
               const QStringList& buttons, int defaultButton) override
    {
        shown.append({icon, title, text, QMessageBox::NoButton, QMessageBox::NoButton, buttons});
        return choices.isEmpty() ? defaultButton : choices.dequeue();
    }
    int chooseItem(QWidget*, const QString& title, const QString&,
                   const QStringList& items) override
    {
        chooserTitles << title;
        chooserItems = items;
        return choices.isEmpty() ? -1 : choices.dequeue();
    }

private:
    QString nextPath(const QString& caption)
    {
        chooserTitles << caption;
        return paths.isEmpty() ? QString() : paths.dequeue();
    }
};
