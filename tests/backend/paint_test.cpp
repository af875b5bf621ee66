// Repaints caused by writing to controls. The main window's paint handler writes to its
// controls on every paint, so any write that repaints the dialog behind it would make the
// window paint itself forever.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "metering/stations.h"
#include "platform/qt/qt_internal.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "ui/meter_dlg.h"

namespace platform::qt {
namespace {

class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* top) {
        top->installEventFilter(this);
        for (QWidget* w : top->findChildren<QWidget*>()) {
            w->installEventFilter(this);
        }
    }
    int Of(const QObject* o) const {
        const auto it = counts_.find(o);
        return it != counts_.end() ? it->second : 0;
    }
    int Total() const {
        int n = 0;
        for (const auto& [o, count] : counts_) {
            n += count;
        }
        return n;
    }
    void Reset() { counts_.clear(); }

    // Runs the event loop until several rounds in a row paint nothing; false if the
    // painting never stops.
    bool Settle() {
        int quiet = 0;
        for (int round = 0; round < 300 && quiet < 5; ++round) {
            const int before = Total();
            QCoreApplication::processEvents();
            quiet = Total() == before ? quiet + 1 : 0;
        }
        return quiet >= 5;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++counts_[watched];
        }
        return false;
    }

  private:
    std::map<const QObject*, int> counts_;
};

class PaintTest : public ::testing::Test {
  protected:
    PaintTest() {
        window = backend.Open(dialog);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));
        counter = std::make_unique<PaintCounter>(window->Widget());
        EXPECT_TRUE(counter->Settle());
    }
    ~PaintTest() override {
        for (FontHandle f : fonts) {
            backend.DeleteFont(f);
        }
        dialog.Attach(nullptr);
    }

  public:
    // Fonts live as long as the window that may use them.
    FontHandle Font(const FontRequest& request) {
        fonts.push_back(backend.CreateFont(request));
        return fonts.back();
    }
    FontHandle LastFont() const { return fonts.back(); }

  protected:
    QtBackend backend{resources::Module()};
    Dialog dialog{resources::MeterTemplate(), backend};
    std::unique_ptr<QtWindow> window;
    std::unique_ptr<PaintCounter> counter;
    std::vector<FontHandle> fonts;
};

struct WriteCase {
    const char* name;
    int control;
    std::function<void(QtWindow&, PaintTest&)> prepare;
    std::function<void(QtWindow&, PaintTest&)> write;
    bool changes;  // the control shows something new

    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

class PaintWriteTest : public PaintTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(PaintWriteTest, RepaintsAtMostTheControlAndNeverTheDialog) {
    const WriteCase& c = GetParam();
    c.prepare(*window, *this);
    ASSERT_TRUE(counter->Settle());
    counter->Reset();

    c.write(*window, *this);
    ASSERT_TRUE(counter->Settle());

