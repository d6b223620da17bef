#include "controls/CCJListCtrl.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "controls/CCJFlatHeaderCtrl.h"
#include "controls/StringTable.h"

namespace korvana {

namespace {

constexpr int kDataRole = Qt::UserRole;
// The least a column that gives way keeps, so that its title still starts to show.
constexpr int kMinFittedWidth = 24;

// Hands a finished in-place edit to the list's owner instead of writing it into the row: the
// owner decides whether the rename happened and refills the list.
class CLabelEditDelegate : public QStyledItemDelegate {
public:
    explicit CLabelEditDelegate(CCJListCtrl* list) : QStyledItemDelegate(list), m_pList(list) {}

    void setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                      const QModelIndex& index) const override {
        if (const auto* line = qobject_cast<QLineEdit*>(editor)) {
            emit m_pList->labelEdited(index.row(), line->text());
        }
    }

private:
    CCJListCtrl* m_pList;
};

}  // namespace

CCJListCtrl::CCJListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CLabelEditDelegate(this));
    SetUpHeader(header());
}

void CCJListCtrl::SetUpHeader(QHeaderView* header) {
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    connect(header, &QHeaderView::sectionClicked, this, &CCJListCtrl::OnHeaderItemClick);
}

bool CCJListCtrl::BuildColumns(std::span<const int> widths, std::span<const int> stringIds) {
    QStringList titles;
    for (int id : stringIds) {
        titles.push_back(LoadResString(id));
    }
    return BuildColumns(widths, titles);
}

bool CCJListCtrl::BuildColumns(std::span<const int> widths, const QStringList& titles) {
    if (widths.size() != static_cast<std::size_t>(titles.size())) {
        return false;
    }
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (AddColumn(titles[static_cast<qsizetype>(i)], widths[i]) < 0) {
            return false;
        }
    }
    return true;
}

int CCJListCtrl::AddColumn(const QString& text, int width, Qt::Alignment format) {
    const int column = GetColumnCount();
    if (width == -1) {
        width = column > 0 ? m_columnWidths[static_cast<std::size_t>(column) - 1]
                           : header()->defaultSectionSize();
    }
    if (width < 0) {
        return -1;
    }
    setColumnCount(column + 1);
    headerItem()->setText(column, text);
    headerItem()->setTextAlignment(column, format | Qt::AlignVCenter);
    setColumnWidth(column, width);
    m_columnFormats.resize(static_cast<std::size_t>(column) + 1);
    m_columnFormats[static_cast<std::size_t>(column)] = format;
    m_columnWidths.resize(static_cast<std::size_t>(column) + 1);
    m_columnWidths[static_cast<std::size_t>(column)] = width;
    m_wholeTexts.resize(static_cast<std::size_t>(column) + 1);
    FitColumns();
    return column;
}

int CCJListCtrl::GetColumnCount() const {
    return header()->count();
}

void CCJListCtrl::KeepColumnWhole(int column, const QString& widestText) {
    if (column >= 0 && static_cast<std::size_t>(column) < m_wholeTexts.size()) {
        m_wholeTexts[static_cast<std::size_t>(column)] = widestText;
        FitColumns();
    }
}

void CCJListCtrl::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    FitColumns();
}

void CCJListCtrl::FitColumns() {
    const std::size_t count = m_columnWidths.size();
    if (count == 0) {
        return;
    }
    // Room for a vertical scroll bar is kept always, so one appearing never pushes the last
    // column out of sight.
    const int available = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    // A whole text needs the margins of a cell besides its own width.
    const int margins = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 12;
    std::vector<int> widths = m_columnWidths;
    int wanted = 0;
    int whole = 0;
    int flexible = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!m_wholeTexts[i].isEmpty()) {
            widths[i] =
                std::max(widths[i], fontMetrics().horizontalAdvance(m_wholeTexts[i]) + margins);
            whole += widths[i];
        } else {
            flexible += widths[i];
        }
        wanted += widths[i];
    }
    if (wanted > available && flexible > 0) {
        const int left = std::max(available - whole, 0);
        for (std::size_t i = 0; i < count; ++i) {
            if (m_wholeTexts[i].isEmpty()) {
                widths[i] = std::max(widths[i] * left / flexible, kMinFittedWidth);
            }
        }
    }
    // The last column takes what the others leave.
    int others = 0;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        others += widths[i];
    }
    widths.back() = std::max(widths.back(), available - others);
    for (std::size_t i = 0; i < count; ++i) {
        if (columnWidth(static_cast<int>(i)) != widths[i]) {
            setColumnWidth(static_cast<int>(i), widths[i]);
        }
    }
}

