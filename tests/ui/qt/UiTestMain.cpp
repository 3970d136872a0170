#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

// The window tests need a QApplication; they never draw on a real screen, even when one is there (test
// discovery runs without the test environment).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
