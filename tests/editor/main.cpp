#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// One application for every test; settings go to a throwaway folder.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KeldoTeste"));
    QApplication::setApplicationName(QStringLiteral("keldoge_tests"));
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir configuracao;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuracao.path());
    return RUN_ALL_TESTS();
}