    EXPECT_EQ(counter->Of(window->Widget()), 0) << "the dialog behind the control painted";
    if (c.changes) {
        EXPECT_GE(counter->Of(window->Control(c.control)), 1);
    } else {
        EXPECT_EQ(counter->Total(), 0) << "an unchanged control painted";
    }
}

void Nothing(QtWindow&, PaintTest&) {}

INSTANTIATE_TEST_SUITE_P(
    Writes, PaintWriteTest,
    ::testing::Values(
        WriteCase{"SameText", IDC_TIME1,
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_TIME1, "inaktiv"); },
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_TIME1, "inaktiv"); }, false},
        WriteCase{"SameEuroText", IDC_AMOUNT3,
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_AMOUNT3, "0.76 \x80"); },
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_AMOUNT3, "0.76 \x80"); }, false},
        WriteCase{"SameEmptyText", IDC_AMOUNT2, Nothing,
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_AMOUNT2, ""); }, false},
        WriteCase{"SameSelection", IDC_RATE1,
                  [](QtWindow& w, PaintTest&) { w.SetCurSel(IDC_RATE1, 0); },
                  [](QtWindow& w, PaintTest&) { w.SetCurSel(IDC_RATE1, 0); }, false},
        WriteCase{"NoSelectionAgain", IDC_RATE4, Nothing,
                  [](QtWindow& w, PaintTest&) { w.SetCurSel(IDC_RATE4, -1); }, false},
        WriteCase{"SameFocus", IDC_START, [](QtWindow& w, PaintTest&) { w.SetFocus(IDC_START); },
                  [](QtWindow& w, PaintTest&) { w.SetFocus(IDC_START); }, false},
        WriteCase{"SameMark", IDC_SEL2, [](QtWindow& w, PaintTest&) { w.SetCheck(IDC_SEL2, true); },
                  [](QtWindow& w, PaintTest&) { w.SetCheck(IDC_SEL2, true); }, false},
        WriteCase{"SameFontHandle", IDC_CLOCK,
                  [](QtWindow& w, PaintTest& t) {
                      w.SetFont(IDC_CLOCK, t.Font(velmora::ClockFontRequest()), true);
                  },
                  [](QtWindow& w, PaintTest& t) { w.SetFont(IDC_CLOCK, t.LastFont(), true); },
                  false},
        WriteCase{"EqualFontOfAnotherHandle", IDC_DATE,
                  [](QtWindow& w, PaintTest& t) {
                      w.SetFont(IDC_DATE, t.Font(velmora::DateFontRequest()), true);
                  },
                  [](QtWindow& w, PaintTest& t) {
                      w.SetFont(IDC_DATE, t.Font(velmora::DateFontRequest()), true);
                  },
                  false},
        WriteCase{"NewText", IDC_TIME1,
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_TIME1, "inaktiv"); },
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_TIME1, "00:00:01"); }, true},
        WriteCase{"NewClockText", IDC_CLOCK, Nothing,
                  [](QtWindow& w, PaintTest&) { w.SetText(IDC_CLOCK, " 12:00:01 "); }, true},
        WriteCase{"NewSelection", IDC_RATE1,
                  [](QtWindow& w, PaintTest&) { w.SetCurSel(IDC_RATE1, 0); },
                  [](QtWindow& w, PaintTest&) { w.SetCurSel(IDC_RATE1, 4); }, true},
        WriteCase{"NewFont", IDC_CLOCK, Nothing,
                  [](QtWindow& w, PaintTest& t) {
                      w.SetFont(IDC_CLOCK, t.Font(velmora::ClockFontRequest()), true);
                  },
                  true},
        WriteCase{"NewFocus", IDC_STOP, [](QtWindow& w, PaintTest&) { w.SetFocus(IDC_START); },
                  [](QtWindow& w, PaintTest&) { w.SetFocus(IDC_STOP); }, true},
        WriteCase{"NewMark", IDC_SEL2, Nothing,
                  [](QtWindow& w, PaintTest&) { w.SetCheck(IDC_SEL2, true); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The program's own paint handler on the real backend: it settles after its first paints.
class MeterPaintTest : public ::testing::Test {
  protected:
    MeterPaintTest() { velmora::ResetMeteringState(); }
    ~MeterPaintTest() override {
        dialog.Attach(nullptr);
        velmora::ResetMeteringState();
    }

    QtBackend backend{resources::Module()};
    velmora::CMeterDlg dialog{backend};
};

TEST_F(MeterPaintTest, IdlePresentationDoesNotPaintForever) {
    std::unique_ptr<QtWindow> window = backend.Open(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));
    PaintCounter counter(window->Widget());
    ASSERT_TRUE(counter.Settle()) << "dialog paints: " << counter.Of(window->Widget());

    // The paint handler did run and left its presentation behind.
    for (int n = 1; n <= velmora::kStationCount; ++n) {
        char text[16];
        window->GetText(velmora::Controls(n).time, text, sizeof text);
        EXPECT_STREQ(text, "inaktiv");
        window->GetText(velmora::Controls(n).rate, text, sizeof text);
        EXPECT_STREQ(text, "1,00");
    }
    EXPECT_EQ(QApplication::focusWidget(), window->Control(IDC_START));
    EXPECT_TRUE(window->Control(IDC_CLOCK)->font().bold());

    // One more paint request is one more paint, and then the window is quiet again.
    counter.Reset();
    window->Widget()->update();
    ASSERT_TRUE(counter.Settle());
    EXPECT_EQ(counter.Of(window->Widget()), 1);
}

}  // namespace
}  // namespace platform::qt
