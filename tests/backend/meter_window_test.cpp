// The main window's template realised by the Qt backend on the offscreen platform, driven
// by real key and mouse events. A recording dialog sees every message the backend routes,
// without the program's own handlers getting in the way.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "metering/stations.h"
#include "platform/qt/cp1252.h"
#include "platform/qt/qt_internal.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "ui/meter_dlg.h"

namespace platform::qt {
namespace {

using velmora::Controls;
using velmora::kStationCount;

// Keeps every message the backend delivers and still lets the base class act on it.
class RecordingDialog : public Dialog {
  public:
    explicit RecordingDialog(Backend& backend) : Dialog(resources::MeterTemplate(), backend) {}

    std::vector<Message> log;

    int Count(Msg kind) const {
        int n = 0;
        for (const Message& m : log) {
            n += m.kind == kind ? 1 : 0;
        }
        return n;
    }
    int Commands(int id, int code = BN_CLICKED) const {
        int n = 0;
        for (const Message& m : log) {
            n += m.kind == Msg::Command && m.id == id && m.code == code ? 1 : 0;
        }
        return n;
    }
    int AllCommands(int code) const {
        int n = 0;
        for (const Message& m : log) {
            n += m.kind == Msg::Command && m.code == code ? 1 : 0;
        }
        return n;
    }

  protected:
    std::intptr_t WindowProc(const Message& message) override {
        log.push_back(message);
        return Dialog::WindowProc(message);
    }
};

void Drain() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

// The direct children that are controls (the system menu is a window of its own).
std::vector<QWidget*> ControlsOf(QWidget* dialog) {
    std::vector<QWidget*> out;
    for (QWidget* w : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isWindow()) {
            out.push_back(w);
        }
    }
    return out;
}

class QtMeterTest : public ::testing::Test {
  protected:
    QtMeterTest() {
        window = backend.Open(dialog);
        // qWaitForWindowActive may answer before the activation has been delivered.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == Top(); }));
    }
    ~QtMeterTest() override { dialog.Attach(nullptr); }

    QWidget* Top() const { return window->Widget(); }
    QWindow* Handle() const { return window->Widget()->windowHandle(); }
    QWidget* Ctl(int id) const { return window->Control(id); }
    QComboBox* List(int id) const { return qobject_cast<QComboBox*>(Ctl(id)); }

    // Keys take the window system's way: to the focus window (a dropped-down list's popup
    // while it is open), and from there to its focus widget.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWindow* to = QGuiApplication::focusWindow();
        QTest::keyClick(to != nullptr ? to : Handle(), key, mods);
    }
    // Clicks go through the window too, so that modality and hit testing apply.
    void Click(QWidget* w, QPoint at) {
        QTest::mouseClick(Handle(), Qt::LeftButton, Qt::NoModifier, w->mapTo(Top(), at));
    }
    // Selectors must be hit on their indicator, not in the empty right part.
    void ClickSelector(int id) { Click(Ctl(id), QPoint(8, Ctl(id)->height() / 2)); }
    std::string Text(int id) {
        char buffer[64];
        window->GetText(id, buffer, sizeof buffer);
        return buffer;
    }
    QString FocusName() const {
        QWidget* f = QApplication::focusWidget();
        return f != nullptr ? f->objectName() : QStringLiteral("<none>");
    }

    QtBackend backend{resources::Module()};
    RecordingDialog dialog{backend};
    std::unique_ptr<QtWindow> window;
};

// ---- The realised template ------------------------------------------------------------

enum class Kind { Selector, PushButton, Field, List, Label, GroupBox, Picture, Unknown };

Kind KindOf(QWidget* w) {
    if (dynamic_cast<PlainRadioButton*>(w) != nullptr) {
        return Kind::Selector;
    }
    if (qobject_cast<QPushButton*>(w) != nullptr) {
        return Kind::PushButton;
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return e->isReadOnly() ? Kind::Field : Kind::Unknown;
    }
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        return box->isEditable() ? Kind::Unknown : Kind::List;
    }
    if (qobject_cast<QGroupBox*>(w) != nullptr) {
        return Kind::GroupBox;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->pixmap().isNull() ? Kind::Label : Kind::Picture;
    }
    return Kind::Unknown;
}

// The kind of widget each style word of the template stands for.
Kind KindOfStyle(std::uint32_t style) {
    static const std::map<std::uint32_t, Kind> kinds = {
        {0x50000004, Kind::Selector},   {0x50000880, Kind::Field},
        {0x50000881, Kind::Field},      {0x50200103, Kind::List},
        {0x50010000, Kind::PushButton}, {0x50012000, Kind::PushButton},
        {0x50000007, Kind::GroupBox},   {0x50020000, Kind::Label},
        {0x5000000E, Kind::Picture},
    };
    const auto it = kinds.find(style);
    return it != kinds.end() ? it->second : Kind::Unknown;
}

QString CaptionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text().replace(u'\n', u' ');
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return e->text();
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        return g->title();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    return {};
}

