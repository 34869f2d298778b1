// Tamsel: browse the folders of a site, see which pages are checked,
// repaired or still faulty, and check them one after another.
#include "tamsel_app.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <string>

// Tamsel [FOLDER]: the window opens at the folder named, where the user
// wants to begin (make tamsel names the example pages), else where it was
// left the last time.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tamsel");
    QGuiApplication::setDesktopFileName("tamsel");
    // Read after Qt has taken its own options (-platform and the like) out.
    const QStringList arguments = QApplication::arguments();
    const std::string folder = arguments.size() > 1 ? QFile::encodeName(arguments[1]).toStdString() : std::string();
    return orvane::selector::qt::RunTamsel("TamselResources.rcc", folder);
}
