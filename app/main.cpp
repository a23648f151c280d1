#include "app/CMainFrame.h"
#include "app/Textos.h"
#include "gui/InicioPrograma.h"

int main(int argc, char** argv) {
    return InicioPrograma::executar<CMainFrame>(argc, argv, Textos::linhaComando);
}
