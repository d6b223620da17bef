#pragma once

// A progress bar that shows its percentage in the middle of a flat bar: dark text over the empty
// part, light text over the done part, changing colour exactly where the bar ends.

#include <QColor>
#include <QProgressBar>
#include <QString>

namespace korvana {

class CXProgressCtrl : public QProgressBar {
    Q_OBJECT

public:
    explicit CXProgressCtrl(QWidget* parent = nullptr);

    // The text drawn on the bar: the percentage as "%d%% ".
    QString BarText() const;
    // The done share, 0 to 1; 0 when both limits are equal.
    double Fraction() const;

    QColor m_crBar{128, 128, 255};
    QColor m_crBack{235, 235, 235};
    QColor m_crText{0, 0, 0};
    QColor m_crTextOnBar{255, 255, 255};

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvana
