#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

// The main() of the benchmarks that paint or fill widgets: they need a QApplication, on the
// off-screen platform unless one is named.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
