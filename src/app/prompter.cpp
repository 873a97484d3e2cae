#include "app/prompter.h"

#include <QInputDialog>
#include <QPushButton>

QMessageBox::StandardButton Prompter::information(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons)
{
    return message(parent, QMessageBox::Information, title, text, buttons, QMessageBox::NoButton);
}

QMessageBox::StandardButton Prompter::warning(QWidget* parent, const QString& title,
                                              const QString& text,
                                              QMessageBox::StandardButtons buttons)
{
    return message(parent, QMessageBox::Warning, title, text, buttons, QMessageBox::NoButton);
}

QMessageBox::StandardButton Prompter::critical(QWidget* parent, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons)
{
    return message(parent, QMessageBox::Critical, title, text, buttons, QMessageBox::NoButton);
}

QMessageBox::StandardButton Prompter::question(QWidget* parent, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return message(parent, QMessageBox::Question, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton DialogPrompter::message(QWidget* parent, QMessageBox::Icon icon,
                                                    const QString& title, const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DialogPrompter::existingDirectory(QWidget* parent, const QString& caption,
                                          const QString& dir, QFileDialog::Options options)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, options);
}

QString DialogPrompter::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

int DialogPrompter::choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                           const QString& text, const QStringList& buttons, int defaultButton)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> added;
    for (const QString& words : buttons)
        added << box.addButton(words, words == buttons.last() ? QMessageBox::RejectRole
                                                              : QMessageBox::AcceptRole);
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(added[defaultButton]);
    if (!added.isEmpty())
        box.setEscapeButton(added.last());
    box.exec();
    return added.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
}

int DialogPrompter::chooseItem(QWidget* parent, const QString& title, const QString& label,
                               const QStringList& items)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    return ok ? int(items.indexOf(chosen)) : -1;
}
