#include "support/diagnostics.h"

Q_LOGGING_CATEGORY(lcDb, "parkbook.db", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLogging, "parkbook.logging", QtInfoMsg)
Q_LOGGING_CATEGORY(lcParks, "parkbook.parks", QtInfoMsg)
Q_LOGGING_CATEGORY(lcQrz, "parkbook.qrz", QtInfoMsg)
Q_LOGGING_CATEGORY(lcAdif, "parkbook.adif", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWsjtx, "parkbook.wsjtx", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSupport, "parkbook.support", QtInfoMsg)
