// Setting up the port from the program: a pseudo-terminal stands in for the USB device.
#include "app/settingsfile.h"
#include "devicelink/portdirectory.h"
#include "devicelink/portsetup.h"
#include "devicelink/qtserialportaccess.h"
#include "devicelink/serialerror.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal pair; the slave side is the "USB device".
class TPseudoTerminal
{
public:
    TPseudoTerminal()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~TPseudoTerminal()
    {
        if (m_master >= 0)
            close(m_master);
    }
    const QString &Slave() const { return m_slave; }

private:
    int m_master = -1;
    QString m_slave;
};

struct TSetUpCase
{
    const char *Name;
    quint16 Configured;
    // COMn links made before the dialog: to the device itself, or to another device.
    QList<quint16> LinksToDevice;
    QList<quint16> LinksElsewhere;
    bool ChooseDevice;
    bool Remember;
    quint16 Expected;
    bool NewLink;
};

void PrintTo(const TSetUpCase &c, std::ostream *os)
{
    *os << c.Name;
}

class PortSetUp : public testing::TestWithParam<TSetUpCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        ASSERT_FALSE(m_terminal.Slave().isEmpty());
        // The stable name a by-id folder would give the adapter.
        ASSERT_TRUE(QDir().mkpath(m_config.filePath("by-id")));
        m_stable = m_config.filePath("by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        ASSERT_TRUE(QFile::link(m_terminal.Slave(), m_stable));
        m_device = TSerialDevice{m_terminal.Slave(), m_stable, "FT232R USB UART", "FTDI", "A50285BI"};
    }

    QTemporaryDir m_config;
    TPseudoTerminal m_terminal;
    // Another device, which the station's other links lead to.
    TPseudoTerminal m_other;
    QString m_stable;
    TSerialDevice m_device;
    TScriptedDialogs m_dialogs;
};

TEST_P(PortSetUp, ChoosingLinksAndRemembersOnlyWhenAsked)
{
    const TSetUpCase &c = GetParam();
    for (quint16 number : c.LinksToDevice)
        ASSERT_TRUE(TPortDirectory::CreateLink(number, m_stable, false, nullptr));
    for (quint16 number : c.LinksElsewhere)
        ASSERT_TRUE(TPortDirectory::CreateLink(number, m_other.Slave(), false, nullptr));
    TSettingsFile settings(m_config.filePath("Qintar_54_Setup.ini"));
    TPortSetUp setUp(m_dialogs, [this] { return QList<TSerialDevice>{m_device}; });
    setUp.SetConfiguredNumber(c.Configured);
    setUp.SetRemember([&settings](quint16 number) { return settings.WritePortNumber(number); });

    TPortChoice choice;
    if (c.ChooseDevice)
        choice.Device = 0;
    else
        choice.Link = c.LinksElsewhere.value(0);
    choice.Remember = c.Remember;
    m_dialogs.PortChoices = {choice};
    QList<quint16> existing = c.LinksToDevice + c.LinksElsewhere;
    std::sort(existing.begin(), existing.end());

    // The serial layer opens port 0 through the set-up, as the window wires it.
    TQtSerialPortAccess port;
    port.SetPortChooser([&setUp](const QList<quint16> &ports) { return setUp.Choose(ports); });
    port.SetPortNumber(0);
    if (c.ChooseDevice) {
        port.OpenPort(true);
        EXPECT_TRUE(port.IsOpen());
    } else {
        EXPECT_EQ(setUp.Choose(existing), c.Expected);
    }
    if (c.ChooseDevice) {
        EXPECT_EQ(port.PortNumber(), c.Expected);
    }

    ASSERT_EQ(m_dialogs.PortOffers.size(), 1);
    const TPortOffer &offer = m_dialogs.PortOffers.first();
    EXPECT_EQ(offer.Devices, QList<TSerialDevice>{m_device});
    ASSERT_EQ(offer.Links.size(), existing.size());
    for (const TPortLink &link : offer.Links)
        EXPECT_EQ(link.LeadsTo, c.LinksToDevice.contains(link.Number)
                                    ? QFileInfo(m_terminal.Slave()).canonicalFilePath()
                                    : QFileInfo(m_other.Slave()).canonicalFilePath());

    const QFileInfo link(TPortDirectory::LinkPath(c.Expected));
    EXPECT_TRUE(link.isSymLink());
    // A new link goes to the stable name, so a replug under another ttyUSB name still finds it.
    if (c.NewLink) {
        EXPECT_EQ(link.symLinkTarget(), m_stable);
    }
    EXPECT_EQ(settings.LoadSettings().PortNumber,
              c.Remember ? c.Expected : TSettingsFile::kDefaultPortNumber);
    EXPECT_EQ(QFileInfo::exists(settings.Path()), c.Remember);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortSetUp,
    testing::Values(
        // name, configured, links to the device, links elsewhere, device chosen, remember, number, new link
        TSetUpCase{"LowestFreeForThisRunOnly", 0, {}, {}, true, false, 1, true},
        TSetUpCase{"ConfiguredNumberRemembered", 7, {}, {}, true, true, 7, true},
        TSetUpCase{"LowestFreeSkipsTakenNumbers", 0, {}, {1, 3}, true, false, 2, true},
        TSetUpCase{"ConfiguredNumberTakenGivesTheLowestFree", 3, {}, {1, 3}, true, true, 2, true},
        TSetUpCase{"LinkedDeviceKeepsItsLink", 0, {4}, {1}, true, false, 4, false},
        TSetUpCase{"ExistingLinkChosenAndRemembered", 0, {}, {6}, false, true, 6, false}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(PortSetUpFailures, NothingToOfferSaysWhatToDoAndCancelMakesNoLink)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TScriptedDialogs dialogs;
    QList<TSerialDevice> devices;
    TPortSetUp setUp(dialogs, [&devices] { return devices; });
    try {
        setUp.Choose({});
        ADD_FAILURE() << "nothing was offered, yet a port came back";
    } catch (const TSerialError &error) {
        EXPECT_TRUE(error.Message().contains("plug the device in")) << error.what();
    }
    EXPECT_TRUE(dialogs.PortOffers.isEmpty());

    devices = {TSerialDevice{"/dev/null", {}, {}, {}, {}}};
    EXPECT_EQ(setUp.Choose({}), std::nullopt);
    EXPECT_EQ(dialogs.PortOffers.size(), 1);
    EXPECT_FALSE(QFileInfo(TPortDirectory::LinkPath(1)).isSymLink());
}

} // namespace