bool CCJListCtrl::SubclassHeader(bool boldFont) {
    if (m_pHeaderCtrl == nullptr) {
        std::vector<int> widths;
        for (int column = 0; column < GetColumnCount(); ++column) {
            widths.push_back(columnWidth(column));
        }
        m_pHeaderCtrl = new CCJFlatHeaderCtrl(this);
        setHeader(m_pHeaderCtrl);
        SetUpHeader(m_pHeaderCtrl);
        for (std::size_t column = 0; column < widths.size(); ++column) {
            setColumnWidth(static_cast<int>(column), widths[column]);
        }
    }
    m_pHeaderCtrl->InitializeHeader(boldFont);
    return true;
}

bool CCJListCtrl::SortList(int /*column*/, bool /*ascending*/) {
    return true;
}

void CCJListCtrl::OnHeaderItemClick(int column) {
    const bool ascending = column != m_nSortColumn ? true : !m_bAscending;
    SetSort(column, ascending);
    emit sortChosen(column, ascending);
}

void CCJListCtrl::SetSort(int column, bool ascending) {
    m_bAscending = ascending;
    m_nSortColumn = column;
    SortList(column, ascending);
    if (m_pHeaderCtrl != nullptr) {
        m_pHeaderCtrl->SetSortImage(column, ascending);
    }
}

Qt::ItemFlags CCJListCtrl::RowFlags() const {
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
    if (m_bLabelEditing) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

int CCJListCtrl::AddRow(const QStringList& texts, const QIcon& icon) {
    auto* item = new QTreeWidgetItem();
    item->setFlags(RowFlags());
    for (int column = 0; column < texts.size(); ++column) {
        item->setText(column, texts[column]);
        if (static_cast<std::size_t>(column) < m_columnFormats.size() &&
            m_columnFormats[static_cast<std::size_t>(column)] != Qt::AlignLeft) {
            item->setTextAlignment(
                column, m_columnFormats[static_cast<std::size_t>(column)] | Qt::AlignVCenter);
        }
    }
    if (!icon.isNull()) {
        item->setIcon(0, icon);
    }
    addTopLevelItem(item);
    return GetItemCount() - 1;
}

QTreeWidgetItem* CCJListCtrl::ItemAt(int row) const {
    return row >= 0 && row < GetItemCount() ? topLevelItem(row) : nullptr;
}

QString CCJListCtrl::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = ItemAt(row);
    return item != nullptr ? item->text(column) : QString();
}

QVariant CCJListCtrl::GetItemData(int row) const {
    const QTreeWidgetItem* item = ItemAt(row);
    return item != nullptr ? item->data(0, kDataRole) : QVariant();
}

bool CCJListCtrl::SetItemData(int row, const QVariant& data) {
    QTreeWidgetItem* item = ItemAt(row);
    if (item == nullptr) {
        return false;
    }
    item->setData(0, kDataRole, data);
    return true;
}

QList<int> CCJListCtrl::GetSelectedRows() const {
    QList<int> rows;
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (topLevelItem(row)->isSelected()) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool CCJListCtrl::SetRowSelected(int row, bool selected) {
    QTreeWidgetItem* item = ItemAt(row);
    if (item == nullptr) {
        return false;
    }
    item->setSelected(selected);
    return true;
}

int CCJListCtrl::RowAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : -1;
}

void CCJListCtrl::EnableLabelEditing(bool enable) {
    m_bLabelEditing = enable;
    setEditTriggers(enable ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                           : QAbstractItemView::NoEditTriggers);
    const Qt::ItemFlags flags = RowFlags();
    for (int row = 0; row < GetItemCount(); ++row) {
        topLevelItem(row)->setFlags(flags);
    }
}

void CCJListCtrl::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    m_bPressOnLoneSelection = index.isValid() && selectionModel()->selectedRows().size() == 1 &&
                              selectionModel()->isRowSelected(index.row(), index.parent());
    QTreeWidget::mousePressEvent(event);
}

bool CCJListCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A click on a row of a multi-selection only selects that row alone, as lists do everywhere.
    if (trigger == SelectedClicked && !m_bPressOnLoneSelection) {
        return false;
    }
    // Only the first column is a row's label; the other columns show facts about it.
    if (index.isValid() && index.column() != 0) {
        return QTreeWidget::edit(index.siblingAtColumn(0), trigger, event);
    }
    return QTreeWidget::edit(index, trigger, event);
}

}  // namespace korvana
