// The info box opened over the main window on the Qt backend: where it stands, which
// control has the focus, how it ends, and that the main window takes no input meanwhile.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "platform/qt/qt_internal.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "ui/info_dlg.h"

namespace platform::qt {
namespace {

// The owner: counts what reaches it while the box is open.
class OwnerDialog : public Dialog {
  public:
    explicit OwnerDialog(Backend& backend) : Dialog(resources::MeterTemplate(), backend) {}
    int messages = 0;

  protected:
    std::intptr_t WindowProc(const Message& message) override {
        if (message.kind != Msg::Paint && message.kind != Msg::Timer) {
            ++messages;
        }
        return Dialog::WindowProc(message);
    }
};

class InfoBoxTest : public ::testing::Test {
  protected:
    InfoBoxTest() {
        ownerWindow = backend.Open(owner);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(ownerWindow->Widget()));
        // Away from the screen's corner, so that the wider box fits when centred.
        ownerWindow->Widget()->move(100, 80);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ownerWindow->Widget()->x() >= 100; }));
        box = backend.Open(info, ownerWindow.get());
        // qWaitForWindowActive may answer before the activation has been delivered.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == Box(); }));
    }
    ~InfoBoxTest() override {
        info.Attach(nullptr);
        box.reset();
        owner.Attach(nullptr);
    }
    QWidget* Box() const { return box->Widget(); }
    QWidget* Owner() const { return ownerWindow->Widget(); }
    QWidget* Ok() const { return box->Control(IDOK); }

    QtBackend backend{resources::Module()};
    OwnerDialog owner{backend};
    std::unique_ptr<QtWindow> ownerWindow;
    velmora::CInfoDlg info{backend, &owner};
    std::unique_ptr<QtWindow> box;
};

TEST_F(InfoBoxTest, StandsCentredOverItsOwnerWithAFixedSize) {
    // Twice the centres, so that odd sizes leave no rounding of their own.
    const QRect b = Box()->frameGeometry();
    const QRect o = Owner()->frameGeometry();
    EXPECT_NEAR(2 * b.x() + b.width(), 2 * o.x() + o.width(), 2);
    EXPECT_NEAR(2 * b.y() + b.height(), 2 * o.y() + o.height(), 2);

    const PixelRect client = DluToPixels(resources::InfoTemplate().rect, box->Units());
    const QSize size(client.width, client.height);
    EXPECT_EQ(Box()->size(), size);
    EXPECT_EQ(Box()->minimumSize(), size);
    EXPECT_EQ(Box()->maximumSize(), size);
    EXPECT_FALSE(Box()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(Box()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(Box()->windowTitle(), QStringLiteral("Info \u00fcber Velmora"));
    EXPECT_TRUE(Box()->isWindow());
    EXPECT_EQ(Box()->windowHandle()->transientParent(), Owner()->windowHandle());
}

TEST_F(InfoBoxTest, OkIsTheOnlyTabStopAndHasTheFocus) {
    ASSERT_NE(Ok(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), Ok());
    for (QWidget* w : Box()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isWindow()) {
            EXPECT_EQ((w->focusPolicy() & Qt::TabFocus) != 0, w == Ok())
                << w->metaObject()->className() << " " << w->accessibleName().toStdString();
        }
    }
    QTest::keyClick(Box()->windowHandle(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Ok());
    EXPECT_FALSE(box->Ended());
}

TEST_F(InfoBoxTest, IsApplicationModalAndTheOwnerTakesNoInput) {
    EXPECT_EQ(Box()->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), Box());
    owner.messages = 0;

    QWidget* start = ownerWindow->Control(IDC_START);
    QTest::mouseClick(Owner()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      start->mapTo(Owner(), start->rect().center()));
    QWidget* selector = ownerWindow->Control(IDC_SEL1);
    QTest::mouseClick(Owner()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      selector->mapTo(Owner(), QPoint(8, selector->height() / 2)));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_F1}) {
        QTest::keyClick(Owner()->windowHandle(), key);
    }
    // A close request for the owner while the box is open ends nothing.
    Owner()->close();

    EXPECT_EQ(owner.messages, 0);
    EXPECT_FALSE(ownerWindow->Ended());
    EXPECT_FALSE(box->Ended());
    EXPECT_TRUE(Box()->isVisible());
}

struct EndCase {
    const char* name;
    std::function<void(InfoBoxTest&, QWidget* box, QWidget* ok)> act;
    int result;

    friend void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }
};

class InfoBoxEndTest : public InfoBoxTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(InfoBoxEndTest, EndsWithItsCommandAndLeavesTheOwnerRunning) {
    const EndCase& c = GetParam();
    c.act(*this, Box(), Ok());
    EXPECT_TRUE(box->Ended());
    EXPECT_EQ(box->Result(), c.result);
    EXPECT_FALSE(ownerWindow->Ended());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InfoBoxEndTest,
    ::testing::Values(EndCase{"Enter",
                              [](InfoBoxTest&, QWidget* b, QWidget*) {
                                  QTest::keyClick(b->windowHandle(), Qt::Key_Return);
                              },
                              IDOK},
                      EndCase{"Space",
                              [](InfoBoxTest&, QWidget* b, QWidget*) {
                                  QTest::keyClick(b->windowHandle(), Qt::Key_Space);
                              },
                              IDOK},
                      EndCase{"ClickOnOk",
                              [](InfoBoxTest&, QWidget* b, QWidget* ok) {
                                  QTest::mouseClick(b->windowHandle(), Qt::LeftButton,
                                                    Qt::NoModifier, ok->geometry().center());
                              },
                              IDOK},
                      EndCase{"Escape",
                              [](InfoBoxTest&, QWidget* b, QWidget*) {
                                  QTest::keyClick(b->windowHandle(), Qt::Key_Escape);
                              },
                              IDCANCEL},
                      EndCase{"CloseBox", [](InfoBoxTest&, QWidget* b, QWidget*) { b->close(); },
                              IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace platform::qt
