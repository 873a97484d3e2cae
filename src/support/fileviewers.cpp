#include "app/parkbook.h"
#include "support/seefile.h"
#include "ui_parkbook.h"

// Each Help and About entry loads its text into the one viewer; a text that
// cannot be read leaves the viewer as it was.
void Parkbook::openViewer(const QString& name, const QString& title, bool focusCall)
{
    seeFile->content = name;
    seeFile->setWindowFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    seeFile->setWindowTitle(title);
    seeFile->show();
    seeFile->raise();
    activateWindow();
    if (focusCall)
        ui->call->setFocus();
}

void Parkbook::on_actionGetting_Started_triggered()
{
    seeFile->setPrompter(prompter);
    if (seeFile->showReadme(programDir) == 0)
        return;
    openViewer("GetStarted", "Display README File", false);
}

void Parkbook::on_actionShortcut_Keys_triggered()
{
    seeFile->setPrompter(prompter);
    if (seeFile->showShortcuts(programDir) == 0)
        return;
    openViewer("Shortcuts", "Keyboard Shortcut Keys", false);
}

void Parkbook::on_actionShow_Error_Log_triggered()
{
    seeFile->setPrompter(prompter);
    if (seeFile->showErrorLog(dataDir) == 0)
        return;
    openViewer("ErrorLog", "Program Errors and Comments", true);
}

void Parkbook::on_actionLicense_triggered()
{
    seeFile->setPrompter(prompter);
    if (seeFile->showLicense(programDir) == 0)
        return;
    openViewer("UseLicense", "License to Use", true);
}

void Parkbook::on_actionChange_Log_triggered()
{
    seeFile->setPrompter(prompter);
    if (seeFile->showChangeLog(programDir) == 0)
        return;
    openViewer("ChangeLog", "Parkbook Program Change Log", true);
}

void Parkbook::on_actionEnvironment_triggered()
{
    // The version lines are worth showing even when the file is missing.
    seeFile->setPrompter(prompter);
    seeFile->content = "Environment";
    seeFile->setWindowTitle("Hardware and Software Versions");
    seeFile->showEnvironment(programDir);
    openViewer("Environment", "Hardware and Software Versions", true);
}