TEST_F(QtMeterTest, RealisesEveryControlInTemplateOrderWithKindCaptionAndPlace) {
    const DialogTemplate& t = resources::MeterTemplate();
    const BaseUnits units = window->Units();
    EXPECT_EQ(Top()->size(),
              QSize(DluToPixels(t.rect, units).width, DluToPixels(t.rect, units).height));
    EXPECT_EQ(Top()->windowTitle(), QStringLiteral("Velmora"));
    EXPECT_TRUE(
        Top()->windowFlags().testFlags(Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint));
    EXPECT_NE(Top()->minimumSize(), Top()->maximumSize()) << "the window has a sizing frame";

    // Group boxes are lowered below the controls they frame; the rest keep template order.
    std::vector<const ControlTemplate*> groups;
    std::vector<const ControlTemplate*> expected;
    for (const ControlTemplate& c : t.controls) {
        (KindOfStyle(c.style) == Kind::GroupBox ? groups : expected).push_back(&c);
    }
    expected.insert(expected.begin(), groups.begin(), groups.end());
    const std::vector<QWidget*> children = ControlsOf(Top());
    ASSERT_EQ(children.size(), 57U);
    ASSERT_EQ(expected.size(), 57U);

    for (std::size_t i = 0; i < children.size(); ++i) {
        QWidget* w = children[i];
        if (i < groups.size()) {
            // Among themselves the group boxes may stand in either order.
            for (const ControlTemplate* g : groups) {
                if (CaptionOf(w) == FromCp1252(g->caption)) {
                    expected[i] = g;
                }
            }
        }
        const ControlTemplate& c = *expected[i];
        SCOPED_TRACE(::testing::Message() << "position " << i << ", template caption \""
                                          << c.caption << "\", id " << c.id);
        const Kind kind = KindOfStyle(c.style);
        ASSERT_NE(kind, Kind::Unknown);
        EXPECT_EQ(KindOf(w), kind);
        EXPECT_EQ(w->objectName(), QString::fromLatin1(c.symbol.data(), c.symbol.size()));
        if (c.id != kNoId) {
            EXPECT_EQ(window->Control(c.id), w);
        }
        if (kind != Kind::List && kind != Kind::Picture) {
            EXPECT_EQ(CaptionOf(w), FromCp1252(c.caption));
        }
        EXPECT_TRUE(w->isVisible());

        const PixelRect r = DluToPixels(c.rect, units);
        const QRect g = w->geometry();
        EXPECT_EQ(g.topLeft(), QPoint(r.x, r.y));
        switch (kind) {
            case Kind::List:
                // The template's height includes the dropped-down list.
                EXPECT_EQ(g.width(), r.width);
                EXPECT_GT(g.height(), 0);
                EXPECT_LT(g.height(), r.height);
                break;
            case Kind::Picture:
                EXPECT_EQ(g.size(), QSize(71, 71));
                break;
            default:
                EXPECT_EQ(g.size(), QSize(r.width, r.height));
                break;
        }
        if ((c.style & style::kButtonMultiLine) != 0) {
            // A multi-line button breaks its caption so that every line fits.
            auto* b = qobject_cast<QPushButton*>(w);
            ASSERT_NE(b, nullptr);
            EXPECT_TRUE(b->text().contains(u'\n')) << b->text().toStdString();
            for (const QString& line : b->text().split(u'\n')) {
                EXPECT_LE(b->fontMetrics().horizontalAdvance(line), b->width())
                    << line.toStdString();
            }
        }
    }
}

TEST_F(QtMeterTest, NumberedControlsCarryTheirSymbolAndAccessibleName) {
    struct Named {
        int id;
        QString symbol;
        QString accessible;
    };
    std::vector<Named> named = {
        {IDCANCEL, "IDCANCEL", "Anwendung beenden"},
        {IDC_START, "IDC_START", "Start"},
        {IDC_STOP, "IDC_STOP", "Stopp"},
        {IDC_RESET, "IDC_RESET", "Reset"},
        {IDC_TRAY, "IDC_TRAY", "Anwendung in Tray minimieren"},
        {IDC_INFO, "IDC_INFO", "Info"},
        {IDC_CLOCK, "IDC_CLOCK", "Uhrzeit"},
        {IDC_DATE, "IDC_DATE", "Datum"},
    };
    for (int n = 1; n <= kStationCount; ++n) {
        const auto& s = Controls(n);
        named.push_back({s.selector, QStringLiteral("IDC_SEL%1").arg(n),
                         QStringLiteral("Rechner %1 (\"F%1\")").arg(n)});
        named.push_back({s.time, QStringLiteral("IDC_TIME%1").arg(n),
                         QStringLiteral("Laufzeit Rechner %1").arg(n)});
        named.push_back({s.amount, QStringLiteral("IDC_AMOUNT%1").arg(n),
                         QStringLiteral("Betrag Rechner %1").arg(n)});
        named.push_back({s.rate, QStringLiteral("IDC_RATE%1").arg(n),
                         QStringLiteral("Cent pro Minute Rechner %1").arg(n)});
    }
    ASSERT_EQ(named.size(), 48U);
    for (const Named& c : named) {
        SCOPED_TRACE(c.symbol.toStdString());
        QWidget* w = Ctl(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), c.symbol);
        EXPECT_EQ(Top()->findChild<QWidget*>(c.symbol), w);
        EXPECT_EQ(w->accessibleName(), c.accessible);
        // What a screen reader is told, not only what the widget carries.
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->text(QAccessible::Name), c.accessible);
    }
}

