#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::on_actionStation_Details_triggered() {}

void Parkbook::setStationDetails() {}

void Parkbook::saveStation() {}
