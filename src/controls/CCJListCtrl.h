#pragma once

// The report list that every list of the window derives from: top-level rows only, columns built
// from string ids and fitted to the list's width, a flat header whose arrow shows the sort, and
// header clicks that sort through the overridable SortList.

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QTreeWidget>
#include <QVariant>
#include <span>
#include <vector>

namespace korvana {

class CCJFlatHeaderCtrl;

class CCJListCtrl : public QTreeWidget {
    Q_OBJECT

public:
    explicit CCJListCtrl(QWidget* parent = nullptr);

    // Columns ---------------------------------------------------------------------------------
    // One left-aligned column per width, titled by the string with the matching id (or by the
    // matching text). False when the two lists differ in length.
    bool BuildColumns(std::span<const int> widths, std::span<const int> stringIds);
    bool BuildColumns(std::span<const int> widths, const QStringList& titles);
    // Appends a column and returns its index. Width -1 takes the width of the last column.
    int AddColumn(const QString& text, int width = -1, Qt::Alignment format = Qt::AlignLeft);
    int GetColumnCount() const;
    // Marks a column whose texts must show whole (a date, a size): when the list is narrower
    // than its columns' widths, it keeps room for widestText and the other columns give way.
    void KeepColumnWhole(int column, const QString& widestText);

    // Puts the flat header in place of the plain one, keeping the column widths.
    virtual bool SubclassHeader(bool boldFont = false);
    CCJFlatHeaderCtrl* GetFlatHeader() const { return m_pHeaderCtrl; }

    // Sorts the rows by a column. The base keeps the rows as they are (the header arrow still
    // moves); lists that sort override it.
    virtual bool SortList(int column, bool ascending);

    // Rows ------------------------------------------------------------------------------------
    // Appends a row with one text per column and an icon in the first column. Returns the row's
    // index.
    int AddRow(const QStringList& texts, const QIcon& icon = {});
    int GetItemCount() const { return topLevelItemCount(); }
    QString GetItemText(int row, int column) const;
    // A value of the owner's choosing kept with each row.
    QVariant GetItemData(int row) const;
    bool SetItemData(int row, const QVariant& data);
    // Indexes of the selected rows in ascending order.
    QList<int> GetSelectedRows() const;
    bool SetRowSelected(int row, bool selected);
    void DeleteAllItems() { clear(); }
    // The row under a point of the viewport, or -1.
    int RowAt(const QPoint& point) const;

    // Lets the user edit a row's first column in place (F2, or a click on a selected row). The
    // list never keeps the typed text itself: it reports it through labelEdited.
    void EnableLabelEditing(bool enable);

    // Header click: sorts by the column, ascending on a new column, reversed on the same one.
    void OnHeaderItemClick(int column);
    // Sorts by a column in a direction and shows the arrow there, as a header click would.
    void SetSort(int column, bool ascending);

    // The current sort; it survives refills, which apply it again.
    int m_nSortColumn = 0;
    bool m_bAscending = true;

signals:
    void labelEdited(int row, const QString& text);
    // The user chose another sort with a header click.
    void sortChosen(int column, bool ascending);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    CCJFlatHeaderCtrl* m_pHeaderCtrl = nullptr;
    bool m_bLabelEditing = false;
    // The last press hit the one selected row: only then may a second click rename it.
    bool m_bPressOnLoneSelection = false;

private:
    void SetUpHeader(QHeaderView* header);
    QTreeWidgetItem* ItemAt(int row) const;
    Qt::ItemFlags RowFlags() const;

    // Fits the columns into the list's width: the widths given when they were added where they
    // fit, else whole columns keep their room and the others share the rest by those widths. The
    // last column takes what is left.
    void FitColumns();

    std::vector<Qt::Alignment> m_columnFormats;
    std::vector<int> m_columnWidths;    // as added
    std::vector<QString> m_wholeTexts;  // per column; empty for a column that may shrink
};

}  // namespace korvana
