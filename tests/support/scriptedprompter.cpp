#include "scriptedprompter.h"

#include <utility>

QStringList ScriptedPrompter::titles() const
{
    QStringList result;
    for (const Shown& box : shown)
        result << box.title;
    return result;
}

int ScriptedPrompter::count(const QString& title) const
{
    return titles().count(title);
}

void ScriptedPrompter::clear()
{
    shown.clear();
    answers.clear();
    paths.clear();
    chooserTitles.clear();
    choices.clear();
    chooserItems.clear();
}

QMessageBox::StandardButton ScriptedPrompter::message(QWidget*, QMessageBox::Icon icon,
                                                      const QString& title, const QString& text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    shown.append({icon, title, text, buttons, defaultButton, {}});
    if (whileShown)
        std::exchange(whileShown, nullptr)();
    if (!answers.isEmpty())
        return answers.dequeue();
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    for (int bit = 0; bit < 32; ++bit) {
        const auto button = static_cast<QMessageBox::StandardButton>(1u << bit);
        if (buttons.testFlag(button))
            return button;
    }
    return QMessageBox::Ok;
}

QString ScriptedPrompter::nextPath(const QString& caption)
{
    chooserTitles << caption;
    return paths.isEmpty() ? QString() : paths.dequeue();
}

QString ScriptedPrompter::existingDirectory(QWidget*, const QString& caption, const QString&,
                                            QFileDialog::Options)
{
    return nextPath(caption);
}

QString ScriptedPrompter::openFileName(QWidget*, const QString& caption, const QString&,
                                       const QString&)
{
    return nextPath(caption);
}

QString ScriptedPrompter::saveFileName(QWidget*, const QString& caption, const QString&,
                                       const QString&)
{
    return nextPath(caption);
}

int ScriptedPrompter::choose(QWidget*, QMessageBox::Icon icon, const QString& title,
                             const QString& text, const QStringList& buttons, int defaultButton)
{
    shown.append({icon, title, text, QMessageBox::NoButton, QMessageBox::NoButton, buttons});
    return choices.isEmpty() ? defaultButton : choices.dequeue();
}

int ScriptedPrompter::chooseItem(QWidget*, const QString& title, const QString&,
                                 const QStringList& items)
{
    chooserTitles << title;
    chooserItems = items;
    return choices.isEmpty() ? -1 : choices.dequeue();
}
