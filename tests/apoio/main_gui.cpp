// main() of the GUI tests: one QApplication for every test, offscreen, with
// settings (the recent-file list) kept in a throwaway folder, apart from the user's.
#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    QApplication aplicacao(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KeldoTeste"));
    QApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    QTemporaryDir configuracao;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuracao.path());
    return RUN_ALL_TESTS();
}
