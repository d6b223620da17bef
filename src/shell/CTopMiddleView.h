#pragma once

// The transfer pane between the slot list and the repository: the Download button sends the
// song selected in the repository into a slot of the keyboard, converted on a private copy,
// with the progress bar stepping once per acknowledged chunk. Its Upload command (right-click
// or Ctrl+U) fetches the selected slots back into the repository folder as song images (.mix),
// which a Download sends back as they are.

#include <QStringList>
#include <QWidget>
#include <cstddef>

#include "CMidiTrans.h"

namespace korvana {

class CGdipButton;
class CXProgressCtrl;

// Base time-outs of a send and of a fetch from this pane, in milliseconds.
constexpr std::uint32_t kSendTimeout = 500;
constexpr std::uint32_t kFetchTimeout = 200;

class CTopMiddleView : public QWidget {
    Q_OBJECT

public:
    explicit CTopMiddleView(QWidget* parent = nullptr);

    // Sends the one selected repository song into the selected slot, or into an empty one
    // after asking.
    void OnSend();
    // Fetches every selected filled slot into the repository folder as a song image named after
    // the slot (made safe) with ".mix".
    void OnFetch();
    // One acknowledged chunk: the bar steps, but stays below 98 % until the keyboard confirms.
    void OnStep();

    // Sends each file into the next slot from the last one used on whose text equals mode
    // ("" for the selected slots, "Empty" for free ones), then refreshes the slot list.
    void SendToDevice(const QString& folder, const QStringList& slotTexts, const QStringList& files,
                      const QString& mode);

    // Shows the bar for a send of an image of that many bytes: 0 to size / 23 + 2.
    void StartProgress(std::size_t imageSize);

    CGdipButton* m_btnSend;
    CXProgressCtrl* m_progress;
    // The bar's position in acknowledged chunks; the bar shows it whenever the percentage
    // changes.
    int m_nPosition = 0;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CMidiTrans m_midiTrans;  // keeps the device alive as long as the view
};

}  // namespace korvana