TEST_F(QtMeterTest, ScreenReadersSeeRadioButtonsAndNamedListsThatFollowTheProgram) {
    const auto& s = Controls(3);
    QAccessibleInterface* selector = QAccessible::queryAccessibleInterface(Ctl(s.selector));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Ctl(s.rate));
    ASSERT_NE(selector, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(selector->role(), QAccessible::RadioButton);
    EXPECT_FALSE(selector->state().checked);
    window->SetCheck(s.selector, true);
    EXPECT_TRUE(selector->state().checked);

    EXPECT_EQ(list->role(), QAccessible::ComboBox);
    ASSERT_NE(list->textInterface(), nullptr);
    EXPECT_EQ(list->textInterface()->text(0, 100), QString());
    window->SetCurSel(s.rate, 1);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Cent pro Minute Rechner 3"));
    EXPECT_EQ(list->text(QAccessible::Value), QStringLiteral("1,25"));
    EXPECT_EQ(list->textInterface()->text(0, list->textInterface()->characterCount()),
              QStringLiteral("1,25"));
}

TEST_F(QtMeterTest, EveryRateListHoldsTheNineRatesAndNoneIsSelected) {
    for (int n = 1; n <= kStationCount; ++n) {
        SCOPED_TRACE(n);
        const int id = Controls(n).rate;
        QComboBox* box = List(id);
        ASSERT_NE(box, nullptr);
        const QStringList rates = {"1,00", "1,25", "1,50", "1,75", "2,00",
                                   "2,25", "2,50", "2,75", "3,00"};
        ASSERT_EQ(box->count(), rates.size());
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_EQ(box->itemText(i), rates[i]);
        }
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_EQ(Text(id), "");
    }
    // Filling the lists is the program's doing, not the operator's choice.
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);
}

TEST_F(QtMeterTest, SortedListsPlaceEveryNewEntryInOrder) {
    const struct {
        std::string_view text;
        int index;
    } cases[] = {{"2,10", 5}, {"0,75", 0}, {"9,99", 11}, {"1,10", 2}, {"3,00x", 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(window->AddString(IDC_RATE3, c.text), c.index) << c.text;
        EXPECT_EQ(List(IDC_RATE3)->itemText(c.index), FromCp1252(c.text));
    }
    QStringList shown;
    for (int i = 0; i < List(IDC_RATE3)->count(); ++i) {
        shown << List(IDC_RATE3)->itemText(i);
    }
    QStringList sorted = shown;
    sorted.sort();
    EXPECT_EQ(shown, sorted);
    EXPECT_EQ(List(IDC_RATE3)->currentIndex(), -1);
    EXPECT_EQ(window->AddString(IDC_TIME3, "1,00"), -1) << "a field is no list";
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);
}

TEST_F(QtMeterTest, ListTextIsTheSelectedEntryWithinTheLimit) {
    const struct {
        int index;
        std::size_t size;
        std::string text;
    } cases[] = {
        {0, 64, "1,00"}, {8, 64, "3,00"}, {3, 64, "1,75"}, {3, 3, "1,"},
        {3, 1, ""},      {9, 64, ""},     {-1, 64, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        window->SetCurSel(IDC_RATE5, 4);
        window->SetCurSel(IDC_RATE5, c.index);
        char buffer[64] = "xxxxxxxx";
        EXPECT_EQ(window->GetText(IDC_RATE5, buffer, c.size), c.text.size());
        EXPECT_EQ(std::string(buffer), c.text);
    }
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);
}

// ---- Keyboard interface -----------------------------------------------------------------

TEST_F(QtMeterTest, TabVisitsOnlyThePushButtonsInTemplateOrder) {
    EXPECT_EQ(FocusName(), "IDCANCEL");
    const QStringList forward = {"IDC_START", "IDC_STOP", "IDC_RESET",
                                 "IDC_TRAY",  "IDC_INFO", "IDCANCEL"};
    for (const QString& next : forward) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(FocusName(), next);
    }
    for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) {
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(FocusName(), *it);
    }
    EXPECT_EQ(dialog.AllCommands(BN_CLICKED), 0);
    // Leaving a selector by Tab goes on in the chain of push buttons.
    ClickSelector(IDC_SEL5);
    ASSERT_EQ(FocusName(), "IDC_SEL5");
    Key(Qt::Key_Tab);
    EXPECT_EQ(KindOf(QApplication::focusWidget()), Kind::PushButton) << FocusName().toStdString();
    EXPECT_EQ(dialog.AllCommands(BN_CLICKED), 1);
    EXPECT_FALSE(window->Ended());
}

