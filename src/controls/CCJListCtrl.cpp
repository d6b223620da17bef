#include "CCJListCtrl.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "CCJFlatHeaderCtrl.h"
#include "LeadingNumber.h"
#include "ProfileStore.h"
#include "StringTable.h"

namespace korvana {

namespace {

constexpr int kDataRole = Qt::UserRole;

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
    m_crRowText = palette().color(QPalette::Text);
    m_crRowBack = palette().color(QPalette::Base);
    SetUpHeader(header());
}

CCJListCtrl::~CCJListCtrl() {
    if (m_bSaveColumns) {
        SaveColumnWidths();
    }
}

void CCJListCtrl::SetUpHeader(QHeaderView* header) {
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(m_bLockColumns ? QHeaderView::Fixed : QHeaderView::Interactive);
    connect(header, &QHeaderView::sectionClicked, this, &CCJListCtrl::OnHeaderItemClick);
    connect(header, &QHeaderView::sectionResized, this, &CCJListCtrl::OnSectionResized);
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
        width = column > 0 ? columnWidth(column - 1) : header()->defaultSectionSize();
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
    return column;
}

int CCJListCtrl::GetColumnCount() const {
    return header()->count();
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
    m_bAscending = ascending;
    m_nSortColumn = column;
    SortList(column, ascending);
    if (m_pHeaderCtrl != nullptr) {
        m_pHeaderCtrl->SetSortImage(column, ascending);
    }
}

void CCJListCtrl::AutoSizeColumn(int column) {
    const int first = column == -1 ? 0 : column;
    const int last = column == -1 ? GetColumnCount() - 1 : column;
    for (int c = first; c <= last && c < GetColumnCount(); ++c) {
        const int content = sizeHintForColumn(c);
        const int withTitle = std::max(content, header()->sectionSizeHint(c));
        setColumnWidth(c, std::min(std::max(withTitle, m_nMinColWidth), m_nMaxColWidth));
    }
}

void CCJListCtrl::LockColumnWidths(bool lock) {
    m_bLockColumns = lock;
    header()->setSectionResizeMode(lock ? QHeaderView::Fixed : QHeaderView::Interactive);
}

void CCJListCtrl::SetMinTrackWidth(int width) {
    m_nMinTrackWidth = width;
}

void CCJListCtrl::OnSectionResized(int column, int /*oldWidth*/, int newWidth) {
    if (newWidth >= 0 && newWidth < m_nMinTrackWidth) {
        header()->resizeSection(column, m_nMinTrackWidth);
    }
}

void CCJListCtrl::SetRowColors(const QColor& text, const QColor& back) {
    m_crRowText = text;
    m_crRowBack = back;
    m_bRowColors = true;
    viewport()->update();
}

void CCJListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (!m_bRowColors || index.row() % 2 == 0) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem odd(option);
    odd.palette.setColor(QPalette::Text, m_crRowText);
    painter->fillRect(option.rect, m_crRowBack);
    QTreeWidget::drawRow(painter, odd, index);
}

int CCJListCtrl::HitTestEx(const QPoint& point, int* column) const {
    const QModelIndex index = indexAt(point);
    if (column != nullptr) {
        *column = index.isValid() ? index.column() : -1;
    }
    return index.isValid() ? index.row() : -1;
}

bool CCJListCtrl::CopyRow(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= GetItemCount()) {
        return false;
    }
    insertTopLevelItem(std::min(to, GetItemCount()), topLevelItem(from)->clone());
    return true;
}

bool CCJListCtrl::MoveRow(int from, int to) {
    if (!CopyRow(from, to)) {
        return false;
    }
    delete takeTopLevelItem(to < from ? from + 1 : from);
    return true;
}

void CCJListCtrl::EnableColumnSave(const QString& section, const QString& entry,
                                   const QString& defaultRecord) {
    m_bSaveColumns = true;
    m_strSection = section;
    m_strEntry = entry;
    m_strDefault = defaultRecord;
    RestoreColumnWidths();
}

int CCJListCtrl::GetRegColumnWidth(int column) const {
    if (m_pProfileStore == nullptr || column < 0) {
        return 0;
    }
    const QString record =
        m_pProfileStore->GetProfileString(m_strSection, m_strEntry, m_strDefault);
    const QStringList fields = record.split(u',');
    if (column >= fields.size()) {
        return 0;
    }
    return static_cast<int>(std::clamp<std::int64_t>(LeadingInteger(fields[column]), 0, 1 << 20));
}

void CCJListCtrl::RestoreColumnWidth(int column) {
    const int width = GetRegColumnWidth(column);
    if (width > m_nMinColWidth) {
        setColumnWidth(column, width);
    } else {
        AutoSizeColumn(column);
    }
}

int CCJListCtrl::RestoreColumnWidths() {
    const int count = GetColumnCount();
    for (int column = 0; column < count; ++column) {
        RestoreColumnWidth(column);
    }
    return count;
}

void CCJListCtrl::SaveColumnWidths() {
    if (m_pProfileStore == nullptr) {
        return;
    }
    QString record;
    for (int column = 0; column < GetColumnCount(); ++column) {
        record += QString::number(columnWidth(column)) + u',';
    }
    m_pProfileStore->WriteProfileString(m_strSection, m_strEntry, record);
}

Qt::ItemFlags CCJListCtrl::RowFlags() const {
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
    if (m_bLabelEditing) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

int CCJListCtrl::InsertRow(int row, const QStringList& texts, const QIcon& icon) {
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
    const int count = GetItemCount();
    const int index = row < 0 || row > count ? count : row;
    insertTopLevelItem(index, item);
    return index;
}

int CCJListCtrl::AddRow(const QStringList& texts, const QIcon& icon) {
    return InsertRow(-1, texts, icon);
}

QTreeWidgetItem* CCJListCtrl::ItemAt(int row) const {
    return row >= 0 && row < GetItemCount() ? topLevelItem(row) : nullptr;
}

QString CCJListCtrl::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = ItemAt(row);
    return item != nullptr ? item->text(column) : QString();
}

bool CCJListCtrl::SetItemText(int row, int column, const QString& text) {
    QTreeWidgetItem* item = ItemAt(row);
    if (item == nullptr || column < 0 || column >= GetColumnCount()) {
        return false;
    }
    item->setText(column, text);
    return true;
}

bool CCJListCtrl::SetItemIcon(int row, const QIcon& icon) {
    QTreeWidgetItem* item = ItemAt(row);
    if (item == nullptr) {
        return false;
    }
    item->setIcon(0, icon);
    return true;
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

bool CCJListCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the first column is a row's label; the other columns show facts about it.
    if (index.isValid() && index.column() != 0) {
        return QTreeWidget::edit(index.siblingAtColumn(0), trigger, event);
    }
    return QTreeWidget::edit(index, trigger, event);
}

}  // namespace korvana
