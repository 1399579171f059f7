#include "devicelink/portmanagerpanel.h"
#include "devicelink/selectportdialog.h"
#include "fakeclock.h"
#include "fakeserialport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Where the middle of each arrow's picture lies on the panel.
constexpr QPoint TransmitArrowMiddle{54 + 7, 21 + 9};
constexpr QPoint ReceiveArrowMiddle{55 + 7, 47 + 9};

class PortManagerPanelTest : public ::testing::Test
{
protected:
    TFakeClock clock;
    TFakeSerialPort *port = nullptr;
    std::unique_ptr<TPortManagerPanel> panel;

    void SetUp() override
    {
        auto fakePort = std::make_unique<TFakeSerialPort>();
        port = fakePort.get();
        panel = std::make_unique<TPortManagerPanel>(
            std::make_unique<TPortManagerRS232>(std::move(fakePort), std::make_unique<TFakeTimer>(clock),
                                                std::make_unique<TFakeTimer>(clock)),
            nullptr);
        // Out of sight the panel only remembers what it is to show.
        panel->show();
    }

    template <typename T> T *Child(const char *name) { return panel->findChild<T *>(QLatin1String(name)); }
    QString Setting(int row) { return Child<QTableWidget>("SettingsGrid")->item(row, 1)->text(); }
    QColor PixelAt(QPoint at) { return panel->grab().toImage().pixelColor(at); }
};

struct TPlace
{
    const char *name;
    QRect geometry;
};

void PrintTo(const TPlace &place, std::ostream *out)
{
    *out << place.name;
}

class PanelLayoutTest : public PortManagerPanelTest, public ::testing::WithParamInterface<TPlace>
{
};

TEST_P(PanelLayoutTest, ChildSitsAtItsPlace)
{
    EXPECT_EQ(panel->size(), QSize(220, 180));
    const QWidget *child = Child<QWidget>(GetParam().name);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->geometry(), GetParam().geometry);
}