TEST_F(QtMeterTest, OnlyPushButtonsAreTabStopsAndEveryOtherControlTakesFocusOnClick) {
    for (const ControlTemplate& c : resources::MeterTemplate().controls) {
        if (c.id == kNoId) {
            continue;
        }
        SCOPED_TRACE(c.symbol);
        const Qt::FocusPolicy policy = Ctl(c.id)->focusPolicy();
        EXPECT_EQ(policy,
                  KindOfStyle(c.style) == Kind::PushButton ? Qt::StrongFocus : Qt::ClickFocus);
    }
    const auto middle = [](QWidget* w) { return w->rect().center(); };
    const struct {
        int id;
        std::function<QPoint(QWidget*)> at;
    } clicks[] = {
        {IDC_SEL3, [](QWidget* w) { return QPoint(8, w->height() / 2); }},
        {IDC_TIME2, middle},
        {IDC_AMOUNT7, middle},
        {IDC_CLOCK, middle},
        {IDC_DATE, middle},
        // Where the copyright line reaches over the date field, the field takes the click.
        {IDC_DATE, [](QWidget* w) { return QPoint(3, w->height() - 3); }},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.id);
        window->SetFocus(IDC_START);
        Click(Ctl(c.id), c.at(Ctl(c.id)));
        EXPECT_EQ(QApplication::focusWidget(), Ctl(c.id));
    }
}

TEST_F(QtMeterTest, ClickOnSelectorNotifiesOnceAndLeavesTheMarkToTheProgram) {
    for (int n = 1; n <= kStationCount; ++n) {
        SCOPED_TRACE(n);
        const int id = Controls(n).selector;
        ClickSelector(id);
        EXPECT_EQ(dialog.Commands(id), 1);
        EXPECT_FALSE(window->GetCheck(id));
        EXPECT_EQ(QApplication::focusWidget(), Ctl(id));

        window->SetCheck(id, true);
        EXPECT_TRUE(window->GetCheck(id));
        // A marked plain radio button stays marked when clicked, and its siblings too.
        ClickSelector(id);
        EXPECT_EQ(dialog.Commands(id), 2);
        EXPECT_TRUE(window->GetCheck(id));
    }
    for (int n = 1; n <= kStationCount; ++n) {
        EXPECT_TRUE(window->GetCheck(Controls(n).selector)) << n;
    }
    window->SetCheck(Controls(4).selector, false);
    EXPECT_FALSE(window->GetCheck(Controls(4).selector));
    EXPECT_TRUE(window->GetCheck(Controls(5).selector));
    EXPECT_EQ(dialog.AllCommands(BN_CLICKED), 2 * kStationCount);
    EXPECT_FALSE(window->Ended());
}

TEST_F(QtMeterTest, ClickOnPushButtonNotifiesOnce) {
    for (const int id : {IDC_START, IDC_STOP, IDC_RESET, IDC_TRAY, IDC_INFO}) {
        SCOPED_TRACE(id);
        Click(Ctl(id), Ctl(id)->rect().center());
        EXPECT_EQ(dialog.Commands(id), 1);
    }
    EXPECT_FALSE(window->Ended());
    Click(Ctl(IDCANCEL), Ctl(IDCANCEL)->rect().center());
    EXPECT_EQ(dialog.Commands(IDCANCEL), 1);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Result(), IDCANCEL);
}

struct EnterCase {
    const char* name;
    int focus;
    bool byClick;   // focused the operator's way instead of by program
    int result;     // 0: the window goes on
    int clickedId;  // the push button that Enter clicks, 0 for none

    friend void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.name; }
};

class EnterKeyTest : public QtMeterTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, ClicksTheFocusedPushButtonAndOtherwiseConfirms) {
    const EnterCase& c = GetParam();
    if (c.byClick) {
        Click(Ctl(c.focus), QPoint(8, Ctl(c.focus)->height() / 2));
    } else {
        window->SetFocus(c.focus);
    }
    ASSERT_EQ(QApplication::focusWidget(), Ctl(c.focus));
    const int clicksBefore = dialog.AllCommands(BN_CLICKED);

    Key(Qt::Key_Return);

    EXPECT_EQ(window->Ended(), c.result != 0);
    if (c.result != 0) {
        EXPECT_EQ(window->Result(), c.result);
    }
    if (c.clickedId != 0) {
        EXPECT_EQ(dialog.Commands(c.clickedId), 1);
        EXPECT_EQ(dialog.Commands(IDOK), 0);
    } else {
        EXPECT_EQ(dialog.Commands(IDOK), 1);
    }
    EXPECT_EQ(dialog.AllCommands(BN_CLICKED), clicksBefore + 1);
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);
}

