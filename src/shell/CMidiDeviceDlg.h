#pragma once

// "MIDI Device": the modal dialog in which the user picks the keyboard's MIDI input and output
// port by name. Filling it lists the ports afresh (which closes any open pair). The list boxes sort
// their rows, so a row's position says nothing about the port number: the dialog always goes
// through the names.

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace korvana {

class CMidiTrans;

class CMidiDeviceDlg : public QDialog {
    Q_OBJECT

public:
    // inDevice and outDevice hold the port numbers chosen before (preselected when in range) and
    // receive the choice on OK; they and link must outlive the dialog. Without such numbers the
    // ports named inName and outName are preselected, else the one pair of ports that looks like
    // a keyboard, else the simulated keyboard.
    CMidiDeviceDlg(CMidiTrans& link, int& inDevice, int& outDevice, QWidget* parent = nullptr,
                   const QString& inName = {}, const QString& outName = {});

    // Lists the ports of the device afresh ("Refresh") and preselects the earlier choice.
    void FillLists();
    // Stores the position of the first port named as each list's selected row and closes with
    // OK. With a list lacking a selected row it says what to choose and stays open.
    void OnOK();

    // The device a port belongs to, as both its input and its output port are named: the name
    // without the address ALSA adds, the number JACK adds to a second client of the same name,
    // and the direction a2jmidid adds.
    static QString PortDeviceName(const QString& port);

    QListWidget* m_lbIn;
    QListWidget* m_lbOut;
    QPushButton* m_btnRefresh;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    // Port names in port order: position = port number.
    QStringList m_inNames;
    QStringList m_outNames;
    int* m_pnInDev;
    int* m_pnOutDev;
    // The names to preselect when the numbers give none.
    QString m_strInName;
    QString m_strOutName;

private:
    CMidiTrans& m_link;
};

}  // namespace korvana
