#pragma once

#include <QString>

// A made-up but realistic five-year POTA history for the benchmarks: about
// 500 parks (some with accented names), activations with 2-fers, park-to-park
// contacts, hunting days, and one big day for the park log. Everything comes
// from a fixed seed, so every run sees the same data.
namespace BenchData
{
struct Plan {
    int contacts = 100000;     // rows of `log`
    int activations = 5000;    // activation records (`parks` rows that are not HUNTER)
    int huntingDays = 300;     // HUNTER rows in `parks`
    int parks = 500;           // distinct park references
    int exportContacts = 2000; // contacts of `exportPark` over the five years
    int bigDayContacts = 1000; // contacts of `bigDayPark` on `bigDayDate`
    quint32 seed = 20260611;
};

inline const QString stationCall = QStringLiteral("Q1ABC");
inline const QString exportPark = QStringLiteral("K-0001");
inline const QString bigDayPark = QStringLiteral("K-0002");
inline const QString bigDayDate = QStringLiteral("20230624");
inline const QString firstDate = QStringLiteral("20200101");
inline const QString lastDate = QStringLiteral("20241231");

struct Summary {
    int contacts = 0;
    int activations = 0;
    int huntingDays = 0;
    int parks = 0;
    int twoFers = 0;
    int parkToPark = 0;
};

// Writes `dbPath` (a new parkbook.db with log, parks and station) and
// `adifPath` (every contact of that log as one ADIF record). Existing files
// are replaced. Returns what was written; contacts == 0 on failure.
Summary generate(const QString& dbPath, const QString& adifPath, const Plan& plan = Plan());
} // namespace BenchData