INSTANTIATE_TEST_SUITE_P(Focus, EnterKeyTest,
                         ::testing::Values(EnterCase{"Start", IDC_START, false, 0, IDC_START},
                                           EnterCase{"Stop", IDC_STOP, false, 0, IDC_STOP},
                                           EnterCase{"Reset", IDC_RESET, false, 0, IDC_RESET},
                                           EnterCase{"Tray", IDC_TRAY, false, 0, IDC_TRAY},
                                           EnterCase{"Info", IDC_INFO, false, 0, IDC_INFO},
                                           EnterCase{"Exit", IDCANCEL, false, IDCANCEL, IDCANCEL},
                                           EnterCase{"ClickedSelector", IDC_SEL3, true, IDOK, 0},
                                           EnterCase{"ClickedTimeField", IDC_TIME9, true, IDOK, 0},
                                           EnterCase{"ClickedAmountField", IDC_AMOUNT1, true, IDOK,
                                                     0},
                                           EnterCase{"Clock", IDC_CLOCK, false, IDOK, 0},
                                           EnterCase{"Date", IDC_DATE, false, IDOK, 0},
                                           EnterCase{"ClosedRateList", IDC_RATE6, false, IDOK, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QtMeterTest, EnterOnTheKeypadActsLikeReturn) {
    window->SetFocus(IDC_STOP);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.Commands(IDC_STOP), 1);
    window->SetFocus(IDC_SEL1);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Result(), IDOK);
}

TEST_F(QtMeterTest, EscapeCancelsFromEveryKindOfControl) {
    for (const int id : {IDCANCEL, IDC_START, IDC_INFO, IDC_SEL10, IDC_TIME4, IDC_AMOUNT10,
                         IDC_CLOCK, IDC_DATE, IDC_RATE9}) {
        SCOPED_TRACE(id);
        RecordingDialog d(backend);
        auto w = backend.Open(d);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w->Widget(); }));
        w->SetFocus(id);
        ASSERT_EQ(QApplication::focusWidget(), w->Control(id));
        QTest::keyClick(w->Widget()->windowHandle(), Qt::Key_Escape);
        EXPECT_TRUE(w->Ended());
        EXPECT_EQ(w->Result(), IDCANCEL);
        EXPECT_EQ(d.Commands(IDCANCEL), 1);
        EXPECT_EQ(d.Commands(IDOK), 0);
        d.Attach(nullptr);
    }
}

TEST_F(QtMeterTest, CloseRequestIsTheCloseSystemCommandAndCancels) {
    const std::function<void(QWidget*)> ways[] = {
        [](QWidget* w) { w->close(); },
        [](QWidget* w) {
            QCloseEvent event;
            QApplication::sendEvent(w->windowHandle(), &event);
        },
    };
    for (const auto& close : ways) {
        RecordingDialog d(backend);
        auto w = backend.Open(d);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w->Widget()));
        close(w->Widget());
        ASSERT_GE(d.log.size(), 1U);
        int sysCommands = 0;
        for (const Message& m : d.log) {
            if (m.kind == Msg::SysCommand) {
                ++sysCommands;
                EXPECT_EQ(m.wParam & 0xFFF0U, SC_CLOSE);
            }
        }
        EXPECT_EQ(sysCommands, 1);
        EXPECT_EQ(d.Commands(IDCANCEL), 1);
        EXPECT_TRUE(w->Ended());
        EXPECT_EQ(w->Result(), IDCANCEL);
        d.Attach(nullptr);
    }
}

// ---- Rate lists -------------------------------------------------------------------------

TEST_F(QtMeterTest, ArrowKeysOnAFocusedListNotifyOnlyWhenTheEntryChanges) {
    const struct {
        int start;
        Qt::Key key;
        int index;
    } cases[] = {
        {-1, Qt::Key_Down, 0}, {2, Qt::Key_Down, 3}, {2, Qt::Key_Up, 1},  {8, Qt::Key_Down, 8},
        {0, Qt::Key_Up, 0},    {3, Qt::Key_Home, 0}, {3, Qt::Key_End, 8}, {0, Qt::Key_Home, 0},
    };
    const int id = Controls(7).rate;
    window->SetFocus(id);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << " key " << c.key);
        window->SetCurSel(id, c.start);
        const int before = dialog.Commands(id, CBN_SELCHANGE);
        Key(c.key);
        EXPECT_EQ(List(id)->currentIndex(), c.index);
        EXPECT_EQ(dialog.Commands(id, CBN_SELCHANGE) - before, c.start != c.index ? 1 : 0);
    }
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), dialog.Commands(id, CBN_SELCHANGE));
    EXPECT_FALSE(window->Ended());
}

TEST_F(QtMeterTest, SelectionByProgramNeverNotifies) {
    for (int n = 1; n <= kStationCount; ++n) {
        for (const int index : {0, 0, 5, 8, -1, 3}) {
            window->SetCurSel(Controls(n).rate, index);
        }
        EXPECT_EQ(List(Controls(n).rate)->currentIndex(), 3);
    }
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);
}

