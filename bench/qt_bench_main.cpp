// The main of benchmarks that work with windows: one application object for
// the whole run, made before the first benchmark and destroyed when main
// returns. It must not be a static: Qt's own globals go at exit, before a
// static application object would, and the forms must go before either.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
