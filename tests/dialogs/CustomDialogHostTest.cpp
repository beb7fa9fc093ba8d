// The dialog host and its settings unit, shown offscreen: first and later openings, sizing
// with a grip, the sub form adopted and given back, and live changes.
#include "dialogs/DialogSubControls.h"
#include "dialogs/TCustomDialogWindow.h"
#include "dialogs/TCustomDlgsUnit.h"
#include "dialogs/TDialogCustomizer.h"

#include "../support/QtTestApp.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSizeGrip>

#include <gtest/gtest.h>

namespace {

template <class Customizer>
class Factory : public TCustomizePartsFactory {
public:
    std::unique_ptr<TDialogCustomizer> CreateDialogCustomizer() const override {
        return std::make_unique<Customizer>();
    }
};

/// A dialog whose own controls need 200 x 100, opened and closed the way every
/// customisable dialog does it.
class CustomDialogHostTest : public ::testing::Test {
protected:
    CustomDialogHostTest() {
        TestApp();
        auto* controls = new QWidget;
        controls->setMinimumSize(200, 100);
        m_window = new TCustomDialogWindow(nullptr, controls);
        m_window->setWindowTitle("Own caption");
        m_window->OnShowWindow = [this] {
            m_unit.RegistDialog(m_window, *m_factory);
            m_unit.StartCustomize();
        };
    }
    ~CustomDialogHostTest() override {
        m_unit.DestroyDialog();
        delete m_window;
    }
    void Open() { m_window->show(); }
    void Close() {
        m_unit.DestroyDialog();
        m_window->hide();
    }
    QRect Screen() const { return m_window->screen()->availableGeometry(); }
    QWidget* Controls() const { return m_window->MainWidget(); }

    Factory<TFixedDialogCustomizer> m_fixed;
    Factory<TSizingDialogCustomizer> m_sizing;
    const TCustomizePartsFactory* m_factory = &m_fixed;
    TCustomDlgsUnit m_unit{nullptr};
    TCustomDialogWindow* m_window;
};

TEST_F(CustomDialogHostTest, FirstShowAtMinimumAtAThirdThenReopensWhereItWasLeft) {
    EXPECT_EQ(m_unit.GetLeft(), -1);
    EXPECT_EQ(m_unit.GetTop(), -1);
    QWidget sub;
    sub.resize(80, 60);
    m_unit.SetSubForm(&sub);
    m_unit.SetSubFormPos(fpRight);
    m_unit.SetDialogSizing(true);
    Open();
    const QRect screen = Screen();
    EXPECT_EQ(m_window->size(), QSize(280, 100));
    EXPECT_EQ(m_window->pos(), QPoint(screen.x() + (screen.width() - 280) / 2, screen.y() + (screen.height() - 100) / 3));

    // The user makes it larger and moves it: the controls take the room, the sub form keeps its width.
    m_window->resize(400, 300);
    m_window->move(screen.topLeft() + QPoint(20, 30));
    EXPECT_EQ(Controls()->geometry(), QRect(0, 0, 320, 300));
    EXPECT_EQ(sub.geometry(), QRect(320, 0, 80, 300));
    auto* grip = m_window->findChild<QSizeGrip*>("DialogGrip");
    ASSERT_NE(grip, nullptr);
    EXPECT_EQ(grip->geometry().bottomRight(), QPoint(399, 299));
    m_window->resize(10, 10);  // never below the minimum
    EXPECT_EQ(m_window->size(), QSize(280, 100));
    m_window->resize(400, 300);
    Close();
    EXPECT_EQ(sub.parentWidget(), nullptr);  // given back as it was
    EXPECT_EQ(sub.size(), QSize(80, 60));
    EXPECT_EQ(m_unit.GetPosition(), screen.topLeft() + QPoint(20, 30));

    Open();
    EXPECT_EQ(m_window->geometry().size(), QSize(400, 300));
    EXPECT_EQ(m_window->pos(), screen.topLeft() + QPoint(20, 30));
}

TEST_F(CustomDialogHostTest, FixedWithoutSizingAndSizingSetWhileOpenActsNextTime) {
    Open();
    EXPECT_EQ(m_window->minimumSize(), QSize(200, 100));
    EXPECT_EQ(m_window->maximumSize(), QSize(200, 100));
    EXPECT_EQ(m_window->findChild<QSizeGrip*>(), nullptr);
    m_unit.SetDialogSizing(true);
    EXPECT_EQ(m_window->maximumSize(), QSize(200, 100));
    Close();
    Open();
    EXPECT_NE(m_window->findChild<QSizeGrip*>(), nullptr);
    m_window->resize(300, 150);
    EXPECT_EQ(Controls()->size(), QSize(300, 150));
}

TEST_F(CustomDialogHostTest, LiveChangesReachAFixedDialogAndAreRefusedBySelfSizingOnes) {
    QWidget sub;
    sub.resize(50, 40);
    m_unit.SetSubForm(&sub);
    m_unit.SetSubFormPos(fpLeft);
    Open();
    EXPECT_EQ(m_window->size(), QSize(250, 100));
    m_unit.SetSubFormPos(fpBottom);
    EXPECT_EQ(m_window->size(), QSize(200, 140));
    EXPECT_EQ(sub.geometry(), QRect(0, 100, 200, 40));
    m_unit.MinEdgeSpace().SetLeftSpace(7);
    EXPECT_EQ(m_unit.MinEdgeSpace().LeftSpace(), 7u);
    Close();

    m_factory = &m_sizing;
    Open();
    m_unit.SetSubFormPos(fpTop);
    m_unit.MinEdgeSpace().SetLeftSpace(9);
    EXPECT_EQ(m_unit.SubFormPos(), fpBottom);
    EXPECT_EQ(m_unit.MinEdgeSpace().LeftSpace(), 7u);
}

TEST_F(CustomDialogHostTest, ASubFormDestroyedWhileShownIsDroppedAndTheDialogLaidOutAgain) {
    auto* window = new QWidget;  // a top-level window as sub form
    window->resize(90, 120);
    m_unit.SetSubForm(window);
    m_unit.SetSubFormPos(fpLeft);
    Open();
    EXPECT_EQ(window->parentWidget(), m_window);
    EXPECT_EQ(m_window->size(), QSize(290, 120));
    delete window;
    EXPECT_EQ(m_unit.SubForm(), nullptr);
    EXPECT_EQ(m_window->size(), QSize(200, 100));
    EXPECT_EQ(Controls()->geometry(), QRect(0, 0, 200, 100));
}

TEST_F(CustomDialogHostTest, PositionAndCaptionSetBeforeTheFirstShow) {
    const QRect screen = Screen();
    m_unit.SetPosition(screen.topLeft() + QPoint(15, 25));
    m_unit.SetCaption("");
    Open();
    EXPECT_EQ(m_window->pos(), screen.topLeft() + QPoint(15, 25));
    EXPECT_EQ(m_unit.GetCaption(), "Own caption");
    m_unit.SetCaption("Preview");
    EXPECT_EQ(m_window->windowTitle(), "Preview");
    m_unit.SetPosition(QPoint(-90000, -90000));  // out of range: held on its screen
    EXPECT_EQ(m_window->pos(), screen.topLeft());
    Close();

    // A place on no present screen (a monitor since unplugged) opens as the first time.
    m_unit.SetPosition(QPoint(screen.right() + 5000, screen.top()));
    Open();
    EXPECT_EQ(m_window->pos(), QPoint(screen.x() + (screen.width() - 200) / 2, screen.y() + (screen.height() - 100) / 3));
}

}  // namespace
