#pragma once

// A flat list header: no raised edges, thin etched dividers and a small etched arrow on the
// column the list is sorted by. A title with line breaks makes the header as many lines tall.

#include <QFont>
#include <QHeaderView>

namespace korvana {

class CCJFlatHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CCJFlatHeaderCtrl(QWidget* parent = nullptr);

    // Takes the application's message font, in bold when asked.
    void InitializeHeader(bool boldFont);

    // Shows the arrow on a column (-1: none) pointing up for ascending. Returns the column that
    // showed it before.
    int SetSortImage(int column, bool ascending);

    int GetSortColumn() const { return m_nSortCol; }
    bool IsSortAscending() const { return m_bSortAsc; }

    // Text margin on each side of a title, and the unit of the arrow's geometry.
    static constexpr int m_nOffset = 6;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawFlatBorder(QPainter& painter) const;
    void DrawSortArrow(QPainter& painter, const QRect& rect) const;

    int m_nSortCol = -1;
    bool m_bSortAsc = true;
    bool m_bBoldFont = false;
    QFont m_font;
    int m_nPressedSection = -1;
};

}  // namespace korvana
