#include "app/parkbook.h"
#include "support/largeblocks.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    keepLargeBlocksReturnable();
    QApplication app(argc, argv);
    app.setStyle(QStyleFactory::create("Fusion"));
    int exitCode = 0;
    {
        Parkbook window;
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
