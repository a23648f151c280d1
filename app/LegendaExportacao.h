#pragma once
#include "sim/SimulationParameters.h"
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace keldo::app {

using keldo::sim::SimulationParameters;

// The caption under exported charts: project, date, the world's seed, and
// the parameters the world was made with where they differ from a new
// project's (a world read from a project was made with unknown ones), with
// the defined population in a few words.
namespace LegendaExportacao {

QString texto(const QString& projeto, const QDateTime& quando, std::optional<uint32_t> semente,
              const std::optional<SimulationParameters>& parametrosDoMundo);

// "3 indivíduos: 2 adultos (1 macho, 1 fêmea) e 1 ovo".
QString populacaoDefinida(const SimulationParameters& parametros);

} // namespace LegendaExportacao

} // namespace keldo::app
