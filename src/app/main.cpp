#include "document/tw_file.h"
#include "model/mod_all.h"
#include "toolkit/application_info.h"
#include "windows/main/frm_main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    TwFile::ignoreFileSizeLimitSignal();
    QApplication app(argc, argv);
    registerApplicationInfo();

    // The one automaton of the program's life; every window works on it.
    modAll model;
    frm_main window(model);
    window.show();

    // A desktop opening a .tw file starts the program with the file's path.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.fileCommands().openPath(arguments.at(1));
    return app.exec();
}
