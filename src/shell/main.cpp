#include "shell/CTessalyApp.h"

int main(int argc, char** argv) {
    korvana::CTessalyApp app(argc, argv);
    app.InitInstance();
    return app.exec();
}
