#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::on_actionGetting_Started_triggered() {}

void Parkbook::on_actionShortcut_Keys_triggered() {}

void Parkbook::on_actionShow_Error_Log_triggered() {}

void Parkbook::on_actionLicense_triggered() {}

void Parkbook::on_actionChange_Log_triggered() {}

void Parkbook::on_actionEnvironment_triggered() {}