// Opens the list as the operator does; whether the platform shows the popup is checked.
class DroppedListTest : public QtMeterTest {
  protected:
    QComboBox* Drop(int id, int selected) {
        QComboBox* box = List(id);
        window->SetCurSel(id, selected);
        Click(box, box->rect().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return box->view()->isVisible(); }, 2000));
        return box;
    }
    bool Dropped(QComboBox* box) { return box->view()->isVisible(); }
};

TEST_F(DroppedListTest, EnterAndEscapeOnlyCloseTheDroppedList) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        SCOPED_TRACE(key);
        QComboBox* box = Drop(IDC_RATE2, 2);
        ASSERT_TRUE(Dropped(box));
        Key(key);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Dropped(box); }, 2000));
        EXPECT_FALSE(window->Ended());
        EXPECT_EQ(box->currentIndex(), 2);
        // Closed again, the list has the focus: now the dialog takes the keys.
        EXPECT_EQ(QApplication::focusWidget(), box);
    }
    EXPECT_EQ(dialog.Commands(IDOK), 0);
    EXPECT_EQ(dialog.Commands(IDCANCEL), 0);
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0);

    // A list opened and closed without a change: Enter then confirms the dialog.
    Key(Qt::Key_Return);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Result(), IDOK);
}

TEST_F(DroppedListTest, ChoosingInThePopupNotifiesOnlyAChange) {
    const struct {
        int selected;
        int chosen;
    } cases[] = {{2, 5}, {5, 5}, {-1, 0}, {0, 8}, {8, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.selected << " -> " << c.chosen);
        QComboBox* box = Drop(IDC_RATE10, c.selected);
        ASSERT_TRUE(Dropped(box));
        QAbstractItemView* view = box->view();
        const QPoint at = view->visualRect(view->model()->index(c.chosen, 0)).center();
        const int before = dialog.Commands(IDC_RATE10, CBN_SELCHANGE);
        QWidget* popup = view->window();
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          view->viewport()->mapTo(popup, at));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Dropped(box); }, 2000));
        EXPECT_EQ(box->currentIndex(), c.chosen);
        EXPECT_EQ(dialog.Commands(IDC_RATE10, CBN_SELCHANGE) - before,
                  c.selected != c.chosen ? 1 : 0);
    }
    EXPECT_FALSE(window->Ended());
}

TEST_F(DroppedListTest, KeyboardChoiceInThePopupNotifiesOnce) {
    QComboBox* box = Drop(IDC_RATE1, 4);
    ASSERT_TRUE(Dropped(box));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(dialog.AllCommands(CBN_SELCHANGE), 0) << "moving in the open list is no choice";
    Key(Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Dropped(box); }, 2000));
    EXPECT_EQ(box->currentIndex(), 6);
    EXPECT_EQ(dialog.Commands(IDC_RATE1, CBN_SELCHANGE), 1);
    EXPECT_FALSE(window->Ended());
}

// ---- Read-only fields -------------------------------------------------------------------

TEST_F(QtMeterTest, FieldsRefuseTypingButTheirTextCanBeCopied) {
    const struct {
        int id;
        std::string_view text;  // Windows-1252
        QString unicode;
    } cases[] = {
        {IDC_TIME1, "00:01:02", QStringLiteral("00:01:02")},
        {IDC_AMOUNT4, "0.76 \x80", QStringLiteral("0.76 \u20ac")},
        {IDC_CLOCK, "12:34:56", QStringLiteral("12:34:56")},
        {IDC_DATE, "Donnerstag, 3. M\xE4rz", QStringLiteral("Donnerstag, 3. M\u00e4rz")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        window->SetText(c.id, c.text);
        Click(Ctl(c.id), Ctl(c.id)->rect().center());
        ASSERT_EQ(QApplication::focusWidget(), Ctl(c.id));

        QApplication::clipboard()->setText(QStringLiteral("zz"));
        QTest::keyClicks(Ctl(c.id), QStringLiteral("9a"));
        for (const Qt::Key k : {Qt::Key_Backspace, Qt::Key_Delete}) {
            Key(k);
        }
        Key(Qt::Key_V, Qt::ControlModifier);
        Key(Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(Text(c.id), c.text);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("zz"));

        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), c.unicode);
        EXPECT_EQ(Text(c.id), c.text);
    }
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(dialog.Count(Msg::Command), 0);
}

