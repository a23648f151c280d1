#pragma once
#include "Projetos.h"
#include "RespostaModal.h"
#include "editor/CIndividuosModel.h"
#include "editor/CKeldoView.h"
#include "editor/CMainFrame.h"
#include "gui/ArquivosRecentes.h"
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using keldo::editor::CIndividuosModel;
using keldo::editor::CKeldoView;
using keldo::editor::CMainFrame;
using keldo::model::SpecX;
using keldo::sim::CKeldoDoc;

// The editor's main window with its modal questions answered by the test.
class Editor : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pasta.isValid());
        janela = std::make_unique<CMainFrame>();
        padrao = janela->dialogos;
        janela->dialogos.avisar = [this](const QString& t) { avisos << t; };
        janela->dialogos.confirmar = [this](const QString& t) {
            confirmacoes << t;
            return respostaConfirmar;
        };
        janela->dialogos.salvarComo = [this](const QString&) { return nomeSalvar; };
        janela->dialogos.perguntarSalvar = [](const QString&) { return QMessageBox::No; };
        janela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
    }

    CKeldoView* view() const { return janela->vista(); }
    QTableView* lista() const { return view()->lista(); }
    CIndividuosModel& modelo() const { return view()->modelo(); }
    const SpecX& linha(int r) const { return modelo().individuos()[static_cast<size_t>(r)]; }
    int linhas() const { return modelo().rowCount(); }

    QString abrirNovo(const QString& nome = QStringLiteral("a.gen"), int n = 480,
                      const std::function<void(CKeldoDoc&)>& ajuste = {}) {
        const QString caminho = Projetos::criar(pasta, nome, n, ajuste);
        EXPECT_TRUE(janela->abrirArquivo(caminho));
        return caminho;
    }

    // A click on a row of the list, as the user makes it.
    void clicarLinha(int r, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        const QModelIndex i = modelo().index(r, 1);
        lista()->scrollTo(i);
        QTest::mouseClick(lista()->viewport(), Qt::LeftButton, mods,
                          lista()->visualRect(i).center());
    }
    void selecionar(const std::vector<int>& rs) {
        for (size_t k = 0; k < rs.size(); ++k)
            clicarLinha(rs[k], k == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }
    void clicarBotao(int idControle) {
        QAbstractButton* b = view()->botao(idControle);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void clicarCabecalho(int coluna) {
        QHeaderView* h = lista()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(coluna) + 5, h->height() / 2));
    }

    // Runs `acao` and answers the message box it shows with `resposta`; returns its text.
    static QString responderMensagem(const std::function<void()>& acao,
                                     QMessageBox::StandardButton resposta = QMessageBox::Ok) {
        QString texto;
        const RespostaModal r(
            [&](QWidget* janela) {
                auto* m = qobject_cast<QMessageBox*>(janela);
                if (!m || !texto.isEmpty())
                    return;
                texto = m->text();
                EXPECT_EQ(m->icon(), QMessageBox::Warning);
                if (QAbstractButton* b = m->button(resposta))
                    b->click();
                else
                    m->reject();
            },
            true);
        acao();
        return texto;
    }

    static bool mesmoRegistro(const SpecX& a, const SpecX& b) {
        return a.id == b.id && a.idPai == b.idPai && a.idMae == b.idMae && a.geracao == b.geracao &&
               a.loopNasc == b.loopNasc && a.loopMorto == b.loopMorto && a.x == b.x && a.y == b.y &&
               a.dirX == b.dirX && a.dirY == b.dirY && a.targetX == b.targetX &&
               a.targetY == b.targetY && a.targetId == b.targetId && a.energia == b.energia &&
               a.genotipoP == b.genotipoP && a.genotipoM == b.genotipoM && a.estado == b.estado;
    }

    QTemporaryDir pasta;
    std::unique_ptr<CMainFrame> janela;
    CMainFrame::Dialogos padrao;
    QStringList avisos;
    QStringList confirmacoes;
    bool respostaConfirmar = true;
    QString nomeSalvar;
};
