#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::on_actionLoad_Park_Log_triggered() {}

void Parkbook::on_actionShow_Park_Log_triggered() {}

void Parkbook::topContact() {}

void Parkbook::previousContact() {}

void Parkbook::nextContact() {}

void Parkbook::endContact() {}
