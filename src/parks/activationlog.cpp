#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::topActivation() {}

void Parkbook::previousActivation() {}

void Parkbook::nextActivation() {}

void Parkbook::endActivation() {}

void Parkbook::deletePark() {}
