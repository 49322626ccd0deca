#include "model/mod_all.h"
#include "toolkit/application_info.h"
#include "windows/main/frm_main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    registerApplicationInfo();

    // The one automaton of the program's life; every window works on it.
    modAll model;
    frm_main window(model);
    window.show();
    return app.exec();
}
