#include "benchdata.h"

#include "db/schema.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <list>

namespace
{
struct Park {
    QString ref, name, state, county, lat, lon;
};

struct Person {
    QString call, name, state, country, dxcc, grid, lat, lon;
};

struct Row {
    QString date, time, park, p2p, mode, band, frequency, sent, rcvd, power, comment;
    const Person* who;
};

// One activation (or a 2-fer: two parks worked at once) or one hunting day.
struct Outing {
    QString date;
    QStringList parks;
    int contacts = 0;
    bool hunting = false;
};

const char* const usStates[] = {"NY", "PA", "OH", "MI", "TX", "CA", "FL", "GA", "NC", "VA",
                                "TN", "CO", "AZ", "WA", "OR", "MN", "WI", "IL", "IN", "KY",
                                "ME", "VT", "NH", "MA", "CT", "NJ", "MD", "SC", "AL", "MO"};
const char* const caProvinces[] = {"QC", "ON", "NB", "NS", "BC", "AB"};
const char* const parkWords[] = {
    "Lac-Mégantic",    "Réserve Faunique", "Île-aux-Coudres", "Montréal Rivière",
    "Côte-Nord",       "Sainte-Anne",      "Pointe-Pelée",    "São Miguel",
    "Río Grande",      "Cañon City",       "Española",        "Château Lake",
    "Kachemak Bay",    "Allegheny",        "Shenandoah",      "Cuyahoga Valley",
    "Blue Ridge",      "Great Smoky",      "Ozark",           "Adirondack",
    "Catskill",        "Finger Lakes",     "Pictured Rocks",  "Sleeping Bear",
    "Apostle Islands", "Big Bend",         "Padre Island",    "Mammoth Cave",
    "Hocking Hills",   "Letchworth",       "Watkins Glen",    "Harriman",
    "Bear Mountain",   "Minnewaska",       "Presque Isle",    "Cook Forest",
    "Ricketts Glen",   "Hawk Mountain",    "Assateague",      "Chincoteague"};
const char* const parkKinds[] = {
    "State Park",   "National Forest", "Wildlife Management Area", "National Wildlife Refuge",
    "State Forest", "Parc national",   "National Recreation Area", "Historic Trail"};
const char* const firstNames[] = {
    "José",   "François", "Zoë",   "Björn", "Łukasz",   "Renée",  "Jürgen", "Søren", "Chloé",
    "Maëlle", "Iñaki",    "Ágnes", "Mike",  "Bob",      "Linda",  "Dave",   "Susan", "Tom",
    "Karen",  "Jim",      "Mary",  "Steve", "Patricia", "Bill",   "Nancy",  "Rick",  "Gene",
    "Hélène", "André",    "Noël",  "Ramón", "Dagný",    "Željko", "Ana",    "Paul",  "Carol"};
const char* const callPrefixes[] = {"K",  "W",  "N",  "KA", "KB", "KC", "KD", "KE", "KF", "KG",
                                    "KI", "KJ", "KK", "KN", "KO", "WA", "WB", "AA", "AB", "AC",
                                    "AD", "AE", "AF", "AG", "AI", "AJ", "N",  "W",  "K",  "K"};
const char* const comments[] = {
    "Thanks for the P2P!", "Très bon signal",   "QRP 5 W",   "Portable at the trailhead",
    "Café stop, mobile",   "Weak but readable", "Nice fist", "73 de François"};

struct Band {
    const char* name;
    const char* base; // kHz offsets are added to this
    int weight;
};
const Band bands[] = {{"20m", "14.0", 35}, {"40m", "7.0", 25}, {"17m", "18.0", 10},
                      {"15m", "21.0", 10}, {"30m", "10.1", 8}, {"10m", "28.0", 7},
                      {"60m", "5.35", 5}};
struct Mode {
    const char* name;
    int weight;
};
const Mode modes[] = {{"FT8", 40}, {"SSB", 35}, {"CW", 20}, {"FT4", 5}};

class Dice
{
public:
    explicit Dice(quint32 seed) : random(seed) {}
    int below(int n) { return int(random.bounded(quint32(n))); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N> const T& pick(const T (&items)[N])
    {
        return items[below(int(N))];
    }
    template <typename T, size_t N> const T& weighted(const T (&items)[N])
    {
        int total = 0;
        for (const T& item : items)
            total += item.weight;
        int roll = below(total);
        for (const T& item : items) {
            if (roll < item.weight)
                return item;
            roll -= item.weight;
        }
        return items[0];
    }
    QString letters(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar('A' + below(26));
        return text;
    }

private:
    QRandomGenerator random;
};

QString coordinate(Dice& dice, int low, int high)
{
    return QString::number(dice.between(low * 10000, high * 10000) / 10000.0, 'f', 4);
}

Person makePerson(Dice& dice)
{
    Person p;
    const bool canadian = dice.chance(6);
    if (canadian) {
        p.call = QString(dice.chance(50) ? "VE" : "VA") + QString::number(dice.between(1, 9)) +
                 dice.letters(dice.between(2, 3));
        p.state = dice.pick(caProvinces);
        p.country = "Canada";
        p.dxcc = "1";
    } else {
        p.call = QString(dice.pick(callPrefixes)) + QString::number(dice.below(10)) +
                 dice.letters(dice.between(1, 3));
        p.state = dice.pick(usStates);
        p.country = "United States";
        p.dxcc = "291";
    }
    if (dice.chance(2)) { // the odd DX station
        p.call = QString("EA") + QString::number(dice.between(1, 8)) + dice.letters(3);
        p.state = "";
        p.country = "Spain";
        p.dxcc = "281";
    }
    p.name = dice.pick(firstNames);
    p.lat = coordinate(dice, 30, 49);
    p.lon = coordinate(dice, -120, -70);
    p.grid = QString(QChar('C' + dice.below(4))) + QChar('M' + dice.below(4)) +
             QString::number(dice.below(10)) + QString::number(dice.below(10));
    return p;
}

QString field(const char* name, const QString& value)
{
    if (value.isEmpty())
        return QString();
    return QString("<%1:%2>%3 ").arg(QLatin1String(name)).arg(value.size()).arg(value);
}

bool exec(QSqlQuery& query)
{
    if (query.exec())
        return true;
    std::fprintf(stderr, "benchdata: %s\n", qPrintable(query.lastError().text()));
    return false;
}
} // namespace

BenchData::Summary BenchData::generate(const QString& dbPath, const QString& adifPath,
                                       const Plan& plan)
{
    Summary summary;
    Dice dice(plan.seed);

    // Parks: K-0001.. in the United States, VE-0101.. in Canada.
    QList<Park> parks;
    QHash<QString, int> parkIndex;
    for (int i = 0; i < plan.parks; ++i) {
        Park park;
        const bool canadian = i % 10 == 9;
        park.ref = canadian ? QString("VE-%1").arg(101 + i / 10, 4, 10, QChar('0'))
                            : QString("K-%1").arg(i + 1, 4, 10, QChar('0'));
        park.name = QString(dice.pick(parkWords)) + ' ' + dice.pick(parkKinds);
        park.state = canadian ? dice.pick(caProvinces) : dice.pick(usStates);
        park.county = QString(dice.pick(parkWords)).section(' ', 0, 0) + " County";
        park.lat = coordinate(dice, 30, 49);
        park.lon = coordinate(dice, -120, -70);
        parkIndex.insert(park.ref, int(parks.size()));
        parks.append(park);
    }

    QList<QDate> days;
    for (QDate d = QDate::fromString(firstDate, "yyyyMMdd");
         d <= QDate::fromString(lastDate, "yyyyMMdd"); d = d.addDays(1))
        days.append(d);
    // Most outings fall on a weekend.
    auto someDay = [&]() {
        QDate d = days.at(dice.below(int(days.size())));
        if (d.dayOfWeek() < 6 && dice.chance(55))
            d = days.at(dice.below(int(days.size())));
        return d.toString("yyyyMMdd");
    };

    QSet<QString> taken; // date + park of every record
    auto free = [&](const QString& date, const QString& park) {
        return !taken.contains(date + park);
    };
    QList<Outing> outings;
    // The export park: a hundred single activations of twenty contacts.
    const int exportOutings = plan.exportContacts / 20;
    while (int(outings.size()) < exportOutings) {
        const QString date = someDay();
        if (!free(date, exportPark))
            continue;
        taken.insert(date + exportPark);
        outings.append({date, {exportPark}, 20, false});
    }
    // The big day of the park log.
    taken.insert(bigDayDate + bigDayPark);
    outings.append({bigDayDate, {bigDayPark}, plan.bigDayContacts, false});

    // Hunting days.
    QSet<QString> huntingDates;
    while (int(huntingDates.size()) < plan.huntingDays)
        huntingDates.insert(someDay());
    QStringList huntingList(huntingDates.begin(), huntingDates.end());
    huntingList.sort(); // a set's order changes from one process to the next
    for (const QString& date : std::as_const(huntingList)) {
        taken.insert(date + "HUNTER");
        outings.append({date, {"HUNTER"}, 10, true});
    }

    // The other activations, about one in seven of them as half of a 2-fer.
    const int rest = plan.activations - exportOutings - 1;
    const int pairs = rest / 14;
    const int firstRest = int(outings.size());
    int records = 0;
    while (records < rest) {
        const bool twoFer = records < 2 * pairs && records + 2 <= rest;
        const QString date = someDay();
        QStringList chosen;
        while (chosen.size() < (twoFer ? 2 : 1)) {
            const QString ref = parks.at(dice.between(1, plan.parks - 1)).ref;
            if (ref != exportPark && !chosen.contains(ref) && free(date, ref))
                chosen.append(ref);
        }
        for (const QString& ref : chosen)
            taken.insert(date + ref);
        outings.append({date, chosen, dice.between(4, 36), false});
        records += int(chosen.size());
        if (twoFer)
            ++summary.twoFers;
    }
    // Bring the contact count to the plan exactly.
    auto total = [&]() {
        int sum = 0;
        for (const Outing& o : outings)
            sum += o.contacts * int(o.parks.size());
        return sum;
    };
    int sum = total();
    const int wanted = plan.contacts;
    while (sum != wanted) {
        Outing& o = outings[firstRest + dice.below(int(outings.size()) - firstRest)];
        const int weight = int(o.parks.size());
        if (sum < wanted && (wanted - sum >= weight)) {
            ++o.contacts;
            sum += weight;
        } else if (sum > wanted && o.contacts > 3 && sum - wanted >= weight) {
            --o.contacts;
            sum -= weight;
        }
        // Otherwise draw again: only a single activation can take an odd last one.
    }

    std::sort(outings.begin(), outings.end(),
              [](const Outing& a, const Outing& b) { return a.date < b.date; });

    // Hunters who call again and again, and a stream of new ones.
    QList<Person> regulars;
    for (int i = 0; i < 3000; ++i)
        regulars.append(makePerson(dice));
    std::list<Person> strangers; // stable addresses for the rows

    QList<Row> rows;
    rows.reserve(wanted);
    for (const Outing& o : outings) {
        QSet<QString> calls;
        const bool lateShift = dice.chance(20);
        int seconds = lateShift ? dice.between(0, 3 * 3600) : dice.between(13 * 3600, 21 * 3600);
        const Mode& mainMode = dice.weighted(modes);
        const Band& mainBand = dice.weighted(bands);
        QList<Row> outingRows;
        for (int n = 0; n < o.contacts; ++n) {
            const Person* who = nullptr;
            do {
                if (dice.chance(60)) {
                    who = &regulars.at(dice.below(int(regulars.size())));
                } else {
                    strangers.push_back(makePerson(dice));
                    who = &strangers.back();
                }
            } while (calls.contains(who->call));
            calls.insert(who->call);
            Row row;
            row.who = who;
            row.date = o.date;
            seconds = std::min(seconds + dice.between(20, 150), 24 * 3600 - 1);
            row.time = QString("%1%2%3")
                           .arg(seconds / 3600, 2, 10, QChar('0'))
                           .arg(seconds / 60 % 60, 2, 10, QChar('0'))
                           .arg(seconds % 60, 2, 10, QChar('0'));
            const Mode& mode = dice.chance(75) ? mainMode : dice.weighted(modes);
            const Band& band = dice.chance(70) ? mainBand : dice.weighted(bands);
            row.mode = mode.name;
            row.band = band.name;
            row.frequency = QString(band.base) + QString::number(dice.between(10, 99));
            const bool digital = row.mode.startsWith("FT");
            const bool cw = row.mode == "CW";
            row.sent = digital ? QString::number(-dice.between(1, 20)) : cw ? "599" : "59";
            row.rcvd = digital ? QString::number(-dice.between(1, 20)) : cw ? "579" : "57";
            row.power = dice.chance(80) ? "100" : "20";
            if (o.hunting || dice.chance(6))
                row.p2p = parks.at(dice.below(plan.parks)).ref;
            if (dice.chance(4))
                row.comment = dice.pick(comments);
            outingRows.append(row);
        }
        for (const QString& park : o.parks) {
            for (Row row : std::as_const(outingRows)) {
                row.park = park;
                if (row.p2p == park)
                    row.p2p.clear();
                if (!row.p2p.isEmpty())
                    ++summary.parkToPark;
                rows.append(row);
            }
        }
    }

    // The database.
    QFile::remove(dbPath);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "benchdata");
        db.setDatabaseName(dbPath);
        if (!db.open())
            return {};
        QSqlQuery q(db);
        q.exec(Schema::createLog);
        q.exec(Schema::createStation);
        q.exec(Schema::createParks);
        for (const char* statement : Schema::indexes)
            q.exec(statement);
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(
            "INSERT INTO log (date, time, park, call, name, last, born, city, county, state, "
            "country, dxcc, lat, lon, grid, license, expire, sent, rcvd, mode, band, frequency, "
            "power, p2p, station, operator, comment) VALUES (?, ?, ?, ?, ?, '', '', '', '', ?, ?, "
            "?, ?, ?, ?, '', '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const Row& r : std::as_const(rows)) {
            for (const QString& v :
                 {r.date,         r.time,      r.park,     r.who->call, r.who->name, r.who->state,
                  r.who->country, r.who->dxcc, r.who->lat, r.who->lon,  r.who->grid, r.sent,
                  r.rcvd,         r.mode,      r.band,     r.frequency, r.power,     r.p2p,
                  stationCall,    stationCall, r.comment})
                insert.addBindValue(v);
            if (!exec(insert))
                return {};
        }
        QSqlQuery addPark(db);
        addPark.prepare("INSERT INTO parks (date, park, name, lat, lon, county, state, location, "
                        "MultiSt, QSOs, LateQSOs, P2Ps) VALUES (?, ?, ?, ?, ?, ?, ?, ?, '', 0, "
                        "0, 0)");
        for (const Outing& o : std::as_const(outings)) {
            for (const QString& ref : o.parks) {
                const Park* park = o.hunting ? nullptr : &parks.at(parkIndex.value(ref));
                addPark.addBindValue(o.date);
                addPark.addBindValue(ref);
                addPark.addBindValue(park ? park->name : QString("Hunting"));
                addPark.addBindValue(park ? park->lat : QString("42.6500"));
                addPark.addBindValue(park ? park->lon : QString("-73.7500"));
                addPark.addBindValue(park ? park->county : QString("Albany County"));
                addPark.addBindValue(park ? park->state : QString("NY"));
                addPark.addBindValue(QString("FN32"));
                if (!exec(addPark))
                    return {};
                if (o.hunting)
                    ++summary.huntingDays;
                else
                    ++summary.activations;
            }
        }
        // The counters the program keeps in `parks`, as a recount leaves them.
        q.exec("UPDATE parks SET QSOs=(SELECT count(*) FROM log WHERE log.date=parks.date AND "
               "log.park=parks.park), LateQSOs=(SELECT count(*) FROM log WHERE "
               "log.date=parks.date AND log.park=parks.park AND log.time < '120000'), "
               "P2Ps=(SELECT count(*) FROM log WHERE log.date=parks.date AND "
               "log.park=parks.park AND ifnull(log.p2p,'') <> '')");
        const Park& home = parks.at(0);
        QSqlQuery st(db);
        st.prepare("INSERT INTO station (station, call, passwd, lat, lon, mode, band, frequency, "
                   "power, county, state, location, park1, name1, mst1) VALUES (?, ?, '', ?, ?, "
                   "'SSB', '20m', '14.250', '100', ?, ?, 'FN32', ?, ?, '')");
        for (const QString& v : {stationCall, stationCall, home.lat, home.lon, home.county,
                                 home.state, home.ref, home.name})
            st.addBindValue(v);
        exec(st);
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase("benchdata");

