#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::getContact() {}

void Parkbook::lookUpContact() {}

void Parkbook::on_actionContact_Details_triggered() {}
