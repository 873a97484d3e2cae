#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::initUdpSocket() {}

void Parkbook::setAutoReply() {}

void Parkbook::clearResults() {}

void Parkbook::setQsoStatus(int) {}

void Parkbook::clearBand() {}

void Parkbook::replayBand() {}

void Parkbook::haltTx() {}

void Parkbook::sendLocation() {}

void Parkbook::sendConfigure() {}

void Parkbook::on_actionWSJT_X_Panel_triggered() {}
