#include "support/diagnostics.h"

Q_LOGGING_CATEGORY(lcDb, "parkbook.db")
Q_LOGGING_CATEGORY(lcLogging, "parkbook.logging")
Q_LOGGING_CATEGORY(lcParks, "parkbook.parks")
Q_LOGGING_CATEGORY(lcQrz, "parkbook.qrz")
Q_LOGGING_CATEGORY(lcAdif, "parkbook.adif")
Q_LOGGING_CATEGORY(lcWsjtx, "parkbook.wsjtx")
Q_LOGGING_CATEGORY(lcSupport, "parkbook.support")
