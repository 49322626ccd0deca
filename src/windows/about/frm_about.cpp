#include "windows/about/frm_about.h"

#include "toolkit/application_info.h"
#include "toolkit/design_font.h"
#include "toolkit/dialogs.h"
#include "toolkit/layout_units.h"
#include "toolkit/plain_label.h"
#include "windows/about/host_system.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>

using LayoutUnits::toPixels;

namespace {

// Where Windows keeps the system information tool: first the tool's own path,
// then the folder of the shared tools that holds it.
const QString toolPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString toolPathValue = QStringLiteral("PATH");
const QString toolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString toolFolderValue = QStringLiteral("MSINFO");
const QString toolFileName = QStringLiteral("\\MSINFO32.EXE");

constexpr int valueBufferSize = 1024;

// A 32-bit number as it lies in the registry, least significant byte first.
QString numberText(const QByteArray &data)
{
    quint32 value = 0;
    for (qsizetype i = qMin<qsizetype>(data.size(), 4) - 1; i >= 0; --i)
        value = (value << 8) | quint8(data.at(i));
    return QString::number(value);
}

} // namespace

frm_about::frm_about(HostSystem &host, Dialogs &dialogs, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                         | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint),
      m_host(host),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frm_about"));
    setFixedSize(toPixels(6360), toPixels(3615));
    setFont(designFont(8.25)); // the dialog's own face, for the disclaimer and the buttons

    // The picture sits in a sunken box two pixels wider than it on every side.
    auto *Image1 = addLabel("Image1", QRect(120, 240, 2460, 2085));
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setLineWidth(2);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/about.jpg")));

    const QFont labelFont = designFont(9.75);
    auto *lblTitle = addLabel("lblTitle", QRect(2760, 240, 3525, 480));
    auto *lblVersion = addLabel("lblVersion", QRect(2760, 840, 3555, 225));
    auto *lblDescription = addLabel("lblDescription", QRect(2760, 1320, 3525, 1050));
    for (QLabel *label : {lblTitle, lblVersion, lblDescription})
        label->setFont(labelFont);
    lblDescription->setText(
        tr("Tarnwell is a simulator of deterministic finite automata. It is freeware. "
           "Questions and ideas are welcome at tarnwell@example.org."));

    auto *lblDisclaimer = addLabel("lblDisclaimer", QRect(120, 2640, 3990, 825));
    lblDisclaimer->setText(
        tr("Warning: this program is protected by no copyright law or treaty whatsoever. "
           "Copying it or passing it on, in whole or in part, is most welcome."));

    auto *cmdOK = placed(new QPushButton(tr("OK"), this), QStringLiteral("cmdOK"), QRect(4680, 2625, 1260, 345));
    cmdOK->setDefault(true); // Enter presses it; Escape closes the box as OK does
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *cmdSysInfo = placed(new QPushButton(tr("&System Info..."), this), QStringLiteral("cmdSysInfo"),
                              QRect(4680, 3075, 1245, 345));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frm_about::StartSysInfo);

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    // Load
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(tr("About ") + title);
    lblVersion->setText(tr("Version ") + shownVersion());
    lblTitle->setText(title);
}

QLabel *frm_about::addLabel(const char *name, const QRect &units)
{
    auto *label = placed(plainLabel(QString(), this), QString::fromLatin1(name), units);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

void frm_about::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);

    // Line1: an etched rule above the disclaimer, a grey line with a white one under it.
    QPainter painter(this);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.drawLine(toPixels(90), toPixels(2445), toPixels(6240), toPixels(2445));
    painter.fillRect(QRect(QPoint(toPixels(105), toPixels(2460)),
                           QPoint(toPixels(5654), toPixels(2460) + 1)),
                     Qt::white);
}

bool frm_about::GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                            QString &KeyVal)
{
    HostSystem::Key hKey = 0;
    if (!m_host.openKey(KeyRoot, KeyName, 0, HostSystem::readAccess, hKey)) {
        KeyVal.clear();
        return false;
    }

    QByteArray buffer(valueBufferSize, '\0');
    quint32 type = 0;
    quint32 size = valueBufferSize;
    if (!m_host.queryValue(hKey, SubKeyRef, type, buffer, size)) {
        KeyVal.clear();
        m_host.closeKey(hKey);
        return false;
    }

    // The data's size counts a text's terminating NUL: one NUL at the end is dropped.
    QByteArray value = buffer.left(qMin<quint32>(size, valueBufferSize));
    if (value.endsWith('\0'))
        value.chop(1);

    switch (type) {
    case HostSystem::stringType:
        KeyVal = QString::fromLocal8Bit(value);
        break;
    case HostSystem::numberType:
        KeyVal = numberText(value);
        break;
    default:
        break; // found, but not a text: the caller's text stays
    }

    m_host.closeKey(hKey);
    return true;
}

void frm_about::StartSysInfo()
{
    QString program;
    if (GetKeyValue(HostSystem::localMachine, toolPathKey, toolPathValue, program)) {
        // The registry names the tool itself: it is started without looking for it first.
    } else if (GetKeyValue(HostSystem::localMachine, toolFolderKey, toolFolderValue, program)
               && m_host.fileExists(program + toolFileName)) {
        program += toolFileName;
    } else {
        program = m_host.fallbackSystemInfoTool();
    }

    if (program.isEmpty() || !m_host.startProgram(program))
        m_dialogs.inform(tr("System Information Is Unavailable At This Time"),
                         QCoreApplication::applicationName(), Dialogs::Icon::None);
}
