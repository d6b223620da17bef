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
    // receive the choice on OK; they and link must outlive the dialog.
    CMidiDeviceDlg(CMidiTrans& link, int& inDevice, int& outDevice, QWidget* parent = nullptr);

    // Lists the ports of the device afresh ("Refresh") and preselects the earlier choice.
    void FillLists();
    // Stores the position of the first port named as each list's selected row; a list without
    // a selected row keeps its number. Closes with OK.
    void OnOK();

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

private:
    CMidiTrans& m_link;
};

}  // namespace korvana
