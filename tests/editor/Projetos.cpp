#include "Projetos.h"
#include "AcessoDocumento.h"
#include <QFile>
#include <gtest/gtest.h>

using namespace keldo::model;
using namespace keldo::sim;

namespace Projetos {

QString criar(const QTemporaryDir& pasta, const QString& nome, int n,
              const std::function<void(CKeldoDoc&)>& ajuste) {
    CKeldoDoc doc;
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = n;
    doc.definirSementeFixa(4242);
    EXPECT_TRUE(doc.criarMundo());
    std::vector<SpecX> vivos;
    for (size_t i = 0; i < doc.vivos().size(); ++i) {
        SpecX s = doc.vivos()[i];
        if (i % 7 == 3) {
            s.definirBit(EstadoBit::vivo, false);
            s.energia = 55;
            s.loopMorto = 12;
            AcessoDocumento::mortosEditaveis(doc).push_back(s);
            continue;
        }
        if (i % 11 == 5)
            s.definirBit(EstadoBit::adulto, false);
        vivos.push_back(s);
    }
    AcessoDocumento::vivosEditaveis(doc) = vivos;
    AcessoDocumento::definirTempo(doc, 40);
    if (ajuste)
        ajuste(doc);
    // The bytes themselves: a save refuses a world past the limit, which some tests need.
    const QString caminho = pasta.filePath(nome);
    const std::vector<uint8_t> bytes = doc.serializar();
    QFile f(caminho);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) &&
                f.write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()));
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
