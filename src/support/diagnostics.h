#pragma once

#include <QLoggingCategory>

// Developer diagnostics, one category per subsystem (QT_LOGGING_RULES turns
// their debug lines on, e.g. "parkbook.db.debug=true"; warnings always show).
// What the operator must know goes to a message box and the error log instead.
Q_DECLARE_LOGGING_CATEGORY(lcDb)
Q_DECLARE_LOGGING_CATEGORY(lcLogging)
Q_DECLARE_LOGGING_CATEGORY(lcParks)
Q_DECLARE_LOGGING_CATEGORY(lcQrz)
Q_DECLARE_LOGGING_CATEGORY(lcAdif)
Q_DECLARE_LOGGING_CATEGORY(lcWsjtx)
Q_DECLARE_LOGGING_CATEGORY(lcSupport)
