// The expansion windows and the two-set strip in the window, offscreen: Ctrl+E opens a child
// window of the plot that draws its region and answers its buttons and mouse, a set-up closes
// every one, and the strip's buttons and bars reach the two-set display.
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "app/display_commands.h"
#include "display/two_set.h"
#include "gui/expansion_window.h"
#include "gui/main_window.h"
#include "gui/plot_view.h"
#include "gui/two_set_strip.h"
#include "modal_helper.h"

using pelvaron::Document;
using pelvaron::gui::ExpansionWindow;
using pelvaron::gui::MainWindow;
using pelvaron::testing::sendMouse;
namespace app = pelvaron::app;
namespace display = pelvaron::display;

namespace {

const char* const kExample = PELVARON_SOURCE_DIR "/examples/ethyl-acetate/1";

int bluePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.blue() > 200 && c.red() < 80 && c.green() < 80;
        }
    return count;
}

}  // namespace

class ExpansionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Document> doc_;
    std::unique_ptr<MainWindow> window_;

private slots:
    void init() {
        doc_ = std::make_unique<Document>();
        window_ = std::make_unique<MainWindow>(*doc_);
        window_->resize(1280, 800);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QVERIFY(window_->dispatcher().openPath(kExample));
    }

    void cleanup() {
        doc_->noSaveQuery = 1;
        window_.reset();
        doc_.reset();
    }

    void ctrlEOpensAChildWindowThatASetUpCloses() {
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        const auto windows = window_->expansionWindows();
        QCOMPARE(static_cast<int>(windows.size()), 2);
        ExpansionWindow* w = windows[0]->slot() == 0 ? windows[0] : windows[1];
        QCOMPARE(w->parentWidget(), window_->plotView());
        QCOMPARE(doc_->nExpansions, 2);
        // Where it stands, for the printed page: at (100, 100) of the client area, 200 x 150.
        const pelvaron::ExpansionSlot& slot = doc_->expansions.windows[0];
        QCOMPARE(slot.frame, (pelvaron::Rect{100, 100, 300, 250}));
        QCOMPARE(slot.captionHeight, 150 - w->view()->height());
        QVERIFY(bluePixels(w->view()->grab().toImage()) > 20);

        // Its buttons and a drag in it change its own slot only.
        const double vScale = slot.expVScale;
        QTest::mouseClick(w->view()->button(display::ExpansionButton::Increase), Qt::LeftButton);
        QCOMPARE(slot.expVScale, vScale * 1.5);
        QCOMPARE(doc_->vScale, vScale);
        const int width = w->view()->width();
        sendMouse(w->view(), QEvent::MouseButtonPress, QPoint(width / 4, 40), Qt::LeftButton, Qt::LeftButton);
        sendMouse(w->view(), QEvent::MouseMove, QPoint(width / 2, 60), Qt::NoButton, Qt::LeftButton);
        QVERIFY(!w->view()->rubber().isNull());
        sendMouse(w->view(), QEvent::MouseButtonRelease, QPoint(width / 2, 60), Qt::LeftButton, Qt::NoButton);
        QVERIFY(slot.expLeftIndex > 0);
        QVERIFY(slot.expRightIndex < doc_->spectrum.nData);

        // The close button frees the slot at once; a set-up closes the rest.
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("expansionClose")), Qt::LeftButton);
        QCOMPARE(doc_->expansionUsed[0], 0);
        QCOMPARE(static_cast<int>(window_->expansionWindows().size()), 1);
        QVERIFY(window_->dispatcher().openPath(kExample));
        QVERIFY(window_->expansionWindows().empty());
        QCOMPARE(doc_->nExpansions, 0);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(window_->expansionWindows().at(0)->slot(), 0);
    }

    void theStripsButtonsAndBarsReachTheTwoSetDisplay() {
        // As Add/Subtract does once its Open has loaded the new set.
        display::prepareTwoSetDisplay(*doc_);
        window_->showTwoSetControls(true);
        display::beginTwoSetDisplay(*doc_);
        auto* strip = window_->twoSetStrip();
        QVERIFY(strip != nullptr);
        const double before = doc_->spectrum.specData[0];

        strip->bar(display::TwoSetBar::Shift)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(doc_->secondShift, 25);
        QCOMPARE(window_->statusText(0), QStringLiteral("Offset: 25"));
        auto button = [&](int id) {
            return strip->findChild<QPushButton*>(QStringLiteral("twoSet%1").arg(id));
        };
        QCOMPARE(button(app::kCmdTwoSetAdd)->text(), QStringLiteral("1+2"));
        QTest::mouseClick(button(app::kCmdTwoSetSubtract), Qt::LeftButton);
        QCOMPARE(doc_->spectrum.specData[0], before);  // the shift leaves the first doubles alone
        QCOMPARE(doc_->spectrum.specData[25], doc_->secondData[25] - doc_->secondData[0]);
        QTest::mouseClick(button(app::kCmdTwoSetRange), Qt::LeftButton);
        QCOMPARE(strip->bar(display::TwoSetBar::Factor)->maximum(), 5000);

        QTest::mouseClick(button(app::kCmdTwoSetQuit), Qt::LeftButton);
        QCOMPARE(doc_->addSubMode, 0);
        QVERIFY(window_->twoSetStrip() == nullptr);
        QCOMPARE(doc_->spectrum.specData[25], doc_->undo.specData[25]);
    }
};

QTEST_MAIN(ExpansionsTest)
#include "expansions_test.moc"
