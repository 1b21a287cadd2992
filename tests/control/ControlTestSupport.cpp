#include "control/ControlTestSupport.h"

#include "store/RouteStore.h"
#include "store/RoutesWriter.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace molvik::test {

namespace {

std::shared_ptr<SwitchableFileSystem> makeDisk()
{
    return std::make_shared<SwitchableFileSystem>();
}

} // namespace

ControlFixture::ControlFixture(const QByteArray &routes, bool writeFile) : FormsFixture(makeDisk())
{
    disk = std::const_pointer_cast<SwitchableFileSystem>(
        std::static_pointer_cast<const SwitchableFileSystem>(s.store->environment().fileSystem));
    if (writeFile)
        s.write(QStringLiteral("Routes.xml"), routes);
    m_control = std::make_unique<Molvik4>(*context);
    QObject::connect(m_control.get(), &Molvik4::operationFailed,
                     [this](const QString &path, const QString &cause) { failures << path + u'|' + cause; });
}

QStringList ControlFixture::nodes() const
{
    QStringList out;
    QTreeWidget *tree = m_control->Tree;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *n = tree->topLevelItem(i);
        out << QStringLiteral("%1|%2|%3").arg(Molvik4::keyOf(n), n->text(0)).arg(Molvik4::imageOf(n));
    }
    return out;
}

void ControlFixture::press(int index)
{
    QPushButton *button = m_control->Command1[index];
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QByteArray routesOf(const QStringList &names)
{
    NativeStore scratch;
    RouteStore &st = *scratch.store;
    for (int i = 0; i < names.size(); ++i) {
        st.routes[std::size_t(i + 1)].RouteDef = names[i];
        st.routes[std::size_t(i + 1)].DirTransfer = Yes;
        st.routes[std::size_t(i + 1)].RemoteDirectory = QStringLiteral("/srv/") + names[i];
        // Ports as the reader leaves them, so a file read and written again is unchanged.
        st.routes[std::size_t(i + 1)].FTPport = 21;
        st.routes[std::size_t(i + 1)].PrxyPort = 21;
        st.routes[std::size_t(i + 1)].mailPOPService = 110;
        st.routes[std::size_t(i + 1)].mailSMTPService = 25;
    }
    st.routeCount = int(names.size());
    return RoutesWriter::serialize(st);
}

} // namespace molvik::test
