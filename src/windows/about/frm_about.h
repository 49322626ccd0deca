#pragma once

#include <QDialog>

class Dialogs;
class HostSystem;
class QLabel;
class QPushButton;

// The About box: the program's title, version, picture, description and
// disclaimer, with OK and a button that starts a system information tool.
// A fixed modal dialog, centred on its owner.
class frm_about : public QDialog
{
    Q_OBJECT

public:
    frm_about(HostSystem &host, Dialogs &dialogs, QWidget *owner);

    // Reads the value `SubKeyRef` of the key `KeyName` under the root key
    // `KeyRoot` into `KeyVal`. False, with `KeyVal` emptied, when the key or the
    // value cannot be read (data longer than the buffer counts as unreadable).
    // A value of a type other than text or 32-bit number counts as found but
    // leaves `KeyVal` as the caller passed it.
    bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    // Starts the system information tool the registry names, or one of the
    // desktop's own; when there is none, or it does not start, says so.
    void StartSysInfo();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *addLabel(const char *name, const QRect &units);

    HostSystem &m_host;
    Dialogs &m_dialogs;
};
