#include <QLabel>
#include <vector>

#include "tests/support/fake_page_source.h"
#include "tests/support/fake_shell.h"
#include "tests/ui/window_fixture.h"
#include "ui/drawn_page_source.h"
#include "ui/qt_controls.h"

namespace pricelookup::testing {
namespace {

// Records the text a label held each time it was painted.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    std::vector<QString> painted;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_label && event->type() == QEvent::Paint)
            painted.push_back(m_label->text());
        return false;
    }

  private:
    QLabel* m_label;
};

using DrawnPageSourceTest = ShownWindow;

TEST_F(DrawnPageSourceTest, TextsWrittenBeforeAFetchAreOnTheScreenWhileItBlocks) {
    FakeShell shell;
    ui::QtControls controls(*window, shell);
    FakePageSource network;
    network.pages["http://h/a"] = "page a";
    ui::DrawnPageSource pages(*window, network);
    for (int round = 0; round < 3; ++round) {  // also right after the previous drawing
        PaintWatch part0(window->status_part(0));
        PaintWatch part1(window->status_part(1));
        const std::string progress = "请稍后，正在搜索相关数据... ..." + std::to_string(round);
        const std::string page = "第" + std::to_string(round + 1) + "页";
        std::vector<QString> part0_at_fetch, part1_at_fetch;
        network.while_fetching = [&] {
            part0_at_fetch = part0.painted;
            part1_at_fetch = part1.painted;
        };
        // No event loop runs from here to the fetch, as in a search.
        controls.set_part_text(0, progress);
        controls.set_part_text(1, page);
        EXPECT_EQ(pages.fetch("http://h/a"), "page a");
        ASSERT_FALSE(part0_at_fetch.empty()) << round;
        EXPECT_EQ(part0_at_fetch.back(), q(progress)) << round;
        ASSERT_FALSE(part1_at_fetch.empty()) << round;
        EXPECT_EQ(part1_at_fetch.back(), q(page)) << round;
    }
    EXPECT_EQ(network.addresses, (std::vector<std::string>(3, "http://h/a")));
}

TEST_F(DrawnPageSourceTest, AfterTheWindowIsGoneItOnlyFetches) {
    FakePageSource network;
    network.pages[""] = "";
    ui::DrawnPageSource pages(*window, network);
    window.reset();
    EXPECT_EQ(pages.fetch(""), "");
    EXPECT_EQ(network.addresses, std::vector<std::string>{""});
}

}  // namespace
}  // namespace pricelookup::testing
