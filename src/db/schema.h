#pragma once

// Table definitions of both databases. The persistent ones keep IF NOT EXISTS
// so that every start can run them; the in-memory ones are always new.
namespace Schema
{
inline constexpr const char* createLog =
    "CREATE TABLE IF NOT EXISTS log (id INTEGER PRIMARY KEY NOT NULL, date TEXT, time TEXT, "
    "park TEXT, call TEXT, name TEXT, last TEXT, born TEXT, city TEXT, county TEXT, state TEXT, "
    "country TEXT, dxcc TEXT, lat TEXT, lon TEXT, grid TEXT, license TEXT, expire TEXT, sent "
    "TEXT, rcvd TEXT, mode TEXT, band TEXT, frequency TEXT, power TEXT, p2p TEXT, station TEXT, "
    "operator TEXT, comment TEXT )";
inline constexpr const char* createStation =
    "CREATE TABLE IF NOT EXISTS station (id INTEGER PRIMARY KEY NOT NULL, station TEXT, call "
    "TEXT, passwd TEXT, lat TEXT, lon TEXT, mode TEXT, band TEXT, frequency TEXT, power TEXT, "
    "county TEXT, state TEXT, location TEXT, park1 TEXT, name1 TEXT, mst1 TEXT, park2 TEXT, "
    "name2 TEXT, mst2 TEXT, park3 TEXT, name3 TEXT, mst3 TEXT, park4 TEXT, name4 TEXT, mst4 "
    "TEXT, park5 TEXT, name5 TEXT, mst5 TEXT)";
inline constexpr const char* createParks =
    "CREATE TABLE IF NOT EXISTS parks (id INTEGER PRIMARY KEY NOT NULL, date TEXT, park TEXT, "
    "name TEXT, lat TEXT, lon TEXT, county TEXT, state TEXT, location TEXT, MultiSt TEXT, QSOs "
    "TEXT, LateQSOs TEXT, P2Ps TEXT)";

inline constexpr const char* memoryTables[] = {
    "CREATE TABLE mLog (id INTEGER PRIMARY KEY NOT NULL, logId INT, date TEXT, time TEXT, park "
    "TEXT, call TEXT, name TEXT, last TEXT, born TEXT, city TEXT, county TEXT, state TEXT, "
    "country TEXT, dxcc TEXT, lat TEXT, lon TEXT, grid TEXT, license TEXT, expire TEXT, sent "
    "TEXT, rcvd TEXT, mode TEXT, band TEXT, frequency TEXT, power TEXT, p2p TEXT, comment TEXT )",
    "CREATE TABLE latlon (id INTEGER PRIMARY KEY NOT NULL, state TEXT, lat REAL, lon REAL)",
    ("CREATE TABLE uniqueParks (id INTEGER PRIMARY KEY NOT NULL, park TEXT, activations INT, "
     "QSOs INT)"),
    "CREATE TABLE states (id INTEGER PRIMARY KEY NOT NULL, state TEXT)",
    "CREATE TABLE dxccs (id INTEGER PRIMARY KEY NOT NULL, dxcc TEXT)",
    "CREATE TABLE parkLogId (id INTEGER PRIMARY KEY NOT NULL, logId INT)",
    "CREATE TABLE activationId (id INTEGER PRIMARY KEY NOT NULL, parkId INT)",
};

// Columns added after the first release: each probe finds no row while the
// column is missing, and then the statements add it at the end of its table.
struct Migration {
    const char* probe;
    const char* statements[5];
};
inline constexpr Migration migrations[] = {
    {"SELECT 1 FROM PRAGMA_TABLE_INFO('log') WHERE name='country';",
     {"ALTER TABLE log ADD COLUMN country TEXT", "ALTER TABLE log ADD COLUMN dxcc TEXT"}},
    {"SELECT 1 FROM PRAGMA_TABLE_INFO('station') WHERE name='mst1';",
     {"ALTER TABLE station ADD COLUMN mst1 TEXT", "ALTER TABLE station ADD COLUMN mst2 TEXT",
      "ALTER TABLE station ADD COLUMN mst3 TEXT", "ALTER TABLE station ADD COLUMN mst4 TEXT",
      "ALTER TABLE station ADD COLUMN mst5 TEXT"}},
    {"SELECT 1 FROM PRAGMA_TABLE_INFO('parks') WHERE name='QSOs';",
     {"ALTER TABLE parks ADD COLUMN QSOs TEXT", "ALTER TABLE parks ADD COLUMN LateQSOs TEXT",
      "ALTER TABLE parks ADD COLUMN P2Ps TEXT"}},
    {"SELECT 1 FROM PRAGMA_TABLE_INFO('parks') WHERE name='MultiSt';",
     {"ALTER TABLE parks ADD COLUMN MultiSt TEXT"}},
};
} // namespace Schema

namespace Schema
{
// Indexes for the lookups that run once per row of another table. They are
// created with IF NOT EXISTS, so an older version still opens the file.
inline constexpr const char* indexes[] = {
    "CREATE INDEX IF NOT EXISTS logDatePark ON log (date, park)",
    "CREATE INDEX IF NOT EXISTS parksDatePark ON parks (date, park)",
    "CREATE INDEX IF NOT EXISTS logCallDatePark ON log (call, date, park)",
    // Holds all the recount reads, so counting an activation never visits the table.
    "CREATE INDEX IF NOT EXISTS logDateParkTimeP2p ON log (date, park, time, p2p)",
};
} // namespace Schema
