// How long the first picture takes to show in the preview pane, web engine start
// included: a documented measurement, not a test. Run it on an X server:
//   tests/support/with-xvfb.sh -- build/tests/view/first_preview_timing
// It prints the time from show_address to the picture's load having finished, for
// the first address (the pane creates its web view then) and for a second one.

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWebEngineView>
#include <cstdio>

#include "tests/view/support/picture_server.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    pricelookup::testing::PictureServer server("image/png", png.toStdString());

    pricelookup::ui::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    pricelookup::ui::PreviewPane& pane = *window.preview_pane();
    for (const char* which : {"first", "second"}) {
        const std::string address = server.url(std::string("/") + which + ".png");
        QElapsedTimer clock;
        clock.start();
        bool finished = false;
        pane.show_address(address);
        QObject::connect(
            pane.view(), &QWebEngineView::loadFinished, &window,
            [&finished](bool) { finished = true; }, Qt::SingleShotConnection);
        if (!QTest::qWaitFor([&] { return server.count(std::string("/") + which + ".png") > 0; },
                             30000))
            return 1;
        const qint64 requested = clock.elapsed();
        if (!QTest::qWaitFor([&] { return finished; }, 30000)) return 1;
        std::printf("%s picture: requested after %lld ms, shown after %lld ms\n", which,
                    static_cast<long long>(requested), static_cast<long long>(clock.elapsed()));
    }
    for (const std::string& target : server.targets()) std::printf("requested %s\n", target.c_str());
    return 0;
}
