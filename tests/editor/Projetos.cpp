#include "Projetos.h"
#include <QFile>
#include <gtest/gtest.h>

namespace Projetos {

QString criar(const QTemporaryDir& pasta, const QString& nome, int n,
              const std::function<void(CKeldoDoc&)>& ajuste) {
    CKeldoDoc doc;
    doc.parametrosEditaveis().numIndividuos = n;
    doc.definirSementeFixa(4242);
    EXPECT_TRUE(doc.criarMundo());
    std::vector<SpecX> vivos;
    for (size_t i = 0; i < doc.vivos().size(); ++i) {
        SpecX s = doc.vivos()[i];
        if (i % 7 == 3) {
            s.definirBit(EstadoBit::vivo, false);
            s.energia = 55;
            s.loopMorto = 12;
            doc.mortosEditaveis().push_back(s);
            continue;
        }
        if (i % 11 == 5)
            s.definirBit(EstadoBit::adulto, false);
        vivos.push_back(s);
    }
    doc.vivosEditaveis() = vivos;
    doc.definirTempo(40);
    if (ajuste)
        ajuste(doc);
    const QString caminho = pasta.filePath(nome);
    EXPECT_TRUE(doc.salvarProjeto(caminho.toStdString(), false).ok);
    return caminho;
}

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace Projetos
