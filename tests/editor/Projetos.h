#pragma once
#include "sim/CKeldoDoc.h"
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// Project files for the editor's tests, written by the core library.
namespace Projetos {

using keldo::sim::CKeldoDoc;

// A world of `n` random founders (ids 1..n) from a fixed seed. Every 7th is
// moved to the dead (energy 55), every 11th living one is an egg, and
// `ajuste` may change the document before it is written.
QString criar(const QTemporaryDir& pasta, const QString& nome, int n = 480,
              const std::function<void(CKeldoDoc&)>& ajuste = {});

QByteArray ler(const QString& caminho);
void gravar(const QString& caminho, const QByteArray& bytes);

} // namespace Projetos
