// The window tests: one program that runs the suite of each window in turn,
// as QTEST_MAIN runs one.
#include "WindowSupport.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    using namespace korvath::uitest;
    int failed = 0;
    for (auto* make :
         {frontScreenTests, battleWindowTests, battleMenuTests, nodeGridTests, themeTests}) {
        const std::unique_ptr<QObject> suite = make();
        failed += QTest::qExec(suite.get(), argc, argv);
    }
    return failed;
}
