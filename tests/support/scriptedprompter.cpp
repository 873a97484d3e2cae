#include "scriptedprompter.h"

#include <utility>

QStringList ScriptedPrompter::titles() const
{
    QStringList result;
    for (const Shown& box : shown)
        result << box.title;
    return result;
}

// Forgets what was shown and what was queued; a pending whileShown stays.
void ScriptedPrompter::clear()
{
    std::function<void()> pending = std::move(whileShown);
    *this = ScriptedPrompter();
    whileShown = std::move(pending);
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
