#include "app/CMainFrame.h"
#include "app/Textos.h"
#include "gui/InicioPrograma.h"

using namespace keldo::gui;
using namespace keldo::app;

int main(int argc, char** argv) {
    return InicioPrograma::executar<CMainFrame>(argc, argv, Textos::linhaComando);
}
