#pragma once

#include "app/prompter.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>
#include <utility>

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
        QMessageBox::StandardButton defaultButton;
        QStringList buttonTexts; // the buttons of a choose() box
    };

    QList<Shown> shown;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> paths; // answers of the file and directory choosers ("" = cancel)
    // Runs once while the next box is "open", as events delivered during a
    // real box's own event loop would.
    std::function<void()> whileShown;
    // Answers of choose() and chooseItem(), by index; without one, choose()
    // takes its default button and chooseItem() is cancelled.
    QQueue<int> choices;
    QStringList chooserItems; // what the latest item chooser offered

    QStringList titles() const
    {
        QStringList result;
        for (const Shown& box : shown)
            result << box.title;
        return result;
    }
    int count(const QString& title) const { return titles().count(title); }
    // Forgets what was shown and what was queued; a pending whileShown stays.
    void clear()
    {
        std::function<void()> pending = std::move(whileShown);
        *this = ScriptedPrompter();
        whileShown = std::move(pending);
    }

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        shown.append({icon, title, text, defaultButton, {}});
        if (whileShown)
            std::exchange(whileShown, nullptr)();
        if (!answers.isEmpty())
            return answers.dequeue();
        if (defaultButton != QMessageBox::NoButton)
            return defaultButton;
        const int lowest = int(buttons) & -int(buttons);
        return lowest ? QMessageBox::StandardButton(lowest) : QMessageBox::Ok;
    }
    QString existingDirectory(QWidget*, const QString&, const QString&,
                              QFileDialog::Options) override
    {
        return paths.isEmpty() ? QString() : paths.dequeue();
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return paths.isEmpty() ? QString() : paths.dequeue();
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return paths.isEmpty() ? QString() : paths.dequeue();
    }
    int choose(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
               const QStringList& buttons, int defaultButton) override
    {
        shown.append({icon, title, text, QMessageBox::NoButton, buttons});
        return choices.isEmpty() ? defaultButton : choices.dequeue();
    }
    int chooseItem(QWidget*, const QString&, const QString&, const QStringList& items) override
    {
        chooserItems = items;
        return choices.isEmpty() ? -1 : choices.dequeue();
    }
};