TEST_F(QtMeterTest, FieldTextStaysVisibleWhereOtherControlsOverlapTheField) {
    // The widest texts the fields show, in the fonts the program gives them.
    const FontHandle clockFont = backend.CreateFont(velmora::ClockFontRequest());
    const FontHandle dateFont = backend.CreateFont(velmora::DateFontRequest());
    window->SetFont(IDC_CLOCK, clockFont, true);
    window->SetFont(IDC_DATE, dateFont, true);
    std::vector<std::pair<int, std::string_view>> fields = {
        {IDC_CLOCK, " 20:08:08 "},
        {IDC_DATE, "Donnerstag, 31.12.2026"},
    };
    for (int n = 1; n <= kStationCount; ++n) {
        fields.emplace_back(Controls(n).time, "00:00:00");
        fields.emplace_back(Controls(n).amount, "888.88 \x80");
    }
    for (const auto& [id, text] : fields) {
        window->SetText(id, text);
    }
    Drain();

    const QImage whole = Top()->grab().toImage();
    for (const auto& [id, text] : fields) {
        QWidget* field = Ctl(id);
        const QImage alone = field->grab().toImage();
        int inked = 0;
        int hidden = 0;
        for (int y = 0; y < alone.height(); ++y) {
            for (int x = 0; x < alone.width(); ++x) {
                if (qGray(alone.pixel(x, y)) < 96) {
                    ++inked;
                    const QPoint at = field->geometry().topLeft() + QPoint(x, y);
                    hidden += qGray(whole.pixel(at)) < 96 ? 0 : 1;
                }
            }
        }
        EXPECT_GT(inked, 0) << field->objectName().toStdString();
        EXPECT_EQ(hidden, 0) << field->objectName().toStdString() << " shows \"" << text
                             << "\" only in part";
    }
    // The fields keep copies of the fonts.
    backend.DeleteFont(clockFont);
    backend.DeleteFont(dateFont);
}

// ---- Geometry under resizing ------------------------------------------------------------

TEST_F(QtMeterTest, ResizingAndMaximisingLeaveEveryControlInPlace) {
    std::vector<std::pair<QWidget*, QRect>> before;
    for (QWidget* w : ControlsOf(Top())) {
        before.emplace_back(w, w->geometry());
    }
    const QSize normal = Top()->size();
    const std::function<void()> changes[] = {
        [&] { Top()->resize(normal + QSize(180, 120)); },
        [&] { Top()->resize(normal / 2); },
        [&] { Top()->resize(normal); },
        [&] { window->Show(ShowCommand::Maximize); },
        [&] { window->Show(ShowCommand::Restore); },
    };
    int step = 0;
    for (const auto& change : changes) {
        SCOPED_TRACE(step++);
        change();
        Drain();
        for (const auto& [w, g] : before) {
            EXPECT_EQ(w->geometry(), g) << w->objectName().toStdString();
        }
    }
    EXPECT_FALSE(window->Ended());
}

TEST_F(QtMeterTest, MaximiseReallyChangesTheWindow) {
    const QSize normal = Top()->size();
    window->Show(ShowCommand::Maximize);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Top()->isMaximized(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Top()->size() != normal; }, 2000))
        << "offscreen screen " << Top()->screen()->geometry().width();
}

// Hiding into the tray and showing again: the window comes back where and as it was.
TEST_F(QtMeterTest, HiddenWindowComesBackWhereAndAsItWas) {
    struct Case {
        const char* name;
        bool maximised;
    };
    for (const Case& c : {Case{"normal, moved", false}, Case{"maximised", true}}) {
        SCOPED_TRACE(c.name);
        window->Show(ShowCommand::Restore);
        Top()->move(140, 90);
        Top()->resize(Top()->size() + QSize(30, 20));
        if (c.maximised) {
            window->Show(ShowCommand::Maximize);
            ASSERT_TRUE(QTest::qWaitFor([&] { return Top()->isMaximized(); }, 2000));
        }
        Drain();
        const QRect before = Top()->geometry();

        window->Show(ShowCommand::Hide);
        Drain();
        EXPECT_FALSE(Top()->isVisible());
        window->Show(ShowCommand::Show);
        Drain();

        EXPECT_TRUE(Top()->isVisible());
        EXPECT_EQ(Top()->isMaximized(), c.maximised);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Top()->geometry() == before; }, 2000))
            << "before " << before.x() << "," << before.y() << " " << before.width() << "x"
            << before.height() << ", after " << Top()->geometry().x() << ","
            << Top()->geometry().y() << " " << Top()->width() << "x" << Top()->height();
    }
}

// The window's own system menu: by keyboard from any control, by a right click on the
// background; each entry is a system command.
TEST_F(QtMeterTest, SystemMenuOpensByKeyboardAndMouseAndSendsSystemCommands) {
    auto* menu = Top()->findChild<QMenu*>(QStringLiteral("systemMenu"));
    ASSERT_NE(menu, nullptr);
    const auto closeMenu = [&] {
        menu->hide();
        // Offscreen gives the focus back to no one by itself.
        Top()->activateWindow();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == Handle(); }, 2000));
    };
    struct Opening {
        const char* how;
        std::function<void()> open;
    };
    const Opening openings[] = {
        {"menu key on a push button",
         [&] {
             Ctl(IDC_START)->setFocus();
             Key(Qt::Key_Menu);
         }},
        {"Alt+Space on a rate list",
         [&] {
             Ctl(IDC_RATE2)->setFocus();
             Key(Qt::Key_Space, Qt::AltModifier);
         }},
        // A right click reaches the window as a context-menu request.
        {"right click on the background",
         [&] {
             QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                                     Top()->mapToGlobal(QPoint(4, 4)));
             QApplication::sendEvent(Top(), &event);
         }},
    };
    for (const Opening& o : openings) {
        SCOPED_TRACE(o.how);
        o.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        closeMenu();
    }

    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) {
            texts << a->text();
        }
    }
    EXPECT_EQ(texts, (QStringList{"Wiederherstellen", "Minimieren", "Maximieren",
                                  QStringLiteral("Schlie\u00dfen\tAlt+F4")}));

    window->AppendSystemMenu(0, {});
    window->AppendSystemMenu(0x10,
                             "&Info \xFC"
                             "ber Orbanet...");
    QAction* info = menu->actions().back();
    EXPECT_EQ(info->text(), QStringLiteral("&Info \u00fcber Orbanet..."));
    dialog.log.clear();
    info->trigger();
    ASSERT_EQ(dialog.Count(Msg::SysCommand), 1);
    EXPECT_EQ(dialog.log.front().wParam, 0x10U);
    EXPECT_FALSE(window->Ended());
}

