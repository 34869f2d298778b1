// Tamsel: browse the folders of a site, see which pages are checked,
// repaired or still faulty, and check them one after another.
#include "tamsel_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tamsel");
    QGuiApplication::setDesktopFileName("tamsel");
    return orvane::selector::qt::RunTamsel();
}
