#include "editor/CMainFrame.h"
#include "editor/Textos.h"
#include "gui/InicioPrograma.h"

using namespace keldo::gui;
using namespace keldo::editor;

// A project named on the command line that cannot be opened ends the program.
int main(int argc, char* argv[]) {
    return InicioPrograma::executar<CMainFrame>(argc, argv, Textos::linhaComando);
}