INSTANTIATE_TEST_SUITE_P(
    Children, PanelLayoutTest,
    ::testing::Values(TPlace{"CommandBox", {75, 20, 110, 14}}, TPlace{"ReplyBox", {75, 47, 110, 14}},
                      TPlace{"TransmitTriesBox", {182, 20, 28, 14}},
                      TPlace{"ReceiveTriesBox", {182, 47, 28, 14}}, TPlace{"SettingsGrid", {10, 85, 105, 88}},
                      TPlace{"ErrorDetailsBox", {123, 80, 87, 14}},
                      TPlace{"TestCommandBox", {123, 120, 87, 14}}, TPlace{"SendButton", {170, 145, 40, 20}},
                      TPlace{"StatusIndicator", {123, 145, 40, 20}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortManagerPanelTest, RepaintKeepsTheArrowsInTheirLastColours)
{
    EXPECT_EQ(PixelAt(TransmitArrowMiddle), QColor(128, 128, 128));
    // The connection picture shows from the start, before any transaction.
    EXPECT_EQ(panel->DrawnConnectionPicture(), TPortManagerDisplay::TConnectionPicture::PossibleConnection);
    panel->Engine().SetCommand("BR00");
    port->Deliver("BR 000001 000002 0000030\r");
    // A full repaint forgets what was drawn and draws the colours last asked for.
    EXPECT_EQ(PixelAt(TransmitArrowMiddle), QColor(0, 255, 0));
    EXPECT_EQ(PixelAt(ReceiveArrowMiddle), QColor(0, 255, 0));
    EXPECT_EQ(panel->TransmitArrowColor(), QColor(0, 255, 0));
    EXPECT_EQ(panel->DrawnConnectionPicture(), TPortManagerDisplay::TConnectionPicture::PossibleConnection);

    panel->Engine().SetMaxReceiveAttempts(1);
    panel->Engine().SetCommand("BR00");
    clock.Advance(1000);
    EXPECT_EQ(PixelAt(ReceiveArrowMiddle), QColor(255, 0, 0));
    EXPECT_EQ(Child<QLineEdit>("ReplyBox")->text(), QString());
}

TEST_F(PortManagerPanelTest, BusyAndReadyFollowTheTransaction)
{
    auto *indicator = Child<QLabel>("StatusIndicator");
    EXPECT_EQ(indicator->text(), "Ready");
    panel->Engine().SetCommand("BR00");
    EXPECT_EQ(indicator->text(), "Busy");
    EXPECT_EQ(indicator->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(Child<QLineEdit>("CommandBox")->text(), "BR00");
    EXPECT_EQ(Child<QLineEdit>("TransmitTriesBox")->text(), "#1");
    port->Deliver("BR 000001 000002 0000030\r");
    EXPECT_EQ(indicator->text(), "Ready");
    EXPECT_EQ(indicator->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(Child<QLineEdit>("ReplyBox")->text(), "BR 000001 000002 0000030");
}

TEST_F(PortManagerPanelTest, OutOfSightItCatchesUpWhenItComesIntoView)
{
    // Where the window keeps it: below the client area.
    QWidget window;
    window.resize(240, 200);
    TPortManagerPanel *inWindow = panel.release();
    inWindow->setParent(&window);
    inWindow->move(8, 2000);
    window.show();
    auto *reply = inWindow->findChild<QLineEdit *>(QStringLiteral("ReplyBox"));
    auto *indicator = inWindow->findChild<QLabel *>(QStringLiteral("StatusIndicator"));

    inWindow->Engine().SetCommand("BR00");
    port->Deliver("BR 000001 000002 0000030\r");
    inWindow->Engine().SetCommand("BR00");
    EXPECT_EQ(reply->text(), QString()) << "an unseen box is not laid out at every poll";

    inWindow->move(8, 8);
    window.grab();
    EXPECT_EQ(reply->text(), QString());
    EXPECT_EQ(inWindow->findChild<QLineEdit *>(QStringLiteral("CommandBox"))->text(), "BR00");
    EXPECT_EQ(indicator->text(), "Busy");
    port->Deliver("BR 000004 000005 0000060\r");
    EXPECT_EQ(reply->text(), "BR 000004 000005 0000060") << "in view, at once";
    EXPECT_EQ(indicator->text(), "Ready");
}

TEST_F(PortManagerPanelTest, SettingsGridFollowsTheSetters)
{
    TPortManagerRS232 &engine = panel->Engine();
    engine.SetPortNumber(5);
    engine.SetParity(pSpace);
    engine.SetMaxReceiveAttempts(3);
    EXPECT_EQ(Setting(0), "5");
    EXPECT_EQ(Setting(2), "Space");
    EXPECT_EQ(Setting(8), "3");
    engine.SetParity(TParity(7));
    EXPECT_EQ(Setting(2), "Unknown");

    auto *grid = Child<QTableWidget>("SettingsGrid");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    EXPECT_TRUE(grid->selectedItems().isEmpty());
}

TEST_F(PortManagerPanelTest, SendButtonSendsTheTestCommandUnlessBusy)
{
    Child<QLineEdit>("TestCommandBox")->setText("BJ00");
    Child<QPushButton>("SendButton")->click();
    EXPECT_EQ(port->Written, QList<QByteArray>{"BJ00\r"});
    Child<QPushButton>("SendButton")->click();
    EXPECT_EQ(port->Written.size(), 1);
    port->Deliver("BJ\r");
    EXPECT_EQ(panel->Engine().Reply(), "BJ");
}

TEST_F(PortManagerPanelTest, SendButtonReportsAPortThatWillNotOpen)
{
    QStringList reported;
    panel->SetErrorReport([&](const QString &message) { reported.append(message); });
    port->OpenError = TSerialError(TSerialError::TKind::PortDoesNotExist, "Serial port COM1 does not exist");
    Child<QPushButton>("SendButton")->click();
    EXPECT_EQ(reported, QStringList{"Serial port COM1 does not exist"});
    EXPECT_FALSE(panel->Engine().Busy());
    // A command that could not go out is still the one in force, and the box says so.
    EXPECT_THROW(panel->Engine().SetCommand("BZ00"), TSerialError);
    EXPECT_EQ(Child<QLineEdit>("CommandBox")->text(), "BZ00");
}

TEST(SelectPortDialogTest, ListsThePortsAndReturnsTheChosenNumber)
{
    TSelectPortDialog dialog(QList<quint16>{3, 12, 50});
    EXPECT_EQ(dialog.windowTitle(), "Select Port");
    auto *list = dialog.findChild<QComboBox *>("PortList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->itemText(1), "COM12");
    EXPECT_EQ(dialog.SelectedPort(), 3);
    list->setCurrentIndex(1);
    EXPECT_EQ(dialog.SelectedPort(), 12);

    TSelectPortDialog empty(QList<quint16>{});
    EXPECT_EQ(empty.SelectedPort(), std::nullopt);
}

TEST(SelectPortDialogTest, OffersLinksWithTheirDevicesThenTheSystemsDevices)
{
    const TSerialDevice adapter{"/dev/ttyUSB0",
                                "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                                "FT232R USB UART", "FTDI", "A50285BI"};
    TSelectPortDialog dialog(TPortOffer{{TPortLink{5, "/dev/ttyACM0"}}, {adapter}});
    auto *list = dialog.findChild<QComboBox *>("PortList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "COM5 -> /dev/ttyACM0");
    EXPECT_EQ(list->itemText(1), "USB device /dev/ttyUSB0: FT232R USB UART, FTDI, A50285BI");
    EXPECT_EQ(dialog.Choice()->Link, 5);
    EXPECT_FALSE(dialog.Choice()->Remember);

    list->setCurrentIndex(1);
    dialog.findChild<QCheckBox *>("RememberBox")->setChecked(true);
    const std::optional<TPortChoice> choice = dialog.Choice();
    EXPECT_EQ(choice->Link, std::nullopt);
    EXPECT_EQ(choice->Device, 0);
    EXPECT_TRUE(choice->Remember);
    EXPECT_EQ(dialog.SelectedPort(), std::nullopt);

    // The first lines stay inside their bevel whatever the font, which keeps its designed place.
    const QRect bevel = dialog.findChild<QFrame *>("Bevel")->geometry();
    EXPECT_EQ(bevel, QRect(8, 8, 201, 42));
    for (const char *name : {"Line1", "Line2"}) {
        auto *line = dialog.findChild<QLabel *>(name);
        EXPECT_LE(line->x() + line->fontMetrics().horizontalAdvance(line->text()), bevel.right()) << name;
    }
}

} // namespace
