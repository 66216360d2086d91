// Clicks on the rows of the real result list: the picture request reaches the server,
// the name is on the clipboard, the confirmation box opens.

#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QWebEngineView>
#include <chrono>

#include "tests/view/support/picture_server.h"
#include "tests/view/window_under_test.h"
#include "ui/period_timer.h"
#include "ui/preview_pane.h"

namespace pricelookup::testing {
namespace {

using namespace std::chrono_literals;

std::string png_picture() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

const QUrl blank(QStringLiteral("about:blank"));

class RowClicks : public WindowUnderTest {
  protected:
    void SetUp() override {
        WindowUnderTest::SetUp();
        fill({
            {"1", "佳能 EOS R6", "全画幅", "价格", "14999", "2024-03-05", server.url("/pic/1.png")},
            {"2", "索尼 α7 IV 微单相机", "4K", "价格", "16999", "2024-03-04",
             server.url("/pic/2.png")},
            {"3", "尼康 Z6", "", "价格", "9999", "2024-03-03", server.url("/pic/3.png")},
        });
    }

    // The URL the pane's web view shows once its current load has finished.
    QUrl loaded_url() {
        QWebEngineView* view = window->preview_pane()->view();
        if (view == nullptr) return {};
        return view->url();
    }

    PictureServer server{"image/png", png_picture()};
};

TEST_F(RowClicks, ARowClickPreviewsItsPictureCopiesItsNameAndConfirms) {
    bool inspected = false;
    when_box_opens([&](QMessageBox& box) {
        inspected = true;
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.text(), q("产品信息已复制,请粘贴到文本上即可查看!"));
        EXPECT_EQ(box.windowTitle(), q("信息："));
        // The picture loads while the box is open.
        EXPECT_TRUE(server.wait_for("/pic/2.png", 1, 0ms) ||
                    QTest::qWaitFor([&] { return server.count("/pic/2.png") >= 1; }, 15000));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(ui::to_gbk(data->text()), "索尼 α7 IV 微单相机");
        EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/plain")}) << "plain text only";

        // The clock keeps running inside the box; the main window takes no clicks.
        QSignalSpy ticks(window->timer(ui::Timer::clock), &ui::PeriodTimer::ticked);
        const std::string clock_before = part_text(2);
        click_list_at(centre_of_row(0));
        QTest::qWait(2200);
        EXPECT_GE(ticks.count(), 2);
        EXPECT_NE(part_text(2), clock_before);
        EXPECT_EQ(controls->selected_row(), 1) << "the click on row 0 went nowhere";
    });
    click_list_at(centre_of_row(1));
    EXPECT_TRUE(inspected);
    EXPECT_EQ(window->preview_pane()->address(), server.url("/pic/2.png"));
    EXPECT_EQ(server.count("/pic/1.png"), 0) << "no second box, no other picture";
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return loaded_url() == QUrl(q(server.url("/pic/2.png"))); }, 15000));
}

TEST_F(RowClicks, AClickBelowTheRowsBlanksThePaneAndEmptiesTheClipboard) {
    // A picture shown first, and something else on the clipboard.
    when_box_opens([](QMessageBox&) {});
    click_list_at(centre_of_row(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.count("/pic/1.png") >= 1; }, 15000));
    QGuiApplication::clipboard()->setText(QStringLiteral("former contents"));

    int boxes = 0;
    when_box_opens([&](QMessageBox& box) {
        ++boxes;
        EXPECT_EQ(box.text(), q("产品信息已复制,请粘贴到文本上即可查看!"));
        EXPECT_EQ(box.icon(), QMessageBox::Information);
    });
    click_list_at(below_the_rows());
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(controls->selected_row(), ui::no_row);
    EXPECT_EQ(window->preview_pane()->address(), "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded_url() == blank; }, 15000))
        << loaded_url().toString().toStdString();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasText());
    EXPECT_EQ(data->text(), QString()) << "the former contents are gone";
}

TEST_F(RowClicks, AClickInAnEmptyListStartsNoWebEngine) {
    controls->clear_rows();
    int boxes = 0;
    when_box_opens([&](QMessageBox&) { ++boxes; });
    click_list_at(below_the_rows());
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(window->preview_pane()->navigations(), 1);
    EXPECT_EQ(window->preview_pane()->view(), nullptr) << "a blank pane needs no web view";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

TEST_F(RowClicks, TwoClicksOnOneRowNavigateTwiceWithTwoBoxes) {
    int boxes = 0;
    for (int click = 1; click <= 2; ++click) {
        when_box_opens([&](QMessageBox&) {
            ++boxes;
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.count("/pic/3.png") >= click; }, 15000))
                << "navigation " << click;
        });
        click_list_at(centre_of_row(2));
    }
    EXPECT_EQ(boxes, 2);
    EXPECT_EQ(window->preview_pane()->navigations(), 2);
    EXPECT_EQ(server.count("/pic/3.png"), 2);
}

TEST_F(RowClicks, PictureAddressesOfOtherSchemesLoadNothing) {
    // The view exists, showing a picture, when the hostile addresses come.
    when_box_opens([](QMessageBox&) {});
    click_list_at(centre_of_row(0));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return loaded_url() == QUrl(q(server.url("/pic/1.png"))); }, 15000));
    QWebEngineView* view = window->preview_pane()->view();

    struct Case {
        const char* address;
    };
    const Case cases[] = {
        {"javascript:document.title='injected';void(0)"},
        {"file:///etc/passwd"},
        {"data:text/html,<title>injected</title>"},
        {"view-source:http://127.0.0.1/"},
    };
    for (const Case& c : cases) {
        controls->set_cell_text(1, 6, c.address);
        when_box_opens([](QMessageBox&) {});
        click_list_at(centre_of_row(1));
        EXPECT_EQ(window->preview_pane()->address(), c.address)
            << "the pane keeps what it was given";
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded_url() == blank; }, 15000))
            << c.address << " -> " << loaded_url().toString().toStdString();
        EXPECT_NE(view->title(), QStringLiteral("injected")) << c.address;
        EXPECT_FALSE(view->title().contains(QStringLiteral("root"))) << c.address;
        // Back to a picture, so that the next case starts from a loaded page again.
        when_box_opens([](QMessageBox&) {});
        click_list_at(centre_of_row(0));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return loaded_url() == QUrl(q(server.url("/pic/1.png"))); }, 15000));
    }
    // Only the picture went over the wire (and the icon a browser asks for by itself).
    for (const std::string& target : server.targets()) {
        EXPECT_TRUE(target == "/pic/1.png" || target == "/favicon.ico") << target;
    }
}

}  // namespace
}  // namespace pricelookup::testing
