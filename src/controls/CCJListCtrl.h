#pragma once

// The report list that every list of the window derives from: top-level rows only, columns built
// from string ids, a flat header whose arrow shows the sort, header clicks that sort through the
// overridable SortList, auto-sizing between fixed limits and an optional record of the widths.

#include <QColor>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <QTreeWidget>
#include <QVariant>
#include <span>
#include <vector>

namespace korvana {

class CCJFlatHeaderCtrl;
class IProfileStore;

class CCJListCtrl : public QTreeWidget {
    Q_OBJECT

public:
    explicit CCJListCtrl(QWidget* parent = nullptr);
    ~CCJListCtrl() override;

    // Columns ---------------------------------------------------------------------------------
    // One left-aligned column per width, titled by the string with the matching id (or by the
    // matching text). False when the two lists differ in length.
    bool BuildColumns(std::span<const int> widths, std::span<const int> stringIds);
    bool BuildColumns(std::span<const int> widths, const QStringList& titles);
    // Appends a column and returns its index. Width -1 takes the width of the last column.
    int AddColumn(const QString& text, int width = -1, Qt::Alignment format = Qt::AlignLeft);
    int GetColumnCount() const;

    // Puts the flat header in place of the plain one, keeping the column widths.
    virtual bool SubclassHeader(bool boldFont = false);
    CCJFlatHeaderCtrl* GetFlatHeader() const { return m_pHeaderCtrl; }

    // Sorts the rows by a column. The base keeps the rows as they are (the header arrow still
    // moves); lists that sort override it.
    virtual bool SortList(int column, bool ascending);

    // Sizes a column (-1: every column) to the wider of its content and its title, kept between
    // m_nMinColWidth and m_nMaxColWidth.
    virtual void AutoSizeColumn(int column = -1);

    // Refuses dragging a divider and double-clicking it while locked.
    void LockColumnWidths(bool lock = true);
    // A column dragged narrower than this (to a width of 0 or more) is held at this width.
    void SetMinTrackWidth(int width);
    // Text and background of odd rows. Until called, odd rows look like even rows.
    void SetRowColors(const QColor& text, const QColor& back);

    // The row under a point of the viewport and, in column, the column there; -1 for both when
    // no cell is there.
    int HitTestEx(const QPoint& point, int* column) const;

    // Inserts a copy of row from at row to; MoveRow then removes the original. Both refuse equal
    // or negative indexes and a source that does not exist.
    bool CopyRow(int from, int to);
    bool MoveRow(int from, int to);

    // Column record ---------------------------------------------------------------------------
    // Where the record is kept; without a store nothing is read or written. The store must
    // outlive the list.
    void SetProfileStore(IProfileStore* store) { m_pProfileStore = store; }
    // Keeps the widths under section/entry from now on (written when the list is destroyed) and
    // applies the widths kept there.
    void EnableColumnSave(const QString& section = QStringLiteral("Settings"),
                          const QString& entry = QStringLiteral("Column Info"),
                          const QString& defaultRecord = {});
    // The recorded width of a column; 0 when the record has none.
    int GetRegColumnWidth(int column) const;
    // Applies the recorded width when it exceeds m_nMinColWidth, else auto-sizes the column.
    void RestoreColumnWidth(int column);
    int RestoreColumnWidths();
    void SaveColumnWidths();

    // Rows ------------------------------------------------------------------------------------
    // Inserts a row at row (at the end when row is negative or past the end) with one text per
    // column and an icon in the first column. Returns the row's index.
    int InsertRow(int row, const QStringList& texts, const QIcon& icon = {});
    int AddRow(const QStringList& texts, const QIcon& icon = {});
    int GetItemCount() const { return topLevelItemCount(); }
    QString GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, const QString& text);
    bool SetItemIcon(int row, const QIcon& icon);
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

    // The current sort; it survives refills, which apply it again.
    int m_nSortColumn = 0;
    bool m_bAscending = true;
    // Limits of auto-sizing, in pixels.
    int m_nMinColWidth = 50;
    int m_nMaxColWidth = 500;

signals:
    void labelEdited(int row, const QString& text);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

    CCJFlatHeaderCtrl* m_pHeaderCtrl = nullptr;
    IProfileStore* m_pProfileStore = nullptr;
    QString m_strSection;
    QString m_strEntry;
    QString m_strDefault;
    bool m_bSaveColumns = false;
    QColor m_crRowText;
    QColor m_crRowBack;
    bool m_bRowColors = false;
    bool m_bLockColumns = false;
    int m_nMinTrackWidth = 0;
    bool m_bLabelEditing = false;

private:
    void SetUpHeader(QHeaderView* header);
    void OnSectionResized(int column, int oldWidth, int newWidth);
    QTreeWidgetItem* ItemAt(int row) const;
    Qt::ItemFlags RowFlags() const;

    std::vector<Qt::Alignment> m_columnFormats;
};

}  // namespace korvana
