#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// All-time activation figures, computed from the parks records and the log.
// Hunting days (park "HUNTER") are not activations.
namespace Statistics
{
struct Ranked {
    QString park;
    QString value; // as stored in the scratch table
};

struct Figures {
    int attempts = 0;
    int successful = 0; // more than 9 contacts
    int lateShift = 0;  // more than 9 contacts before noon UTC
    int unique = 0;     // distinct parks among the activations
    int totalQso = 0;
    int states = 0; // distinct state texts, "?" and "" included
    int parkToPark = 0;
    int dxs = 0;          // distinct countries hunted park to park
    QList<Ranked> repeat; // up to three parks with the most successful activations
    QList<Ranked> kilo;   // up to three parks with the most contacts
};

// Reads `parks` and `log` of `persistent`, refills the scratch tables
// uniqueParks, states and dxccs of `scratch` and returns the figures.
Figures compute(QSqlDatabase persistent, QSqlDatabase scratch);

// `value` right-aligned in `width` characters; wider numbers stay whole.
QString rightAligned(int value, int width);
} // namespace Statistics
