// Writes the benchmark's data set: parkbook.db and contacts.adi in a folder.
#include "benchdata.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: parkbook_benchgen <folder>\n");
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const BenchData::Summary s =
        BenchData::generate(dir.filePath("parkbook.db"), dir.filePath("contacts.adi"));
    if (s.contacts == 0) {
        std::fprintf(stderr, "could not write the data set\n");
        return 1;
    }
    std::printf("%s: %d contacts, %d activation records (%d 2-fers), %d hunting days, %d parks, "
                "%d park-to-park contacts\n",
                qPrintable(dir.path()), s.contacts, s.activations, s.twoFers, s.huntingDays,
                s.parks, s.parkToPark);
    return 0;
}
