#include "gui/ArquivosRecentes.h"
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace keldo::gui {

namespace {
const char* const grupo = "Recent File List";

QString normalizar(const QString& caminho) {
    return QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
}

bool mesmoArquivo(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}
} // namespace

ArquivosRecentes::ArquivosRecentes(const QString& programa, QObject* pai)
    : QObject(pai), nomePrograma(programa) {
    carregar();
}

void ArquivosRecentes::carregar() {
    QSettings s(QStringLiteral("Keldo"), nomePrograma);
    s.beginGroup(QLatin1String(grupo));
    lista.clear();
    for (int i = 1; i <= maximo; ++i) {
        const QString p = s.value(QStringLiteral("File%1").arg(i)).toString();
        if (!p.isEmpty())
            lista.append(p);
    }
}

void ArquivosRecentes::gravar() const {
    QSettings s(QStringLiteral("Keldo"), nomePrograma);
    s.remove(QLatin1String(grupo));
    s.beginGroup(QLatin1String(grupo));
    for (int i = 0; i < lista.size(); ++i)
        s.setValue(QStringLiteral("File%1").arg(i + 1), lista[i]);
}

void ArquivosRecentes::adicionar(const QString& caminho) {
    const QString p = normalizar(caminho);
    lista.removeIf([&](const QString& e) { return mesmoArquivo(e, p); });
    lista.prepend(p);
    while (lista.size() > maximo)
        lista.removeLast();
    gravar();
    atualizarMenu();
}

void ArquivosRecentes::remover(const QString& caminho) {
    const QString p = normalizar(caminho);
    lista.removeIf([&](const QString& e) { return mesmoArquivo(e, p); });
    gravar();
    atualizarMenu();
}

void ArquivosRecentes::ligarMenu(QMenu* m, QAction* marca) {
    menu = m;
    marcador = marca;
    atualizarMenu();
}

QString ArquivosRecentes::textoEntrada(int indice, const QString& caminho) {
    QString texto = QDir::toNativeSeparators(caminho);
    // Long paths keep their head and the file name, as menus have room for ~60 characters.
    constexpr int limite = 60;
    if (texto.size() > limite) {
        const QString nome = QFileInfo(caminho).fileName();
        const int cabeca = qMax(3, limite - int(nome.size()) - 4);
        texto = texto.left(cabeca) + QStringLiteral("...") + QDir::separator() + nome;
    }
    texto.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(indice + 1).arg(texto);
}

void ArquivosRecentes::atualizarMenu() {
    if (!menu || !marcador)
        return;
    for (QAction* a : std::as_const(acoesEntradas)) {
        menu->removeAction(a);
        a->deleteLater();
    }
    acoesEntradas.clear();
    for (int i = 0; i < lista.size(); ++i) {
        auto* a = new QAction(textoEntrada(i, lista[i]), menu);
        a->setStatusTip(marcador->statusTip());
        a->setData(lista[i]);
        const QString caminho = lista[i];
        connect(a, &QAction::triggered, this, [this, caminho] { emit abrir(caminho); });
        menu->insertAction(marcador, a);
        acoesEntradas.append(a);
    }
    marcador->setEnabled(false);
    marcador->setVisible(lista.isEmpty());
}

} // namespace keldo::gui
