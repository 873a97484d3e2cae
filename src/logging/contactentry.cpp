#include "app/parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::on_clear_clicked() {}
