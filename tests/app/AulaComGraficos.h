#pragma once
// The simulator's main window on a seeded world, shown, with its chart window
// at hand: what the chart tests open, as a teacher does before a lesson.
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QMessageBox>
#include <QTest>
#include <cstdint>
#include <gtest/gtest.h>

struct AulaComGraficos {
    keldo::app::CMainFrame frame;
    explicit AulaComGraficos(uint32_t semente = 12345u) {
        frame.documento().definirSementeFixa(semente);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.dialogos.perguntarSalvar = [](const QString&) { return QMessageBox::No; };
    }
    ~AulaComGraficos() {
        frame.parar();
        frame.documento().arquivo().marcarSalvo();
    }
    keldo::sim::CKeldoDoc& doc() { return frame.documento(); }
    keldo::app::CGraficosDlg& graficos() {
        frame.graficos();
        return *frame.janelaGraficos();
    }
    void ciclos(int n) {
        for (int c = 0; c < n; ++c)
            doc().executarCiclo();
    }
};