// ---- Help request and key state ---------------------------------------------------------

TEST_F(QtMeterTest, F1InTheActiveWindowIsOneHelpRequest) {
    for (const int focus : {IDCANCEL, IDC_SEL2, IDC_RATE3, IDC_TIME5}) {
        SCOPED_TRACE(focus);
        window->SetFocus(focus);
        const int before = dialog.Count(Msg::Help);
        Key(Qt::Key_F1);
        EXPECT_EQ(dialog.Count(Msg::Help) - before, 1);
    }
    EXPECT_EQ(dialog.Count(Msg::Command), 0);
    EXPECT_FALSE(window->Ended());
}

TEST_F(QtMeterTest, F1IsNoHelpRequestWhileAnotherWindowIsActive) {
    QWidget other;
    other.setObjectName(QStringLiteral("otherWindow"));
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
    ASSERT_NE(QApplication::activeWindow(), Top());

    // Delivered to our window all the same, it is no help request.
    QTest::keyClick(Handle(), Qt::Key_F1);
    EXPECT_EQ(dialog.Count(Msg::Help), 0);

    other.hide();
    Top()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == Top(); }));
    Key(Qt::Key_F1);
    EXPECT_EQ(dialog.Count(Msg::Help), 1);
}

// Key events as the window system delivers them: to the window first.
void SendKey(QWindow* to, QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(to, &event);
}

TEST_F(QtMeterTest, WithoutX11TheKeysHeldInOurWindowsAreTheKeyState) {
    ASSERT_FALSE(backend.Keys().HasGlobalState()) << "the offscreen platform has no X display";
    EXPECT_EQ(backend.QueryKeys().down, 0);
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k + 1);
        const auto key = static_cast<Qt::Key>(Qt::Key_F1 + k);
        const int vk = VK_F1 + k;
        SendKey(Handle(), QEvent::KeyPress, key);
        EXPECT_TRUE(backend.QueryKeys().IsDown(vk));
        EXPECT_EQ(backend.QueryKeys().down, 1U << k) << "only the held key";
        // Auto-repeat sends release and press pairs while the key stays down.
        SendKey(Handle(), QEvent::KeyRelease, key, true);
        EXPECT_TRUE(backend.QueryKeys().IsDown(vk));
        SendKey(Handle(), QEvent::KeyPress, key, true);
        EXPECT_TRUE(backend.QueryKeys().IsDown(vk));
        SendKey(Handle(), QEvent::KeyRelease, key);
        EXPECT_FALSE(backend.QueryKeys().IsDown(vk));
    }
    // Two held at once, released one by one.
    SendKey(Handle(), QEvent::KeyPress, Qt::Key_F2);
    SendKey(Handle(), QEvent::KeyPress, Qt::Key_F10);
    EXPECT_TRUE(backend.QueryKeys().IsDown(VK_F2));
    EXPECT_TRUE(backend.QueryKeys().IsDown(VK_F10));
    SendKey(Handle(), QEvent::KeyRelease, Qt::Key_F2);
    EXPECT_FALSE(backend.QueryKeys().IsDown(VK_F2));
    EXPECT_TRUE(backend.QueryKeys().IsDown(VK_F10));
    // Other keys are no part of the state.
    SendKey(Handle(), QEvent::KeyPress, Qt::Key_F11);
    SendKey(Handle(), QEvent::KeyPress, Qt::Key_A);
    EXPECT_EQ(backend.QueryKeys().down, 1U << 9);
    SendKey(Handle(), QEvent::KeyRelease, Qt::Key_F10);
    EXPECT_EQ(backend.QueryKeys().down, 0);
}

TEST_F(QtMeterTest, KeysHeldWhenTheApplicationLosesTheFocusCountAsReleased) {
    SendKey(Handle(), QEvent::KeyPress, Qt::Key_F4);
    ASSERT_TRUE(backend.QueryKeys().IsDown(VK_F1 + 3));
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(backend.QueryKeys().IsDown(VK_F1 + 3));
}

}  // namespace
}  // namespace platform::qt
