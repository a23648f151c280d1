#include "app/LegendaExportacao.h"
#include "sim/ParametrosPorNome.h"
#include <QStringList>

namespace keldo::app {

using namespace keldo::sim;

namespace {

QString contagem(qsizetype n, const QString& singular, const QString& plural) {
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? singular : plural);
}

QStringList diferentesDoPadrao(const SimulationParameters& parametros) {
    const SimulationParameters padrao;
    QStringList diferentes;
    for (const std::string& nome : nomesDeParametros()) {
        const std::string valor = valorPorNome(parametros, nome);
        if (valor != valorPorNome(padrao, nome))
            diferentes << QString::fromStdString(nome + "=" + valor);
    }
    return diferentes;
}

bool comDefinida(const SimulationParameters& p) {
    return p.tipoPopulacao == 1 || p.comDefinida == 1;
}

} // namespace

QString LegendaExportacao::populacaoDefinida(const SimulationParameters& p) {
    qsizetype machos = 0;
    qsizetype femeas = 0;
    qsizetype ovos = 0;
    for (const SpecX& s : p.listaDefinida) {
        if (!s.adulto())
            ++ovos;
        else if (s.sexo())
            ++machos;
        else
            ++femeas;
    }
    const qsizetype total = static_cast<qsizetype>(p.listaDefinida.size());
    return contagem(total, QStringLiteral("indivíduo"), QStringLiteral("indivíduos")) +
           QStringLiteral(": ") +
           contagem(machos + femeas, QStringLiteral("adulto"), QStringLiteral("adultos")) +
           QStringLiteral(" (") +
           contagem(machos, QStringLiteral("macho"), QStringLiteral("machos")) +
           QStringLiteral(", ") +
           contagem(femeas, QStringLiteral("fêmea"), QStringLiteral("fêmeas")) +
           QStringLiteral(") e ") + contagem(ovos, QStringLiteral("ovo"), QStringLiteral("ovos"));
}

QString LegendaExportacao::texto(const QString& projeto, const QDateTime& quando,
                                 std::optional<uint32_t> semente,
                                 const std::optional<SimulationParameters>& parametrosDoMundo) {
    const QString textoSemente = semente
                                     ? QString::number(*semente)
                                     : QStringLiteral("desconhecida (mundo lido de um projeto)");
    QString texto =
        QStringLiteral("KELDO · projeto %1 · %2 · semente %3\n")
            .arg(projeto, quando.toString(QStringLiteral("yyyy-MM-dd HH:mm")), textoSemente);
    if (!parametrosDoMundo)
        return texto +
               QStringLiteral("Parâmetros do mundo: desconhecidos (mundo lido de um projeto)");
    const QStringList diferentes = diferentesDoPadrao(*parametrosDoMundo);
    if (diferentes.isEmpty())
        texto += QStringLiteral("Parâmetros do mundo: todos com os valores padrão");
    else {
        // A few per line, so the caption stays within the picture.
        texto += QStringLiteral("Parâmetros do mundo diferentes do padrão:");
        for (qsizetype i = 0; i < diferentes.size(); ++i)
            texto += (i % 5 == 0 ? QStringLiteral("\n") : QStringLiteral(", ")) + diferentes[i];
    }
    if (comDefinida(*parametrosDoMundo))
        texto += QStringLiteral("\nPopulação definida: ") + populacaoDefinida(*parametrosDoMundo);
    return texto;
}

} // namespace keldo::app