    // The same contacts as one ADIF file.
    QFile adif(adifPath);
    if (!adif.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    QTextStream out(&adif);
    out.setEncoding(QStringConverter::Utf8);
    out << "Parkbook benchmark log, five years of activations\n<ADIF_VER:5>3.1.4 "
           "<PROGRAMID:14>parkbook_bench <EOH>\n";
    for (const Row& r : std::as_const(rows)) {
        out << field("CALL", r.who->call) << field("QSO_DATE", r.date) << field("TIME_ON", r.time)
            << field("BAND", r.band) << field("MODE", r.mode) << field("FREQ", r.frequency)
            << field("RST_SENT", r.sent) << field("RST_RCVD", r.rcvd) << field("NAME", r.who->name)
            << field("STATE", r.who->state) << field("CNTRY", r.who->country)
            << field("DXCC", r.who->dxcc) << field("LAT", r.who->lat) << field("LON", r.who->lon)
            << field("GRIDSQUARE", r.who->grid) << field("TX_PWR", r.power)
            << field("SIG_INFO", r.p2p) << field("MY_SIG_INFO", r.park)
            << field("STATION_CALLSIGN", stationCall) << field("OPERATOR", stationCall)
            << field("COMMENT", r.comment) << "<EOR>\n";
    }
    out.flush();
    if (adif.error() != QFile::NoError)
        return {};

    summary.contacts = int(rows.size());
    summary.parks = plan.parks;
    return summary;
}
